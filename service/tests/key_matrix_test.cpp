#include "service/key_matrix.h"

#include "golden.h"
#include "service/testing/sim_transport.h"
#include "settings/factory_defaults.h"
#include "settings/key_tables.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

constexpr int kCapsLockKey = 44; // key position; usage 0x39, matrix position 37

struct Fixture {
    std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
    std::unique_ptr<KeyMatrixBuild> build = std::make_unique<KeyMatrixBuild>();
    DiagCapture diag;
    Fixture() { ResetAllProfiles(*block); }
    void Build() {
        BuildKeyMatrix(*block, *build);
        for (int p = 0; p < kProfileCount; ++p)
            BuildDefinitions(*block, p, *build);
    }
    std::vector<uint8_t> Matrix(int c) const {
        return {build->KeyMatrixBuffer + 4 * c, build->KeyMatrixBuffer + 4 * c + 4};
    }
    std::vector<uint8_t> Entry(int p, int n) const {
        return {build->DefKMBuffer[p] + 4 * n, build->DefKMBuffer[p] + 4 * n + 4};
    }
    // Sends the matrix and the four tables to a simulated keyboard.
    void Send(SimKeyboard& keyboard) {
        VirtualClock clock;
        SimTransport device(keyboard);
        SetKeyMatrix(device, clock, build->KeyMatrixBuffer);
        for (uint8_t p = 0; p < kProfileCount; ++p)
            SetDefineKeymatrix(device, clock, p, build->DefKMBuffer[p], kDefinitionBytes);
        ExpectNoProtocolErrors(keyboard);
    }
};

using Bytes = std::vector<uint8_t>;
const Bytes kZero = {0, 0, 0, 0};

} // namespace

TEST(KeyMatrix, NothingRemappedSendsTheDefaultMatrixAndEmptyTables) {
    Fixture f;
    f.Build();
    EXPECT_EQ(0, std::memcmp(f.build->KeyMatrixBuffer, DefaultKeyMatrix, kKeyMatrixBytes));
    EXPECT_EQ(f.build->DefinedCount, 0);
    for (int p = 0; p < kProfileCount; ++p)
        for (int n = 0; n < kMaxDefinedKeys; ++n)
            EXPECT_EQ(f.Entry(p, n), kZero);
    EXPECT_EQ(f.diag.Count(L"TanslateUID2VK"), 0);
}

TEST(KeyMatrix, CapsLockRemappedInProfile1) {
    Fixture f;
    f.block->profiles[1].standardkey[kCapsLockKey] = 0xE0;
    f.Build();
    EXPECT_EQ(f.Matrix(37), (Bytes{0x12, 0x03, 0x00, 0x00}));
    EXPECT_EQ(f.build->DefinedCount, 1);
    EXPECT_EQ(f.build->DefinedPositions[0], 37);
    EXPECT_EQ(f.build->DefinedKeys[0], kCapsLockKey);
    EXPECT_EQ(f.Entry(1, 0), (Bytes{0x00, 0x00, 0xE0, 0x00}));
    for (int p : {0, 2, 3})
        EXPECT_EQ(f.Entry(p, 0), (Bytes{0x00, 0x00, 0x39, 0x00})) << p;
    SimKeyboard keyboard;
    f.Send(keyboard);
    EXPECT_TRUE(MatchesGolden("caps_lock_profile1.txt", keyboard));
}

TEST(KeyMatrix, OneKeyRemappedInTwoProfilesSharesItsIndex) {
    Fixture f;
    f.block->profiles[0].standardkey[kCapsLockKey] = 0xE0; // left Ctrl, matrix 38
    f.block->profiles[2].standardkey[kCapsLockKey] = 0x29; // Esc, matrix 32
    f.Build();
    EXPECT_EQ(f.build->DefinedCount, 1);
    EXPECT_EQ(f.Entry(0, 0), (Bytes{0x00, 0x00, 0xE0, 0x00}));
    EXPECT_EQ(f.Entry(1, 0), (Bytes{0x00, 0x00, 0x39, 0x00}));
    EXPECT_EQ(f.Entry(2, 0), (Bytes{0x00, 0x00, 0x29, 0x00}));
    EXPECT_EQ(f.Entry(3, 0), (Bytes{0x00, 0x00, 0x39, 0x00}));
    SimKeyboard keyboard;
    f.Send(keyboard);
    EXPECT_TRUE(MatchesGolden("one_key_two_profiles.txt", keyboard));
}

TEST(KeyMatrix, RemapToPrintScreenFindsNoTarget) {
    Fixture f;
    f.block->profiles[1].standardkey[kCapsLockKey] = 0x46;
    f.Build();
    EXPECT_EQ(f.Matrix(37), (Bytes{0x12, 0x03, 0x00, 0x00}));
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(f.Entry(p, 0), kZero) << p;
    SimKeyboard keyboard;
    f.Send(keyboard);
    EXPECT_TRUE(MatchesGolden("remap_to_print_screen.txt", keyboard));
}

TEST(KeyMatrix, PrintScreenItselfHasNoMatrixPosition) {
    Fixture f;
    f.block->profiles[0].standardkey[13] = 0x04; // key position 13 is Print Screen
    ASSERT_EQ(StandardLayout[13], 0x46);
    f.Build();
    EXPECT_EQ(f.build->DefinedCount, 0);
    EXPECT_EQ(0, std::memcmp(f.build->KeyMatrixBuffer, DefaultKeyMatrix, kKeyMatrixBytes));
}

TEST(KeyMatrix, MoreThan32RemappedKeysNeverOverrunTheLists) {
    Fixture f;
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < 108; ++k)
            f.block->profiles[p].standardkey[k] = 0x04 + static_cast<uint8_t>((k + p + 1) % 26);
    for (int k = 108; k < kKeyPositionCount; ++k)
        f.block->profiles[0].standardkey[k] = 0x05; // no key there: never compared
    f.Build();
    EXPECT_EQ(f.build->DefinedCount, kMaxDefinedKeys);
    int remapped = 0;
    for (int c = 0; c < kMatrixPositionCount; ++c)
        remapped += f.build->KeyMatrixBuffer[4 * c] == 0x12 && f.build->KeyMatrixBuffer[4 * c + 1] == 0x03;
    EXPECT_EQ(remapped, kMaxDefinedKeys);
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(f.build->DefKMBuffer[p][128], 0);
}

TEST(KeyMatrix, MediaMacroKeyClaimKeepsTheKeysOwnFunction) {
    Fixture f;
    f.block->profiles[2].MacroKeyInfo[0].AssignType = kAssignMedia;
    f.block->profiles[2].MacroKeyInfo[0].KeyCode = 0xB0;
    f.block->profiles[1].standardkey[kCapsLockKey] = 0xE0;
    f.Build();
    ASSERT_EQ(f.build->DefinedCount, 2);
    EXPECT_EQ(f.build->DefinedPositions[0], 11);
    EXPECT_EQ(f.build->DefinedKeys[0], 0xFF);
    EXPECT_EQ(f.Matrix(11), (Bytes{0x12, 0x03, 0x00, 0x00}));
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(f.Entry(p, 0), (Bytes{0x03, 0x00, 0xE9, 0x00})) << p;
    EXPECT_EQ(f.Matrix(37), (Bytes{0x12, 0x03, 0x01, 0x00}));
    EXPECT_EQ(f.Entry(1, 1), (Bytes{0x00, 0x00, 0xE0, 0x00}));
}
