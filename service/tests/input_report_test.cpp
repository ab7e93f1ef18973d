#include "service/input_report.h"

#include "settings/factory_defaults.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

#include <memory>

TEST(InputReport, Decoding) {
    struct Case {
        std::vector<uint8_t> bytes;
        InputEventKind kind;
        uint8_t value;
    } cases[] = {
        {{0x04, 0x05, 0x03, 0x02, 0, 0, 0, 0}, InputEventKind::ProfileChanged, 2},
        {{0x04, 0x06, 0x03, 0x02}, InputEventKind::EffectChanged, 2},
        {{0x04, 0x05, 0x04, 0x01}, InputEventKind::None, 0},
        {{0x05, 0x05, 0x03, 0x01}, InputEventKind::None, 0},
        {{0x04, 0x07, 0x03, 0x01}, InputEventKind::None, 0},
        {{0x04, 0x05, 0x03}, InputEventKind::None, 0},
        {{}, InputEventKind::None, 0},
    };
    for (const Case& c : cases) {
        InputEvent e = DecodeInputReport(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(e.kind, c.kind) << c.bytes.size();
        EXPECT_EQ(e.value, c.value);
    }
    EXPECT_EQ(DecodeInputReport(nullptr, 8).kind, InputEventKind::None);
}

TEST(InputReport, ProfileChangeIsStored) {
    auto block = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*block);
    InputEventNotice notice{};
    ASSERT_TRUE(ApplyInputEvent(*block, {InputEventKind::ProfileChanged, 2}, notice));
    EXPECT_EQ(block->CurrentProfile, 2);
    EXPECT_EQ(notice.wParam, 2u);
    EXPECT_EQ(notice.lParam, 20);
    EXPECT_FALSE(ApplyInputEvent(*block, {InputEventKind::ProfileChanged, 4}, notice));
    EXPECT_EQ(block->CurrentProfile, 2) << "a profile the block does not have is not stored";
}

TEST(InputReport, EffectChangeGoesToTheActiveProfileThroughTheInverseMapping) {
    auto block = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*block);
    block->CurrentProfile = 1;
    InputEventNotice notice{};
    ASSERT_TRUE(ApplyInputEvent(*block, {InputEventKind::EffectChanged, 2}, notice));
    EXPECT_EQ(block->profiles[1].LtEffectType, 5);
    EXPECT_EQ(notice.wParam, 2u) << "the raw effect code";
    EXPECT_EQ(notice.lParam, 30);

    block->CurrentProfile = 9;
    ASSERT_TRUE(ApplyInputEvent(*block, {InputEventKind::EffectChanged, 4}, notice));
    EXPECT_EQ(block->profiles[0].LtEffectType, 4) << "an impossible CurrentProfile counts as profile 0";
    EXPECT_FALSE(ApplyInputEvent(*block, {InputEventKind::None, 0}, notice));
}

TEST(InputReport, ReaderDiagnosticOfShortBuffers) {
    DiagCapture diag;
    const uint8_t b[2] = {0x04, 0x05};
    WriteReadDiagnostic(b, 2);
    EXPECT_EQ(diag.All(), L"ReadThreadFun ReadBuffer[0]:0x04,ReadBuffer[1]:0x05,ReadBuffer[2]:0x00, "
                          L"ReadBuffer[3]:0x00,ReadBuffer[3]:0x00\n");
}
