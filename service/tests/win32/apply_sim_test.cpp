// The whole road through the platform's HID stack: the search finds the simulated
// keyboard, the apply reaches it report for report as the in-process simulated
// keyboard receives it, and a key press comes back through the overlapped read.
// Runs inside a simulation of its own (scripts/lib/sim-test).
#include "service/apply.h"
#include "service/input_report.h"
#include "service/report_protocol.h"
#include "service/testing/sim_transport.h"
#include "service/win32/hid_platform_win32.h"
#include "settings/diag.h"
#include "settings/factory_defaults.h"
#include "simkbd/sim_journal.h"
#include "simkbd/win32/control/host_client.h"
#include "simkbd/win32/sim_wire.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void Quiet(const std::wstring&) {}

struct Session : ::testing::Test {
    Win32HidPlatform platform;
    DeviceState state;
    DiagSinkFn previous = SetDiagSink(Quiet);
    void SetUp() override {
        state.ReadEvent = platform.CreateReadEvent();
        ASSERT_TRUE(WaitForHost(5000));
        ASSERT_EQ(EnumHidMouse(platform, state), 1);
    }
    void TearDown() override {
        CloseDevice(platform, state);
        platform.Close(state.ReadEvent);
        SetDiagSink(previous);
    }
    std::string Ask(uint8_t kind, const std::string& argument = {}) {
        std::string reply;
        EXPECT_EQ(AskHost(kind, argument, reply), HostReply::Ok);
        return reply;
    }
};

} // namespace

TEST_F(Session, TheApplyReachesTheKeyboardAsTheSimulationSaysAndKeysComeBack) {
    EXPECT_EQ(state.FeatureReportLength, 9);
    EXPECT_NE(state.hHidHandleRead, kInvalidHidHandle) << "the event collection is listed first";
    Ask(SimMsgClearJournal);

    auto settings = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*settings);
    settings->CurrentProfile = 1;
    settings->profiles[1].standardkey[44] = 0xE0;
    auto load = [&](SettingsBlock& s) { s = *settings; };
    VirtualClock clock;
    DeviceTransport device(platform, state);
    int told = 0;
    ApplyAllSettings(device, clock, load, [&] { ++told; });
    EXPECT_EQ(told, 1);

    SimKeyboard expectedKeyboard;
    SimTransport expectedDevice(expectedKeyboard);
    VirtualClock expectedClock;
    ApplyAllSettings(expectedDevice, expectedClock, load, {});

    std::vector<JournalEntry> expected, actual;
    std::string error;
    ASSERT_TRUE(ParseJournal(expectedKeyboard.JournalText(), expected, &error)) << error;
    ASSERT_TRUE(ParseJournal(Ask(SimMsgJournal), actual, &error)) << error;
    EXPECT_EQ(actual.size(), 103u);
    EXPECT_EQ(CompareJournals(expected, actual), "");
    EXPECT_EQ(Ask(SimMsgState).find("error"), std::string::npos);

    EXPECT_EQ(ReadCurProfile(device), 1);
    EXPECT_NE(GetFwVersion(device), L"GetFwVersion:00.00\n")
        << "the keyboard answers through the feature read";

    uint8_t buffer[64] = {};
    platform.ResetReadEvent(state.ReadEvent);
    ASSERT_TRUE(
        platform.BeginInputRead(state.hHidHandleRead, state.ReadEvent, buffer, state.InputReportLength));
    Ask(SimMsgPressProfile, "2");
    platform.WaitReadEvent(state.ReadEvent);
    size_t transferred = platform.EndInputRead(state.hHidHandleRead);
    InputEvent event = DecodeInputReport(buffer, transferred);
    EXPECT_EQ(event.kind, InputEventKind::ProfileChanged);
    EXPECT_EQ(event.value, 2);
    EXPECT_EQ(ReadCurProfile(device), 2);
}
