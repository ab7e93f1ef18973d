// Portable keyboard layouts: US English (the native default and the layout most
// tests run on) and a layout that swaps Y and Z, as German and Central European
// layouts do.
#pragma once

#include "settings/keyboard_layout.h"

class UsKeyboardLayout : public KeyboardLayout {
public:
    uint32_t ScanToVirtualKey(uint32_t scan) const override;
    uint32_t VirtualKeyToScan(uint32_t vk) const override;
};

class YzSwappedKeyboardLayout : public UsKeyboardLayout {
public:
    uint32_t ScanToVirtualKey(uint32_t scan) const override;
    uint32_t VirtualKeyToScan(uint32_t vk) const override;
};

const UsKeyboardLayout& UsLayout();
