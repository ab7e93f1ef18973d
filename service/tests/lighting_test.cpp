#include "service/lighting.h"

#include "golden.h"
#include "service/testing/sim_transport.h"
#include "settings/factory_defaults.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {
std::unique_ptr<SettingsBlock> FactoryBlock() {
    auto block = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*block);
    return block;
}
} // namespace

TEST(Lighting, FactoryDefaultsColoursAndEffects) {
    auto block = FactoryBlock();
    VirtualClock clock;
    SimKeyboard keyboard([&] { return clock.NowMs(); });
    SimTransport device(keyboard);
    DiagCapture diag;
    SetMasterRGBLED10StageColor(device, clock, *block);
    SendLightEffects(device, clock, *block);
    EXPECT_EQ(clock.NowMs(), 500u);
    ExpectNoProtocolErrors(keyboard);
    EXPECT_TRUE(MatchesGolden("lighting_factory.txt", keyboard));
}

TEST(Lighting, EffectCommandByMode) {
    struct Case {
        int32_t mode, pulsation;
        uint8_t profile;
        bool sent;
        uint8_t code, speed, colour;
    } cases[] = {
        {1, 3, 1, true, 0x00, 0, 0}, {2, 3, 1, true, 0x01, 0, 1}, {3, 3, 2, true, 0x03, 2, 2},
        {4, 3, 1, true, 0x04, 2, 1}, {5, 3, 1, true, 0x02, 2, 0}, {0, 3, 1, false, 0, 0, 0},
        {6, 3, 1, false, 0, 0, 0},   {-1, 3, 1, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ProfileRecord profile{};
        profile.LtEffectType = c.mode;
        profile.iLtPulsation = c.pulsation;
        uint8_t command[kCommandSize];
        ASSERT_EQ(BuildLightEffectCommand(profile, c.profile, command), c.sent) << c.mode;
        if (!c.sent)
            continue;
        const uint8_t expected[kCommandSize] = {0x07, c.profile, 0, c.code, c.speed, c.colour, 0, 0};
        EXPECT_EQ(0, std::memcmp(command, expected, kCommandSize)) << c.mode;
    }
}

TEST(Lighting, InvalidModesSendNothingButStillPause) {
    auto block = FactoryBlock();
    block->profiles[1].LtEffectType = 0;
    block->profiles[2].LtEffectType = 6;
    VirtualClock clock;
    SimKeyboard keyboard([&] { return clock.NowMs(); });
    SimTransport device(keyboard);
    SendLightEffects(device, clock, *block);
    EXPECT_EQ(clock.PauseCount(), 4);
    EXPECT_TRUE(MatchesGolden("lighting_invalid_modes.txt", keyboard));
}

TEST(Lighting, ColourListTakesLowBytesOfModes2And3Only) {
    auto block = FactoryBlock();
    for (int p = 0; p < 4; ++p) {
        block->profiles[p].LtEffectType = p + 2; // 2, 3, 4, 5
        block->profiles[p].iRGBRed = 0x111 * (p + 1);
        block->profiles[p].iRGBGreen = 0x22;
        block->profiles[p].iRGBBlue = 0x133;
    }
    uint8_t colours[kStageColorBytes];
    BuildStageColors(*block, colours);
    const uint8_t expected[6] = {0x33, 0x11, 0x22, 0x33, 0x22, 0x22};
    EXPECT_EQ(0, std::memcmp(colours, expected, 6));
    EXPECT_EQ(0, std::memcmp(colours + 6, DefaultStageColors + 6, sizeof colours - 6));
}

TEST(Lighting, InverseEffectMapping) {
    const int32_t expected[] = {1, 2, 5, 3, 4, 1, 1};
    for (uint8_t code = 0; code < 7; ++code)
        EXPECT_EQ(EffectModeFromCode(code), expected[code]) << int(code);
    EXPECT_EQ(EffectModeFromCode(0xFF), 1);
}
