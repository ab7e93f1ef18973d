#include "service/device_state.h"

#include "service/hid_transport.h"
#include "service/report_protocol.h"
#include "service/testing/fake_hid_platform.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

namespace {

struct Search {
    FakeHidPlatform platform;
    DeviceState state;
    DiagCapture diag;
    Search() { state.ReadEvent = platform.CreateReadEvent(); }
    int Run() {
        int result = EnumHidMouse(platform, state);
        EXPECT_EQ(platform.listsHeld, 0) << "the interface list is released";
        EXPECT_EQ(platform.preparsedHeld, 0) << "the preparsed data is released";
        return result;
    }
    // Handles besides the two the state holds.
    size_t StrayHandles() const {
        size_t held = (state.hHidHandle != kInvalidHidHandle) + (state.hHidHandleRead != kInvalidHidHandle);
        return platform.OpenHandleCount() - held;
    }
};

} // namespace

TEST(EnumHidMouse, FindsTheKeyboardBehindWinesOwnDevices) {
    Search s;
    s.platform.AddWineDevices();
    s.platform.AddSimKeyboard();
    ASSERT_EQ(s.Run(), 1);
    EXPECT_EQ(s.state.DevicePresent, 1);
    EXPECT_EQ(s.state.FeatureReportLength, 9);
    EXPECT_EQ(s.state.InputReportLength, kSimInputReportLength);
    EXPECT_EQ(s.platform.AccessOf(s.state.hHidHandle), HidAccess::ReadWrite);
    EXPECT_EQ(s.platform.InterfaceOf(s.state.hHidHandle)->caps.UsagePage, 0xFF01);
    EXPECT_EQ(s.platform.AccessOf(s.state.hHidHandleRead), HidAccess::ReadOverlapped);
    EXPECT_EQ(s.platform.InterfaceOf(s.state.hHidHandleRead)->caps.UsagePage, 0xFF00);
    EXPECT_EQ(s.state.strDevPathName, s.platform.interfaces[3].path);
    EXPECT_EQ(s.platform.readEventSignals, 1);
    EXPECT_EQ(s.StrayHandles(), 0u);
    EXPECT_EQ(s.diag.Count(L"Find our hid device.Success\n"), 2);
    EXPECT_TRUE(s.diag.Contains(L"PID:0002\n,VID:845e\n,VersionNumber:0100\n"));
    EXPECT_TRUE(s.diag.Contains(L"CreateFile hHidHandleRead successful\n"));
    EXPECT_TRUE(s.diag.Contains(L"CreateFile hHidHandle successful\n"));
    EXPECT_TRUE(s.diag.Contains(L"DevicePath:" + s.platform.interfaces[3].path +
                                L",nUsage:0x0001, UsagePage:0xff01,FeatureReportByteLength:0x0009,"
                                L"InputReportByteLength:0x0,OutputReportByteLength:0x41\n"));
}

TEST(EnumHidMouse, TheTransportReachesTheKeyboardThroughTheFoundHandle) {
    Search s;
    SimKeyboard keyboard;
    s.platform.keyboard = &keyboard;
    s.platform.AddSimKeyboard();
    ASSERT_EQ(s.Run(), 1);
    DeviceTransport device(s.platform, s.state);
    SendProfileCommand(device, 3);
    EXPECT_EQ(ReadCurProfile(device), 3);
    EXPECT_TRUE(keyboard.ProtocolErrors().empty());
}

TEST(EnumHidMouse, AnEmptyMachineYieldsZero) {
    Search s;
    s.platform.AddWineDevices();
    EXPECT_EQ(s.Run(), 0);
    EXPECT_EQ(s.state.DevicePresent, 0);
    EXPECT_EQ(s.state.hHidHandle, kInvalidHidHandle);
    EXPECT_EQ(s.platform.OpenHandleCount(), 0u);
    EXPECT_TRUE(s.diag.Contains(L"SetupDiEnumDeviceInterfaces failed.\n"));
    EXPECT_FALSE(s.diag.Contains(L"Find our hid device.Success\n"));
}

TEST(EnumHidMouse, SkipsAForeignDeviceWithTheSameCollections) {
    Search s;
    s.platform.AddInterface(L"other-events", 0x1234, kKeyboardProductId, 0xFF00, 0, 8);
    s.platform.AddInterface(L"other-commands", kKeyboardVendorId, 0x7777, 0xFF01, 9, 0);
    EXPECT_EQ(s.Run(), 0);
    EXPECT_EQ(s.state.hHidHandle, kInvalidHidHandle);
    EXPECT_EQ(s.state.hHidHandleRead, kInvalidHidHandle);
    EXPECT_EQ(s.platform.OpenHandleCount(), 0u);
}

TEST(EnumHidMouse, RefusesACommandCollectionWhoseFeatureLengthIsNot9) {
    Search s;
    s.platform.AddInterface(L"events", kKeyboardVendorId, kKeyboardProductId, 0xFF00, 0, 8);
    s.platform.AddInterface(L"commands", kKeyboardVendorId, kKeyboardProductId, 0xFF01, 65, 0);
    EXPECT_EQ(s.Run(), 0);
    EXPECT_EQ(s.state.DevicePresent, 0);
    EXPECT_EQ(s.state.hHidHandle, kInvalidHidHandle);
    EXPECT_TRUE(s.diag.Contains(L"SetupDiEnumDeviceInterfaces failed.\n"));
}

TEST(EnumHidMouse, TheEventCollectionListedAfterTheCommandCollectionStaysUnopened) {
    Search s;
    s.platform.AddSimKeyboard(/*commandFirst=*/true);
    ASSERT_EQ(s.Run(), 1);
    EXPECT_EQ(s.state.hHidHandleRead, kInvalidHidHandle);
    EXPECT_EQ(s.state.InputReportLength, 0);
    EXPECT_EQ(s.platform.readEventSignals, 0);
    EXPECT_EQ(s.StrayHandles(), 0u);
}

TEST(EnumHidMouse, EveryFailureEndsTheSearchWithZeroAndItsDiagnostic) {
    struct Case {
        const char* name;
        void (*arrange)(FakeHidPlatform&);
        const wchar_t* diagnostic; // nullptr: none of its own
    } cases[] = {
        {"list", [](FakeHidPlatform& p) { p.listFails = true; }, nullptr},
        {"enumeration", [](FakeHidPlatform& p) { p.enumFailsAt = 0; }, nullptr},
        {"detail", [](FakeHidPlatform& p) { p.detailFailsAt = 0; },
         L"SetupDiGetDeviceInterfaceDetail failed.\n"},
        {"probe open", [](FakeHidPlatform& p) { p.interfaces[0].openFails[0] = true; }, nullptr},
        {"preparsed", [](FakeHidPlatform& p) { p.interfaces[0].preparsedFails = true; },
         L"HidD_GetPreparsedData failed.\n"},
        {"caps", [](FakeHidPlatform& p) { p.interfaces[0].capsFails = true; }, L"HidP_GetCaps failed."},
        {"read open", [](FakeHidPlatform& p) { p.interfaces[0].openFails[1] = true; }, nullptr},
        {"command open", [](FakeHidPlatform& p) { p.interfaces[1].openFails[2] = true; }, nullptr},
    };
    for (const Case& c : cases) {
        Search s;
        s.platform.AddSimKeyboard();
        c.arrange(s.platform);
        EXPECT_EQ(s.Run(), 0) << c.name;
        EXPECT_EQ(s.state.DevicePresent, 0) << c.name;
        EXPECT_EQ(s.StrayHandles(), 0u) << c.name;
        if (c.diagnostic) {
            EXPECT_TRUE(s.diag.Contains(c.diagnostic)) << c.name;
        }
        EXPECT_FALSE(s.diag.Contains(L"CreateFile hHidHandle successful\n")) << c.name;
    }
}

TEST(EnumHidMouse, AHandleIsClosedBeforeItsVariableTakesANewOne) {
    Search s;
    s.platform.AddSimKeyboard();
    ASSERT_EQ(s.Run(), 1);
    const HidHandle command = s.state.hHidHandle;
    const HidHandle events = s.state.hHidHandleRead;
    s.platform.calls.clear();
    ASSERT_EQ(s.Run(), 1);
    EXPECT_NE(s.state.hHidHandle, command);
    EXPECT_FALSE(s.platform.IsOpen(command));
    EXPECT_FALSE(s.platform.IsOpen(events));
    EXPECT_EQ(s.platform.OpenHandleCount(), 2u);
    const std::vector<std::wstring>& calls = s.platform.calls;
    auto at = [&](const std::wstring& call) {
        return std::find(calls.begin(), calls.end(), call) - calls.begin();
    };
    EXPECT_LT(at(L"close " + std::to_wstring(events)),
              at(L"open " + s.platform.interfaces[0].path + L" read"));
    EXPECT_LT(at(L"close " + std::to_wstring(command)),
              at(L"open " + s.platform.interfaces[1].path + L" readwrite"));

    CloseDevice(s.platform, s.state);
    EXPECT_EQ(s.platform.OpenHandleCount(), 0u);
    EXPECT_EQ(s.state.hHidHandle, kInvalidHidHandle);
}

TEST(DeviceTransport, WithoutAKeyboardEveryWriteFailsAndReadsStayZero) {
    FakeHidPlatform platform;
    DeviceState state;
    DeviceTransport device(platform, state);
    uint8_t report[kOutputReportSize] = {};
    EXPECT_FALSE(device.FeatureWrite(report, kFeatureReportSize));
    EXPECT_FALSE(device.OutputWrite(report, kOutputReportSize));
    DiagCapture diag;
    EXPECT_EQ(ReadCurProfile(device), 0);
}

TEST(DeviceState, KeyboardIdTextIsThePathForm) {
    wchar_t expected[32];
    std::swprintf(expected, 32, L"VID_%04X&PID_%04X", unsigned(TREMO_VID), unsigned(TREMO_PID));
    EXPECT_EQ(DeviceState{}.strDevPidVid, expected);
}
