#include "service/shell/win32/tremo_dlg.h"

#include "service/shell/win32/tremo_ports.h"
#include "settings/diag.h"
#include "settings/lang_texts.h"

#include <dbt.h>
#include <wtsapi32.h>

#include <vector>

namespace {
// GUID_DEVINTERFACE_HID
const GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr wchar_t kWindowClass[] = L"TremoServiceWindow";
constexpr int kSessionRegisterAttempts = 10;

using WtsRegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using WtsUnregisterFn = BOOL(WINAPI*)(HWND);

template <typename Fn> Fn LookUp(HMODULE module, const char* name) {
    // Through void(*)() so the compiler accepts the cast from the generic FARPROC.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Only from the system folder: a wtsapi32.dll beside the program or in the current
// directory must never be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    std::wstring path = std::wstring(folder, n) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
uintptr_t ForegroundWindowValue() { return reinterpret_cast<uintptr_t>(GetForegroundWindow()); }
} // namespace

CTremoDlg::CTremoDlg(HINSTANCE instance, HICON icon) : instance_(instance), icon_(icon) {}

CTremoDlg::~CTremoDlg() { Shutdown(); }

bool CTremoDlg::Create() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    window_ = CreateWindowExW(0, kWindowClass, kServiceStartingTitle, WS_POPUP, 100, 100, 100, 100, nullptr,
                              nullptr, instance_, this);
    return window_ != nullptr;
}

LRESULT CALLBACK CTremoDlg::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    CTremoDlg* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CTremoDlg*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CTremoDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CTremoDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case kConfigMessage:
        if (shell_) {
            shell_->OnConfigMessage(wParam, lParam);
            UpdateForegroundPolling();
        }
        break;
    case kTrayCallbackMessage:
        OnTrayCallback(wParam, lParam);
        return 0;
    case WM_COMMAND:
        if (!shell_)
            break;
        if (LOWORD(wParam) == kCmdOpenConfiguration) {
            shell_->OpenConfigurationProgram();
            return 0;
        }
        if (LOWORD(wParam) == kCmdExit) {
            shell_->OnExitCommand();
            PostQuitMessage(0);
            return 0;
        }
        break;
    case WM_TIMER:
        if (!shell_)
            break;
        if (wParam == kForegroundTimer) {
            foregroundWatch_.OnSlowCheck(ForegroundWindowValue());
            shell_->CheckForegroundProfiles();
            UpdateForegroundPolling();
        } else if (wParam == kForegroundPollTimer) {
            if (foregroundWatch_.OnPoll(ForegroundWindowValue())) {
                shell_->CheckForegroundProfiles();
                UpdateForegroundPolling();
            }
            return 0;
        }
        break;
    case kForegroundChangedMessage:
        if (shell_) {
            foregroundWatch_.OnChangeEvent(ForegroundWindowValue());
            shell_->CheckForegroundProfiles();
        }
        return 0;
    case WM_DEVICECHANGE:
        return OnDeviceChange(wParam, lParam);
    case WM_WTSSESSION_CHANGE:
        if (!shell_)
            break;
        if (wParam == WTS_CONSOLE_CONNECT)
            shell_->OnConsoleConnect();
        else if (wParam == WTS_CONSOLE_DISCONNECT)
            shell_->OnConsoleDisconnect();
        break;
    case WM_POWERBROADCAST:
        if (shell_ && (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND))
            shell_->OnResume();
        break;
    case WM_CLOSE:
        // Only the tray menu ends the service.
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void CTremoDlg::LoadTrayTexts() {
    OpenLangLibrary();
    std::vector<std::wstring> texts = LangTexts(1300, 4);
    for (size_t i = 0; i < 4 && i < texts.size(); ++i)
        trayTexts_[i] = texts[i];
}

bool CTremoDlg::OnCreate() {
    programFolder_ = ProgramFolder();
    ports_ = std::make_unique<TremoPorts>(programFolder_);
    shell_ = std::make_unique<ServiceShell>(ports_->ShellPorts());
    shell_->DetermineSettingsFolder();
    LoadTrayTexts();
    ports_->tray.Attach(window_, icon_, trayTexts_[2]);

    shell_->SearchAtStart();

    readEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readEvent_) {
        DiagWrite(L"CreateEvent failed.");
        return false;
    }
    ports_->deviceState.ReadEvent = reinterpret_cast<HidHandle>(readEvent_.Get());

    reader_ = std::make_unique<Win32ReaderThread>(*shell_, ports_->deviceState);
    if (reader_->Create())
        ports_->reader.Attach(reader_.get());
    shell_->StartReaderIfPresent();

    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    deviceNotify_.Reset(RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    if (!deviceNotify_) {
        DiagWrite(L"RegisterDeviceNotification failed!!!");
        return false;
    }

    RegisterSessionNotices();

    shell_->FinishStart();
    SetWindowTextW(window_, kServiceWindowTitle);
    SetTimer(window_, kForegroundTimer, kForegroundTimerMs, nullptr);
    foregroundWatch_.Prime(ForegroundWindowValue());
    foregroundHook_.Install(window_, kForegroundChangedMessage);
    return true;
}

void CTremoDlg::RegisterSessionNotices() {
    wtsapi_.Reset(LoadSystemLibrary(L"wtsapi32.dll"));
    if (!wtsapi_)
        return;
    auto registerFn = LookUp<WtsRegisterFn>(wtsapi_.Get(), "WTSRegisterSessionNotification");
    if (!registerFn)
        return;
    for (int i = 0; i < kSessionRegisterAttempts; ++i) {
        if (registerFn(window_, NOTIFY_FOR_THIS_SESSION)) {
            sessionRegistered_ = true;
            return;
        }
        Sleep(1000);
    }
}

void CTremoDlg::OnTrayCallback(WPARAM iconId, LPARAM mouseMessage) {
    switch (LOWORD(mouseMessage)) {
    case WM_RBUTTONDOWN:
        DiagWrite(L"Mouse down\n");
        if (iconId == kTrayIconId)
            ShowTrayMenu();
        break;
    case WM_LBUTTONDBLCLK:
        if (shell_)
            shell_->OpenConfigurationProgram();
        break;
    default:
        break;
    }
}

void CTremoDlg::ShowTrayMenu() {
    SetForegroundWindow(window_);
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    AppendMenuW(menu.Get(), MF_STRING, kCmdOpenConfiguration, trayTexts_[0].c_str());
    AppendMenuW(menu.Get(), MF_STRING, kCmdExit, trayTexts_[1].c_str());
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageW(window_, WM_NULL, 0, 0);
}

LRESULT CTremoDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(data);
    if (!shell_ || !header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return TRUE;
    auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
    std::wstring name = device->dbcc_name;
    if (event == DBT_DEVICEARRIVAL)
        shell_->OnDeviceArrival(name);
    else if (event == DBT_DEVICEREMOVECOMPLETE)
        shell_->OnDeviceRemoval(name);
    UpdateForegroundPolling();
    return TRUE;
}

void CTremoDlg::UpdateForegroundPolling() {
    bool poll = foregroundWatch_.Polling() && shell_->ForegroundSwitchingPossible();
    if (poll && !polling_)
        polling_ = SetTimer(window_, kForegroundPollTimer, kForegroundPollMs, nullptr) != 0;
    else if (!poll && polling_)
        polling_ = !KillTimer(window_, kForegroundPollTimer);
}

void CTremoDlg::Shutdown() {
    foregroundHook_.Remove();
    if (window_) {
        KillTimer(window_, kForegroundTimer);
        KillTimer(window_, kForegroundPollTimer);
    }
    if (reader_) {
        reader_->Stop();
        ports_->reader.Attach(nullptr);
        reader_.reset();
    }
    deviceNotify_.Reset();
    if (sessionRegistered_ && wtsapi_) {
        auto unregisterFn = LookUp<WtsUnregisterFn>(wtsapi_.Get(), "WTSUnRegisterSessionNotification");
        if (unregisterFn)
            unregisterFn(window_);
        sessionRegistered_ = false;
    }
    if (ports_)
        ports_->CloseDevice();
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}
