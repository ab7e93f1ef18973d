// The foreground window's process, asked of that process itself.
#pragma once

#include "service/shell/foreground.h"
#include "service/shell/win32/unique_handle.h"

class Win32ForegroundProbe : public ForegroundProbe {
public:
    uintptr_t ForegroundWindow() override;
    Owner WindowOwner(uintptr_t window) override;
    bool ImagePath(uint32_t processId, std::wstring& path) override;

private:
    UniqueHandle process_; // kept open so its identifier is not reused while remembered
};

// Posts `message` to `window` whenever another window comes to the foreground. The
// hook runs out of context on this thread's message loop and only posts.
class ForegroundChangeHook {
public:
    bool Install(HWND window, UINT message);
    void Remove();

private:
    UniqueWinEventHook hook_;
};
