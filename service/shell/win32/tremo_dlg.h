// CTremoDlg: the service's hidden window. The configuration program finds it by its
// title; it carries the tray icon, the device, session and power notices, timer 2
// and message 1224, and hands every decision to ServiceShell.
#pragma once

#include "service/device_state.h"
#include "service/shell/service_shell.h"
#include "service/shell/win32/foreground_probe_win32.h"
#include "service/shell/win32/reader_thread_win32.h"
#include "service/shell/win32/shell_ports_win32.h"
#include "service/shell/win32/unique_handle.h"
#include "settings/program_link.h"

#include <windows.h>

#include <memory>
#include <string>

constexpr UINT kCmdOpenConfiguration = 2027;
constexpr UINT kCmdExit = 2026;
constexpr UINT_PTR kForegroundTimer = 2;
constexpr UINT kForegroundTimerMs = 1000;
// Where the foreground-change event does not arrive: a look at the foreground window.
constexpr UINT_PTR kForegroundPollTimer = 3;
constexpr UINT kForegroundPollMs = 25;
// Posted by the foreground-change hook.
constexpr UINT kForegroundChangedMessage = WM_APP + 1;

struct TremoPorts;

class CTremoDlg {
public:
    CTremoDlg(HINSTANCE instance, HICON icon);
    ~CTremoDlg();
    CTremoDlg(const CTremoDlg&) = delete;
    CTremoDlg& operator=(const CTremoDlg&) = delete;

    bool Create();
    HWND Window() const { return window_; }
    // After the message loop: the reader ended, notices unregistered, handles closed.
    void Shutdown();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void LoadTrayTexts();
    void RegisterSessionNotices();
    void OnTrayCallback(WPARAM iconId, LPARAM mouseMessage);
    void ShowTrayMenu();
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    // Runs the short foreground timer exactly while it is needed and a switch is possible.
    void UpdateForegroundPolling();

    HINSTANCE instance_;
    HICON icon_;
    HWND window_ = nullptr;
    std::wstring programFolder_;
    std::wstring trayTexts_[4]; // ids 1300..1303
    std::unique_ptr<TremoPorts> ports_;
    std::unique_ptr<ServiceShell> shell_;
    std::unique_ptr<Win32ReaderThread> reader_;
    UniqueHandle readEvent_;
    UniqueDeviceNotify deviceNotify_;
    UniqueModule wtsapi_;
    bool sessionRegistered_ = false;
    ForegroundChangeHook foregroundHook_;
    ForegroundChangeWatch foregroundWatch_;
    bool polling_ = false;
};
