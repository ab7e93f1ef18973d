// Win32 twins of the shell's small ports: the configuration program's window, the
// tray icon, the reader's release and the pauses.
#pragma once

#include "service/shell/shell_ports.h"
#include "settings/program_link.h"

#include <windows.h>

#include <string>

constexpr UINT kTrayCallbackMessage = 2024;
constexpr UINT kTrayIconId = 128;

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

class Win32ConfigWindow : public ConfigWindow {
public:
    explicit Win32ConfigWindow(std::wstring programFolder) : programFolder_(std::move(programFolder)) {}
    bool Exists() override;
    void Post(uintptr_t wParam, intptr_t lParam) override;
    void PostQuit() override;
    void Launch() override;

private:
    std::wstring programFolder_;
};

class Win32TrayIcon : public TrayIcon {
public:
    void Attach(HWND window, HICON icon, std::wstring tooltip);
    void Add() override;
    void Remove() override;

private:
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    std::wstring tooltip_;
};

class Win32Pauses : public Pauses {
public:
    void SleepMs(unsigned ms) override { Sleep(ms); }
};
