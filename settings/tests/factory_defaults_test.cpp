#include "settings/factory_defaults.h"
#include "settings/text_utf16.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<SettingsBlock> ZeroBlock() {
    auto block = std::make_unique<SettingsBlock>();
    std::memset(block.get(), 0, sizeof(SettingsBlock));
    return block;
}

TEST(FactoryDefaults, ProfilesDifferOnlyInNameAndEffect) {
    auto block = ZeroBlock();
    ResetAllProfiles(*block);
    EXPECT_EQ(block->CurrentProfile, 0);
    const int effects[] = {5, 2, 3, 5};
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord a = block->profiles[0];
        ProfileRecord b = block->profiles[p];
        EXPECT_EQ(FieldText(b.ProFileName), L"#" + std::to_wstring(p + 1));
        EXPECT_EQ(b.LtEffectType, effects[p]);
        std::memset(a.ProFileName, 0, sizeof a.ProFileName);
        std::memset(b.ProFileName, 0, sizeof b.ProFileName);
        a.LtEffectType = b.LtEffectType = 0;
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "profile " << p;
    }
}

TEST(FactoryDefaults, MacroSlots) {
    auto block = ZeroBlock();
    ResetAllProfiles(*block);
    const ProfileRecord& r = block->profiles[2];
    for (int i = 0; i < kMacroKeyCount; ++i) {
        EXPECT_EQ(r.MacroKeyInfo[i].SlotIndex, i);
        EXPECT_EQ(r.MacroKeyInfo[i].AssignType, kAssignKey);
        EXPECT_EQ(r.MacroKeyInfo[i].ModifierBits, 1);
        EXPECT_EQ(r.MacroKeyInfo[i].KeyCode, 0x1E + i);
    }
    MacroKeyInfo zero{};
    EXPECT_EQ(std::memcmp(&r.MacroKeyInfo[6], &zero, sizeof zero), 0);
    EXPECT_EQ(r.standardkey[44], 0x39);
    EXPECT_EQ(r.GKey[7], 0x41);
}

TEST(FactoryDefaults, ResetKeepsReservedAndTail) {
    auto block = ZeroBlock();
    block->profiles[1].apmLightInfo[3] = 0x5A;
    block->profiles[1].Reserved1520 = 7;
    block->tail.KeyboardPlugIn = 1;
    block->tail.MacroChanged[4][31] = 1;
    ResetAllProfiles(*block);
    EXPECT_EQ(block->profiles[1].apmLightInfo[3], 0x5A);
    EXPECT_EQ(block->profiles[1].Reserved1520, 7);
    EXPECT_EQ(block->tail.KeyboardPlugIn, 1);
    EXPECT_EQ(block->tail.MacroChanged[4][31], 1);
}

} // namespace
