#include "service/device_state.h"
#include "service/hid_transport.h"
#include "service/report_protocol.h"
#include "service/win32/hid_platform_win32.h"
#include "settings/diag.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::wstring g_diag;
void Capture(const std::wstring& text) { g_diag += text; }
} // namespace

// Wine lists HID devices of its own (vendor 845E) but never the keyboard.
TEST(Win32HidSearch, AMachineWithoutTheKeyboardYieldsZero) {
    g_diag.clear();
    DiagSinkFn previous = SetDiagSink(Capture);
    Win32HidPlatform platform;
    DeviceState state;
    state.ReadEvent = platform.CreateReadEvent();
    ASSERT_NE(state.ReadEvent, kInvalidHidHandle);
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(EnumHidMouse(platform, state), 0);
    EXPECT_EQ(state.DevicePresent, 0);
    EXPECT_EQ(state.hHidHandle, kInvalidHidHandle);
    EXPECT_EQ(state.hHidHandleRead, kInvalidHidHandle);

    DeviceTransport device(platform, state);
    EXPECT_EQ(ReadCurProfile(device), 0);
    EXPECT_EQ(GetFwVersion(device), L"GetFwVersion:00.00\n");
    SetDiagSink(previous);
    CloseDevice(platform, state);
    platform.Close(state.ReadEvent);

    EXPECT_NE(g_diag.find(L"SetupDiEnumDeviceInterfaces failed.\n"), std::wstring::npos) << g_diag;
    EXPECT_EQ(g_diag.find(L"Find our hid device.Success\n"), std::wstring::npos) << g_diag;
}

TEST(Win32HidSearch, TheKeyboardIdTextNamesTheBuildsIds) {
    wchar_t expected[32];
    swprintf(expected, 32, L"VID_%04X&PID_%04X", unsigned(TREMO_VID), unsigned(TREMO_PID));
    EXPECT_EQ(KeyboardIdText(), expected);
}
