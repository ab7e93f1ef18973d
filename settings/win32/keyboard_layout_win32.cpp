#include "settings/keyboard_layout.h"

#include <windows.h>

namespace {

// The layout the user is typing with: that of the foreground window's thread,
// which may differ from this program's own thread layout.
HKL ForegroundLayout() {
    HWND foreground = GetForegroundWindow();
    DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    return GetKeyboardLayout(thread);
}

class Win32KeyboardLayout : public KeyboardLayout {
public:
    uint32_t ScanToVirtualKey(uint32_t scan) const override {
        return MapVirtualKeyExW(scan, MAPVK_VSC_TO_VK_EX, ForegroundLayout());
    }
    uint32_t VirtualKeyToScan(uint32_t vk) const override {
        return MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, ForegroundLayout());
    }
};

} // namespace

const KeyboardLayout& PlatformKeyboardLayout() {
    static const Win32KeyboardLayout layout;
    return layout;
}
