#include "service/shell/service_shell.h"

#include "service/shell/tests/fake_ports.h"
#include "settings/diag.h"
#include "settings/text_utf16.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

std::wstring g_diag;
void CaptureDiag(const std::wstring& text) { g_diag += text; }

using Lines = std::vector<std::string>;

struct ShellTest : ::testing::Test {
    FakeLog log;
    FakeDevice device{log};
    FakeStore store{log};
    FakeConfig config{log};
    FakeTray tray{log};
    FakeReader reader{log};
    FakePauses pauses{log};
    FakeProbe probe;
    ServiceShell shell{{device, store, config, tray, reader, pauses, probe}};
    DiagSinkFn previousSink = nullptr;

    void SetUp() override {
        g_diag.clear();
        previousSink = SetDiagSink(CaptureDiag);
    }
    void TearDown() override { SetDiagSink(previousSink); }

    void Start() {
        shell.DetermineSettingsFolder();
        shell.SearchAtStart();
        shell.StartReaderIfPresent();
        shell.FinishStart();
    }
    void StartPresent() {
        Start();
        log.Take();
        g_diag.clear();
    }
    void Link(int profile, const std::wstring& path) {
        SetFieldText(store.files.profiles[profile].GameFile, path);
        shell.OnConfigMessage(0, 0); // an apply loads the files into the service's block
        log.Take();
    }
};

TEST_F(ShellTest, FirstStartWithKeyboardCreatesFilesAndSendsStartCommandWithoutApply) {
    device.currentProfile = 0;
    Start();
    EXPECT_EQ(log.Take(), (Lines{"search found", "fw", "reader released", "init create", "fw", "readcur",
                                 "tray add", "save current=0 plugin=1", "cmd 02FF100100000000"}));
    EXPECT_EQ(g_diag.rfind(L"C:\\users\\u\\AppData\\Roaming\\Dravex Orsel RGB\\\n", 0), 0u);
}

TEST_F(ShellTest, StartWithoutKeyboardSearchesTenTimesAndClosesConfigurationProgram) {
    device.present = false;
    Start();
    Lines expected;
    for (int i = 0; i < 10; ++i) {
        expected.push_back("search none");
        expected.push_back("fw");
        expected.push_back("sleep 100");
    }
    for (const char* s : {"init create", "fw", "readcur", "tray remove", "quit", "save current=0 plugin=0",
                          "cmd 02FF100100000000"})
        expected.push_back(s);
    EXPECT_EQ(log.Take(), expected);
    EXPECT_FALSE(shell.DevicePresent());
    EXPECT_NE(g_diag.find(L"Hide icon and write device NULL\n"), std::wstring::npos);
}

TEST_F(ShellTest, StartFindsKeyboardOnThirdSearch) {
    device.searchResults = {false, false, true};
    Start();
    Lines lines = log.Take();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 8), (Lines{"search none", "fw", "sleep 100", "search none",
                                                              "fw", "sleep 100", "search found", "fw"}));
    EXPECT_TRUE(shell.DevicePresent());
    EXPECT_TRUE(reader.released);
}

TEST_F(ShellTest, PluggingInAfterAbsentStartShowsIconReleasesReaderAndSavesPlugIn) {
    device.present = false;
    Start();
    log.Take();
    device.present = true;
    device.currentProfile = 2;
    shell.OnDeviceArrival(L"\\\\?\\HID#VID_1209&PID_0001");
    EXPECT_EQ(log.Take(), (Lines{"search found", "reader released", "tray add", "readcur",
                                 "save current=2 plugin=1", "cmd 02FF100100000000"}));
    EXPECT_TRUE(shell.DevicePresent());
    EXPECT_NE(g_diag.find(L"DBT_DEVICEARRIVAL EnumHidMouse()\n"), std::wstring::npos);
}

TEST_F(ShellTest, UnplugHidesIconClosesConfigurationProgramAndSavesPlugInZero) {
    StartPresent();
    device.present = false;
    shell.OnDeviceRemoval(L"\\\\?\\HID#VID_1209&PID_0001");
    EXPECT_EQ(log.Take(), (Lines{"search none", "tray remove", "quit", "save current=0 plugin=0"}));
    EXPECT_FALSE(shell.DevicePresent());
}

TEST_F(ShellTest, UnrelatedDeviceArrivalRepeatsPresentBranch) {
    StartPresent();
    shell.OnDeviceArrival(L"\\\\?\\HID#VID_046D&PID_C077");
    EXPECT_EQ(log.Take(), (Lines{"search found", "tray add", "readcur", "save current=0 plugin=1",
                                 "cmd 02FF100100000000"}));
}

TEST_F(ShellTest, ConsoleConnectAndResumeSearchAgainDisconnectOnlyWrites) {
    StartPresent();
    shell.OnConsoleDisconnect();
    EXPECT_TRUE(log.Take().empty());
    shell.OnConsoleConnect();
    EXPECT_EQ(log.Take().front(), "search found");
    device.present = false;
    shell.OnResume();
    EXPECT_EQ(log.Take(), (Lines{"search none", "tray remove", "quit", "save current=0 plugin=0"}));
    EXPECT_NE(g_diag.find(L"OnWtsSessionChange WTS_CONSOLE_DISCONNECT\n"), std::wstring::npos);
    EXPECT_NE(g_diag.find(L"System resumed automatically PBT_APMRESUMEAUTOMATIC.\n"), std::wstring::npos);
}

TEST_F(ShellTest, ApplyLoadsTheFilesWritesASnapshotAndReportsCompletion) {
    StartPresent();
    store.files.CurrentProfile = 2;
    store.files.profiles[0].PollingRate = 3;
    for (uintptr_t w : {0u, 1u}) {
        shell.OnConfigMessage(w, 0);
        EXPECT_EQ(log.Take(), (Lines{"load", "apply current=2 polling0=3", "post 0,1"}));
    }
    EXPECT_NE(g_diag.find(L"apply setting to keyboard!\n"), std::wstring::npos);
}

TEST_F(ShellTest, ApplyWithoutKeyboardStillReportsCompletion) {
    device.present = false;
    Start();
    log.Take();
    shell.OnConfigMessage(0, 0);
    EXPECT_EQ(log.Take().back(), "post 0,1");
}

TEST_F(ShellTest, SelectProfileSendsCommandAndNothingElse) {
    StartPresent();
    shell.OnConfigMessage(2, 3);
    EXPECT_EQ(log.Take(), (Lines{"cmd 0103000000000000"}));
    EXPECT_EQ(shell.BlockSnapshot().CurrentProfile, 3);
    EXPECT_EQ(store.files.CurrentProfile, 0);
}

TEST(ConfigRequestTable, DecodesEachRow) {
    struct Case {
        uintptr_t w;
        intptr_t l;
        ConfigRequest::Kind kind;
        int profile;
    } cases[] = {
        {0, 0, ConfigRequest::kApply, 0},         {1, 0, ConfigRequest::kApply, 0},
        {0, 1, ConfigRequest::kIgnore, 0},        {0, 2, ConfigRequest::kIgnore, 0},
        {2, 0, ConfigRequest::kSelectProfile, 0}, {2, 3, ConfigRequest::kSelectProfile, 3},
        {2, 4, ConfigRequest::kIgnore, 0},        {2, -1, ConfigRequest::kIgnore, 0},
        {2, 0x103, ConfigRequest::kIgnore, 0},    {3, 0, ConfigRequest::kIgnore, 0},
        {20, 1, ConfigRequest::kIgnore, 0},
    };
    for (const Case& c : cases) {
        ConfigRequest r = DecodeConfigRequest(c.w, c.l);
        EXPECT_EQ(r.kind, c.kind) << c.w << "," << c.l;
        EXPECT_EQ(r.profile, c.profile) << c.w << "," << c.l;
    }
}

TEST_F(ShellTest, InputReports) {
    struct Case {
        uint8_t report[4];
        size_t transferred;
        bool configOpen;
        Lines expected;
        int profile;
        int effectOfProfile0;
    } cases[] = {
        {{0x04, 0x05, 0x03, 0x02}, 8, true, {"save current=2 plugin=1", "post 2,20"}, 2, -2},
        {{0x04, 0x05, 0x03, 0x02}, 8, false, {}, 0, -2},
        {{0x04, 0x06, 0x03, 0x02}, 8, true, {"save current=0 plugin=1", "post 2,30"}, 0, 5},
        {{0x04, 0x06, 0x03, 0x09}, 8, true, {"save current=0 plugin=1", "post 9,30"}, 0, 1},
        {{0x04, 0x05, 0x04, 0x01}, 8, true, {}, 0, -2},
        {{0x03, 0x05, 0x03, 0x01}, 8, true, {}, 0, -2},
        {{0x04, 0x05, 0x03, 0x07}, 8, true, {}, 0, -2},
        {{0x04, 0x05, 0x03, 0x01}, 0, true, {}, 0, -2},
        {{0x04, 0x05, 0x03, 0x01}, 3, true, {}, 0, -2},
    };
    StartPresent();
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.report, 4) + " n=" + std::to_string(c.transferred));
        store.files.CurrentProfile = 0;
        store.files.profiles[0].LtEffectType = -2;
        shell.OnConfigMessage(0, 0);
        log.Take();
        config.exists = c.configOpen;
        shell.OnInputReport(c.report, c.transferred);
        config.exists = true;
        EXPECT_EQ(log.Take(), c.expected);
        EXPECT_EQ(store.files.CurrentProfile, c.profile);
        EXPECT_EQ(store.files.profiles[0].LtEffectType, c.effectOfProfile0);
    }
    EXPECT_NE(g_diag.find(L"ReadThreadFun ReadBuffer[0]:0x04,ReadBuffer[1]:0x05,ReadBuffer[2]:0x03, "
                          L"ReadBuffer[3]:0x02,ReadBuffer[3]:0x02\n"),
              std::wstring::npos);
}

TEST_F(ShellTest, EffectKeyChangesTheActiveProfilesEffect) {
    StartPresent();
    store.files.CurrentProfile = 3;
    shell.OnConfigMessage(0, 0);
    log.Take();
    const uint8_t report[4] = {0x04, 0x06, 0x03, 0x01};
    shell.OnInputReport(report, 8);
    EXPECT_EQ(store.files.profiles[3].LtEffectType, 2);
}

TEST_F(ShellTest, LinkedProgramInForegroundSwitchesSavesAndTellsConfigurationProgram) {
    StartPresent();
    Link(2, L"C:\\Games\\Game.exe");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.SetForeground(40);
    shell.CheckForegroundProfiles();
    EXPECT_EQ(log.Take(), (Lines{"cmd 0102000000000000", "save current=2 plugin=1", "post 2,20"}));
    shell.CheckForegroundProfiles();
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(ShellTest, ProgramInBackgroundDoesNotSwitch) {
    StartPresent();
    Link(2, L"C:\\Games\\Game.exe");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.paths[41] = L"C:\\Windows\\notepad.exe";
    probe.SetForeground(41);
    shell.CheckForegroundProfiles();
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(ShellTest, PathDifferingOnlyInCaseMatches) {
    StartPresent();
    Link(1, L"c:\\games\\GAME.EXE");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.SetForeground(40);
    shell.CheckForegroundProfiles();
    EXPECT_EQ(log.Take().front(), "cmd 0101000000000000");
}

TEST_F(ShellTest, TwoProfilesLinkingOneProgramSwitchThroughBothEveryCheck) {
    StartPresent();
    Link(1, L"C:\\Games\\Game.exe");
    Link(3, L"C:\\Games\\Game.exe");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.SetForeground(40);
    for (int check = 0; check < 2; ++check) {
        shell.CheckForegroundProfiles();
        EXPECT_EQ(log.Take(), (Lines{"cmd 0101000000000000", "save current=1 plugin=1", "post 1,20",
                                     "cmd 0103000000000000", "save current=3 plugin=1", "post 3,20"}));
    }
    EXPECT_EQ(probe.queries, 1);
}

TEST_F(ShellTest, NoSwitchingAndNoProcessExaminedWhileKeyboardAbsent) {
    StartPresent();
    Link(2, L"C:\\Games\\Game.exe");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.SetForeground(40);
    device.present = false;
    shell.OnDeviceRemoval(L"x");
    log.Take();
    shell.CheckForegroundProfiles();
    EXPECT_TRUE(log.Take().empty());
    EXPECT_EQ(probe.windowCalls, 0);
}

TEST_F(ShellTest, ForegroundSwitchingPossibleOnlyWithALinkedInactiveProfileAndTheKeyboard) {
    StartPresent();
    EXPECT_FALSE(shell.ForegroundSwitchingPossible());
    Link(0, L"C:\\Games\\Game.exe");
    EXPECT_FALSE(shell.ForegroundSwitchingPossible()); // profile 0 is the active one
    Link(2, L"C:\\Games\\Other.exe");
    EXPECT_TRUE(shell.ForegroundSwitchingPossible());
    device.present = false;
    shell.OnDeviceRemoval(L"x");
    EXPECT_FALSE(shell.ForegroundSwitchingPossible());
}

TEST_F(ShellTest, NoLinkedProgramMeansNoProcessExamined) {
    StartPresent();
    probe.SetForeground(40);
    shell.CheckForegroundProfiles();
    EXPECT_EQ(probe.windowCalls, 0);
}

TEST_F(ShellTest, MenuCommands) {
    StartPresent();
    shell.OpenConfigurationProgram();
    EXPECT_TRUE(log.Take().empty());
    config.exists = false;
    shell.OpenConfigurationProgram();
    EXPECT_EQ(log.Take(), (Lines{"launch"}));
    config.exists = true;
    shell.OnExitCommand();
    EXPECT_EQ(log.Take(), (Lines{"tray remove", "quit"}));
}

// The reader saves while the window thread saves and loads: the files are never
// entered by both at once.
TEST_F(ShellTest, ReaderAndWindowThreadNeverUseTheFilesAtOnce) {
    StartPresent();
    Link(2, L"C:\\Games\\Game.exe");
    probe.paths[40] = L"C:\\Games\\Game.exe";
    probe.SetForeground(40);
    std::thread readerThread([this] {
        for (int i = 0; i < 300; ++i) {
            const uint8_t report[4] = {0x04, static_cast<uint8_t>(i % 2 ? 0x05 : 0x06), 0x03, 0x00};
            shell.OnInputReport(report, 8);
        }
    });
    for (int i = 0; i < 300; ++i) {
        shell.CheckForegroundProfiles();
        shell.OnConfigMessage(0, 0);
    }
    readerThread.join();
    EXPECT_FALSE(store.overlapped.load());
}

} // namespace
