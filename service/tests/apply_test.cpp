#include "service/apply.h"

#include "golden.h"
#include "service/key_matrix.h"
#include "service/lighting.h"
#include "service/macro_body.h"
#include "service/testing/sim_transport.h"
#include "settings/factory_defaults.h"
#include "settings/key_tables.h"
#include "settings/settings_files.h"
#include "settings/testing/temp_settings_folder.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct Apply {
    std::unique_ptr<SettingsBlock> files = std::make_unique<SettingsBlock>(); // what LoadSettings yields
    VirtualClock clock;
    SimKeyboard keyboard{[this] { return clock.NowMs(); }};
    SimTransport device{keyboard};
    DiagCapture diag;
    int loads = 0;
    int done = 0;
    size_t reportsAtDone = 0;

    Apply() { ResetAllProfiles(*files); }
    void Run() {
        ApplyAllSettings(
            device, clock,
            [this](SettingsBlock& settings) {
                ++loads;
                EXPECT_TRUE(keyboard.Journal().empty()) << "loaded before the first report";
                settings = *files;
            },
            [this] {
                ++done;
                reportsAtDone = keyboard.Journal().size();
            });
    }
    // The keyboard holds what the settings describe.
    void ExpectKeyboardMatchesSettings() {
        const SettingsBlock& s = *files;
        const SimKeyboardState& k = keyboard.State();
        const int a = ActiveProfileIndex(s.CurrentProfile);
        EXPECT_EQ(k.pollingRate, static_cast<uint8_t>(s.profiles[a].PollingRate));
        EXPECT_EQ(k.responseTime, static_cast<uint8_t>(s.profiles[a].iResponTime));
        EXPECT_EQ(k.activeProfile, a);
        auto build = std::make_unique<KeyMatrixBuild>();
        BuildKeyMatrix(s, *build);
        for (int p = 0; p < kProfileCount; ++p)
            BuildDefinitions(s, p, *build);
        EXPECT_EQ(0, std::memcmp(k.keyMatrix, build->KeyMatrixBuffer, sizeof k.keyMatrix));
        for (int p = 0; p < kProfileCount; ++p) {
            EXPECT_EQ(0, std::memcmp(k.definitions[p], build->DefKMBuffer[p], 128)) << p;
            for (int slot = 0; slot < kMacroKeyCount; ++slot) {
                uint8_t body[kMacroBodyBytes];
                EncodeMacroKey(s, p, slot, body);
                EXPECT_EQ(0, std::memcmp(k.macroBodies[p][slot], body, 128)) << p << "." << slot;
            }
            uint8_t command[kCommandSize];
            bool valid = BuildLightEffectCommand(s.profiles[p], static_cast<uint8_t>(p), command);
            EXPECT_EQ(k.effects[p].set, valid) << p;
            if (valid) {
                EXPECT_EQ(k.effects[p].code, command[3]);
                EXPECT_EQ(k.effects[p].speed, command[4]);
                EXPECT_EQ(k.effects[p].colour, command[5]);
            }
        }
        uint8_t colours[kStageColorBytes];
        BuildStageColors(s, colours);
        EXPECT_EQ(0, std::memcmp(k.stageColors, colours, sizeof colours));
    }
};

} // namespace

TEST(ApplyAllSettings, FactoryDefaults) {
    Apply a;
    a.Run();
    EXPECT_EQ(a.loads, 1);
    EXPECT_EQ(a.done, 1);
    EXPECT_EQ(a.keyboard.Journal().size(), 103u);
    EXPECT_EQ(a.reportsAtDone, 103u) << "told when the last command has been sent";
    EXPECT_EQ(a.clock.NowMs(), 5400u);
    ExpectNoProtocolErrors(a.keyboard);
    EXPECT_TRUE(MatchesGolden("apply_factory.txt", a.keyboard));
    a.ExpectKeyboardMatchesSettings();
    EXPECT_EQ(0, std::memcmp(a.keyboard.State().keyMatrix, DefaultKeyMatrix, kKeyMatrixBytes));
}

TEST(ApplyAllSettings, CurrentProfile2ForPerformanceAndTheFinalCommand) {
    Apply a;
    a.files->CurrentProfile = 2;
    a.files->profiles[2].PollingRate = 0x104;
    a.files->profiles[2].iResponTime = 5;
    a.Run();
    const std::vector<std::string>& j = a.keyboard.Journal();
    EXPECT_EQ(j.front(), "F 0011000405000000B0 @0") << "performance first";
    EXPECT_EQ(j.back(), "F 0001020000000000A9 @5300") << "active profile last, 100 ms before the end";
    a.ExpectKeyboardMatchesSettings();
}

TEST(ApplyAllSettings, CurrentProfileOutsideTheBlockCountsAsProfile0) {
    for (int32_t current : {-1, 4, 7, -100, 0x7FFFFFFF}) {
        Apply a;
        a.files->CurrentProfile = current;
        a.files->profiles[0].PollingRate = 3;
        a.Run();
        const std::vector<std::string>& j = a.keyboard.Journal();
        EXPECT_EQ(j.front(), "F 0011000302000000BC @0") << current;
        EXPECT_EQ(j.back(), "F 0001000000000000AB @5300") << current;
        ExpectNoProtocolErrors(a.keyboard);
    }
}

TEST(ApplyAllSettings, RemapsMacrosAndLightingReachTheKeyboard) {
    Apply a;
    SettingsBlock& s = *a.files;
    s.CurrentProfile = 1;
    s.profiles[1].standardkey[44] = 0xE0;
    s.profiles[0].standardkey[44] = 0x29;
    s.profiles[3].standardkey[12] = 0x04;
    MacroKeyInfo& recorded = s.profiles[2].MacroKeyInfo[4];
    recorded.AssignType = kAssignMacro;
    recorded.RepeatCount = 2;
    recorded.EventCount = 2;
    recorded.Events[0] = {0x04, 1, 65535};
    recorded.Events[1] = {0x04, 2, 20};
    s.profiles[1].MacroKeyInfo[1].ModifierBits = 0x03;
    s.profiles[3].LtEffectType = 4;
    s.profiles[3].iLtPulsation = 3;
    s.profiles[2].LtEffectType = 0;
    a.Run();
    EXPECT_EQ(a.keyboard.Journal().size(), 102u) << "profile 2 has no effect command";
    EXPECT_EQ(a.clock.NowMs(), 5400u);
    ExpectNoProtocolErrors(a.keyboard);
    EXPECT_TRUE(MatchesGolden("apply_edited.txt", a.keyboard));
    a.ExpectKeyboardMatchesSettings();
}

TEST(ApplyAllSettings, WithoutAKeyboardEverythingFailsAndTheProgramIsStillTold) {
    Apply a;
    a.keyboard.Unplug();
    a.Run();
    EXPECT_EQ(a.done, 1);
    EXPECT_EQ(a.clock.NowMs(), 5400u);
    EXPECT_EQ(a.diag.Count(L"keymatrix HidD_SetFeature 失败\r\n"), 5);
    EXPECT_EQ(a.diag.Count(L"keymatrix WriteFile 写文件失败\r\n"), 18);
    EXPECT_EQ(a.diag.Count(L"SetTKeyMacro2KB HidD_SetFeature 失败\r\n"), 24);
    EXPECT_EQ(a.diag.Count(L"SetTKeyMacro2KB WriteFile 写文件失败\r\n"), 48);
    EXPECT_EQ(a.diag.Count(L"SetMasterRGBLED10StageColor WriteFile 写文件失败\r\n"), 1);
}

TEST(ApplyAllSettings, PausesFollowTheSequence) {
    Apply a;
    a.Run();
    // 10 matrix chunks, 4 x (2 chunks + 1), 24 x (2 chunks + 1), 1 + colours, 4 effects, final.
    EXPECT_EQ(a.clock.PauseCount(), 10 + 12 + 72 + 2 + 4 + 1);
}

namespace {
// Writes fail the test when the service's lock is held: the pauses must not block the reader.
class LockCheckingTransport : public SimTransport {
public:
    LockCheckingTransport(SimKeyboard& keyboard, std::mutex& lock) : SimTransport(keyboard), lock_(lock) {}
    bool FeatureWrite(const uint8_t* report, size_t length) override {
        Check();
        return SimTransport::FeatureWrite(report, length);
    }
    bool OutputWrite(const uint8_t* report, size_t length) override {
        Check();
        return SimTransport::OutputWrite(report, length);
    }

private:
    void Check() {
        if (lock_.try_lock())
            lock_.unlock();
        else
            ADD_FAILURE() << "lock held while writing";
    }
    std::mutex& lock_;
};
} // namespace

TEST(ApplyAllSettings, ReadsConfigIniAndTheProfileFilesUnderTheServicesLock) {
    TempSettingsFolder folder;
    DiagCapture diag;
    auto saved = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*saved);
    saved->CurrentProfile = 2;
    saved->profiles[2].PollingRate = 4;
    saved->profiles[2].iResponTime = 5;
    ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder()));
    ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder() + L"config"));
    ASSERT_EQ(SaveSettings(*saved), 1);

    auto serviceBlock = std::make_unique<SettingsBlock>();
    std::mutex lock;
    VirtualClock clock;
    SimKeyboard keyboard([&] { return clock.NowMs(); });
    LockCheckingTransport device(keyboard, lock);
    bool told = false;
    ApplyAllSettings(device, clock, LoadSettingsUnderLock(*serviceBlock, lock), [&] { told = true; });
    EXPECT_TRUE(told);
    EXPECT_EQ(serviceBlock->CurrentProfile, 2) << "the service's block keeps what was loaded";
    EXPECT_EQ(serviceBlock->profiles[2].PollingRate, 4);
    const std::vector<std::string>& j = keyboard.Journal();
    ASSERT_EQ(j.size(), 103u);
    EXPECT_EQ(j.front(), "F 0011000405000000B0 @0");
    EXPECT_EQ(j.back(), "F 0001020000000000A9 @5300");
    ExpectNoProtocolErrors(keyboard);
}
