#include "service/shell/win32/shell_ports_win32.h"

#include "service/shell/service_shell.h"

#include <shellapi.h>

#include <vector>

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::wstring();
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        }
        if (buffer.size() >= 32768)
            return std::wstring();
        buffer.resize(buffer.size() * 4);
    }
}

bool Win32ConfigWindow::Exists() { return FindWindowW(nullptr, kConfigWindowTitle) != nullptr; }

void Win32ConfigWindow::Post(uintptr_t wParam, intptr_t lParam) {
    if (HWND window = FindWindowW(nullptr, kConfigWindowTitle))
        PostMessageW(window, kConfigMessage, wParam, lParam);
}

void Win32ConfigWindow::PostQuit() {
    if (HWND window = FindWindowW(nullptr, kConfigWindowTitle))
        PostMessageW(window, WM_QUIT, 0, 0);
}

void Win32ConfigWindow::Launch() {
    // By full path: neither the current directory nor the search path is consulted.
    std::wstring path = programFolder_ + L"Palvex.exe";
    ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, programFolder_.c_str(), SW_SHOWNORMAL);
}

void Win32TrayIcon::Attach(HWND window, HICON icon, std::wstring tooltip) {
    window_ = window;
    icon_ = icon;
    tooltip_ = std::move(tooltip);
}

void Win32TrayIcon::Add() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon_;
    lstrcpynW(data.szTip, tooltip_.c_str(), ARRAYSIZE(data.szTip));
    Shell_NotifyIconW(NIM_ADD, &data);
}

void Win32TrayIcon::Remove() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
}
