#include "service/shell/win32/foreground_probe_win32.h"

#include <atomic>
#include <vector>

namespace {
std::atomic<HWND> g_hookWindow{nullptr};
std::atomic<UINT> g_hookMessage{0};

void CALLBACK OnForegroundEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) noexcept {
    HWND window = g_hookWindow.load();
    if (event == EVENT_SYSTEM_FOREGROUND && window)
        PostMessageW(window, g_hookMessage.load(), 0, 0);
}
} // namespace

uintptr_t Win32ForegroundProbe::ForegroundWindow() {
    return reinterpret_cast<uintptr_t>(GetForegroundWindow());
}

ForegroundProbe::Owner Win32ForegroundProbe::WindowOwner(uintptr_t window) {
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId);
    return {processId, threadId};
}

bool Win32ForegroundProbe::ImagePath(uint32_t processId, std::wstring& path) {
    process_.Reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process_)
        return false;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (QueryFullProcessImageNameW(process_.Get(), 0, buffer.data(), &size)) {
            path.assign(buffer.data(), size);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= 32768)
            return false;
        buffer.resize(buffer.size() * 4);
    }
}

bool ForegroundChangeHook::Install(HWND window, UINT message) {
    g_hookWindow = window;
    g_hookMessage = message;
    hook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnForegroundEvent,
                                0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
    return static_cast<bool>(hook_);
}

void ForegroundChangeHook::Remove() {
    hook_.Reset();
    g_hookWindow = nullptr;
}
