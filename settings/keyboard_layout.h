// The keyboard layout seam: the translations between scan codes and virtual-key
// codes that depend on the layout the user has chosen.
#pragma once

#include <cstdint>

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Distinguishes left and right keys (MAPVK_VSC_TO_VK_EX); 0 when unmapped.
    virtual uint32_t ScanToVirtualKey(uint32_t scan) const = 0;
    // 0 when the layout has no key for the code.
    virtual uint32_t VirtualKeyToScan(uint32_t vk) const = 0;
};

// Installs the process-wide layout; nullptr restores the platform default.
// The caller keeps ownership and keeps the object alive while installed.
void SetKeyboardLayout(const KeyboardLayout* layout);

// The installed layout, or the platform default.
const KeyboardLayout& ActiveKeyboardLayout();

// Platform twin: the active Windows layout, or the US layout natively.
const KeyboardLayout& PlatformKeyboardLayout();
