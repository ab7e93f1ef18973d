// Constant tables linking the four key code spaces (key positions, HID usages,
// virtual-key codes, set-1 scan codes), the two translations between usages and
// virtual-key codes, and the keyboard's default key matrix.
#pragma once

#include <cstdint>

struct KeyUsageEntry {
    uint32_t vk;
    uint32_t usage;
    uint32_t scan; // 0 from Print Screen on: those keys are the same on every layout
};

constexpr int kKeyUsageCount = 131;
extern const KeyUsageEntry KeyUsageTable[kKeyUsageCount];

struct OemScanOverride {
    uint32_t scan;
    uint32_t vk;
};

// Scan codes whose virtual-key code is fixed instead of asked from the layout.
constexpr int kOemScanOverrideCount = 13;
extern const OemScanOverride OemScanOverrides[kOemScanOverrideCount];

constexpr int kMatrixPositionCount = 160;
// The key matrix as sent to the keyboard when nothing is remapped (b0 b1 b2 b3).
extern const uint8_t DefaultKeyMatrix[kMatrixPositionCount][4];
// Matrix position -> virtual-key code of the key there, 0 where there is none.
extern const uint8_t MatrixVirtualKeys[kMatrixPositionCount];

// Returns 1 when the usage is in KeyUsageTable; *vk is 0 when it is not. Letters,
// digits and punctuation go through the active keyboard layout by scan code.
int TanslateUID2VK(uint32_t usage, uint32_t* vk);

// Returns 1 when the virtual-key code is in KeyUsageTable; *usage is 0 when it is
// not. For layout-dependent keys the usage of the physical key is returned.
int VkToUsage(uint32_t vk, uint32_t* usage);
