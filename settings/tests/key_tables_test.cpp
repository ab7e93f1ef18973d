#include "settings/key_tables.h"
#include "settings/testing/diag_capture.h"
#include "settings/us_keyboard_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class LayoutScope {
public:
    explicit LayoutScope(const KeyboardLayout* layout) { SetKeyboardLayout(layout); }
    ~LayoutScope() { SetKeyboardLayout(nullptr); }
};

// Fails the test when consulted: proves a translation does not depend on the layout.
class ForbiddenLayout : public KeyboardLayout {
public:
    uint32_t ScanToVirtualKey(uint32_t scan) const override {
        ADD_FAILURE() << "layout asked for scan " << scan;
        return 0;
    }
    uint32_t VirtualKeyToScan(uint32_t vk) const override {
        ADD_FAILURE() << "layout asked for vk " << vk;
        return 0;
    }
};

// A layout that knows no key at all.
class EmptyLayout : public KeyboardLayout {
public:
    uint32_t ScanToVirtualKey(uint32_t) const override { return 0; }
    uint32_t VirtualKeyToScan(uint32_t) const override { return 0; }
};

constexpr int kPrintScreenIndex = 65;

TEST(KeyTables, UsageTableInvariants) {
    std::set<uint32_t> vks, usages;
    for (int i = 0; i < kKeyUsageCount; ++i) {
        const KeyUsageEntry& e = KeyUsageTable[i];
        EXPECT_TRUE(vks.insert(e.vk).second) << "vk twice: " << std::hex << e.vk;
        EXPECT_TRUE(usages.insert(e.usage).second) << "usage twice: " << std::hex << e.usage;
        if (i >= kPrintScreenIndex) {
            EXPECT_EQ(e.scan, 0u) << "entry " << i;
        } else {
            EXPECT_NE(e.scan, 0u) << "entry " << i;
        }
    }
    EXPECT_EQ(KeyUsageTable[kPrintScreenIndex].vk, 0x2Cu);
    EXPECT_EQ(KeyUsageTable[kPrintScreenIndex].usage, 0x46u);
    EXPECT_EQ(KeyUsageTable[kKeyUsageCount - 1].vk, 0xF4u);
}

TEST(KeyTables, UsageTableSpotChecks) {
    struct Case {
        int index;
        KeyUsageEntry entry;
    };
    const Case cases[] = {
        {0, {0x41, 0x04, 0x1E}},  {24, {0x59, 0x1C, 0x15}}, {25, {0x5A, 0x1D, 0x2C}},
        {35, {0x30, 0x27, 0x0B}}, {40, {0x20, 0x2C, 0x39}}, {45, {0xDC, 0x31, 0x2B}},
        {52, {0x14, 0x39, 0x3A}}, {63, {0x7A, 0x44, 0x57}}, {89, {0x67, 0x5F, 0}},
        {90, {0x66, 0x5E, 0}},    {105, {0xC1, 0x86, 0}},   {107, {0xFF, 0x89, 0}},
        {108, {0xA6, 0x70, 0}},   {125, {0xB7, 0x81, 0}},   {126, {0xF0, 0xF0, 0}},
    };
    for (const Case& c : cases) {
        const KeyUsageEntry& e = KeyUsageTable[c.index];
        EXPECT_EQ(e.vk, c.entry.vk) << c.index;
        EXPECT_EQ(e.usage, c.entry.usage) << c.index;
        EXPECT_EQ(e.scan, c.entry.scan) << c.index;
    }
}

TEST(KeyTables, MatrixSpotChecks) {
    struct Case {
        int position;
        uint8_t b[4];
    };
    const Case cases[] = {
        {0, {0x00, 0x00, 0x1D, 0x00}},
        {2, {0x02, 0x00, 0x01, 0x00}},
        {10, {0x0F, 0x80, 0x00, 0x00}},
        {13, {0x03, 0x00, 0x27, 0x02}},
        {28, {0x13, 0x03, 0x04, 0x50}},
        {79, {0x12, 0x00, 0x00, 0x00}},
        {83, {0x12, 0x01, 0x0E, 0x00}},
        {114, {0x05, 0x00, 0x03, 0x01}},
        {135, {0x0F, 0x80, 0x05, 0x00}},
        {143, {0x03, 0x00, 0xB7, 0x00}},
        {144, {0, 0, 0, 0}},
        {159, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(DefaultKeyMatrix[c.position][i], c.b[i]) << c.position << "/" << i;
        }
    }
    const int macroPositions[6] = {10, 22, 63, 106, 111, 135};
    for (int n = 0; n < 6; ++n) {
        const uint8_t* e = DefaultKeyMatrix[macroPositions[n]];
        EXPECT_EQ(e[0], 0x0F);
        EXPECT_EQ(e[1], 0x80);
        EXPECT_EQ(e[2], n);
    }
    int builtIn = 0;
    for (const auto& e : DefaultKeyMatrix) {
        builtIn += e[0] == 0x12 && e[1] == 0x01;
        EXPECT_FALSE(e[0] == 0x12 && e[1] == 0x03) << "user-defined key in the default matrix";
    }
    EXPECT_EQ(builtIn, 21);
}

TEST(KeyTables, MatrixVirtualKeysSpotChecks) {
    EXPECT_EQ(MatrixVirtualKeys[0], 0x5A);
    EXPECT_EQ(MatrixVirtualKeys[42], 0xC1);
    EXPECT_EQ(MatrixVirtualKeys[83], 0x2A);
    EXPECT_EQ(MatrixVirtualKeys[99], 0xFF);
    EXPECT_EQ(MatrixVirtualKeys[136], 0x58);
    EXPECT_EQ(MatrixVirtualKeys[141], 0xA1);
    for (int p = 142; p < kMatrixPositionCount; ++p) {
        EXPECT_EQ(MatrixVirtualKeys[p], 0) << p;
    }
    std::set<uint8_t> seen;
    for (uint8_t vk : MatrixVirtualKeys) {
        EXPECT_TRUE(vk == 0 || seen.insert(vk).second) << "vk twice in matrix: " << std::hex << int(vk);
    }
}

TEST(KeyTables, OemKeysIgnoreTheLayout) {
    EmptyLayout empty;
    LayoutScope scope(&empty);
    uint32_t vk = 1;
    EXPECT_EQ(TanslateUID2VK(0x2D, &vk), 1);
    EXPECT_EQ(vk, 0xBDu);
    EXPECT_EQ(TanslateUID2VK(0x38, &vk), 1);
    EXPECT_EQ(vk, 0xBFu);
}

TEST(KeyTables, KeysFromPrintScreenOnNeverAskTheLayout) {
    ForbiddenLayout forbidden;
    LayoutScope scope(&forbidden);
    for (int i = kPrintScreenIndex; i < kKeyUsageCount; ++i) {
        uint32_t vk = 0, usage = 0;
        EXPECT_EQ(TanslateUID2VK(KeyUsageTable[i].usage, &vk), 1);
        EXPECT_EQ(vk, KeyUsageTable[i].vk);
        EXPECT_EQ(VkToUsage(KeyUsageTable[i].vk, &usage), 1);
        EXPECT_EQ(usage, KeyUsageTable[i].usage);
    }
}

TEST(KeyTables, UsLayoutRoundTripsEveryEntry) {
    LayoutScope scope(&UsLayout());
    for (const KeyUsageEntry& e : KeyUsageTable) {
        uint32_t vk = 0, usage = 0;
        EXPECT_EQ(TanslateUID2VK(e.usage, &vk), 1);
        EXPECT_EQ(vk, e.vk) << std::hex << e.usage;
        EXPECT_EQ(VkToUsage(e.vk, &usage), 1);
        EXPECT_EQ(usage, e.usage) << std::hex << e.vk;
    }
}

TEST(KeyTables, SwappedLayoutFollowsThePhysicalKey) {
    YzSwappedKeyboardLayout swapped;
    LayoutScope scope(&swapped);
    uint32_t usage = 0, vk = 0;
    EXPECT_EQ(VkToUsage(0x59, &usage), 1);
    EXPECT_EQ(usage, 0x1Du);
    EXPECT_EQ(VkToUsage(0x5A, &usage), 1);
    EXPECT_EQ(usage, 0x1Cu);
    EXPECT_EQ(TanslateUID2VK(0x1C, &vk), 1);
    EXPECT_EQ(vk, 0x5Au);
    EXPECT_EQ(VkToUsage(0x41, &usage), 1);
    EXPECT_EQ(usage, 0x04u);
}

TEST(KeyTables, UnknownCodes) {
    uint32_t usage = 7, vk = 7;
    EXPECT_EQ(VkToUsage(0x07, &usage), 0);
    EXPECT_EQ(usage, 0u);
    EXPECT_EQ(TanslateUID2VK(0x03, &vk), 0);
    EXPECT_EQ(vk, 0u);
}

TEST(KeyTables, KeyMissingFromLayoutKeepsItsOwnUsage) {
    EmptyLayout empty;
    LayoutScope scope(&empty);
    uint32_t usage = 0;
    EXPECT_EQ(VkToUsage(0x41, &usage), 1);
    EXPECT_EQ(usage, 0x04u);
}

TEST(KeyTables, TranslationWritesItsDiagnostic) {
    LayoutScope scope(&UsLayout());
    DiagCapture diag;
    uint32_t vk = 0;
    TanslateUID2VK(0x04, &vk);
    TanslateUID2VK(0x03, &vk);
    ASSERT_EQ(diag.Lines().size(), 2u);
    EXPECT_EQ(diag.Lines()[0], L"TanslateUID2VK UsageID:4,uiScancode:1e\uFF0CiVirtualKey\uFF1A41\n");
    EXPECT_EQ(diag.Lines()[1], L"TanslateUID2VK UsageID:3,uiScancode:0\uFF0CiVirtualKey\uFF1A0\n");
}

} // namespace
