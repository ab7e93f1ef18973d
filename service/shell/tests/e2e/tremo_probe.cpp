// The end-to-end tests' helper inside Wine. Subcommands:
//   tray                      exit 0 when Tremo's tray icon exists, 1 when not
//   window SECONDS [--background]
//                             a visible window of this program, brought to the
//                             foreground (or shown without activation) and held
//   expect-apply              prints the journal the simulated keyboard would keep for
//                             one apply of the settings in the settings folder
//   wait-exit SECONDS         waits until no window titled like Tremo's exists; exit 0 then
//   has-window TITLE          exit 0 when a top-level window with that title exists
//   quit-window TITLE         posts the quit message to that window
//   command ID                posts WM_COMMAND ID to Tremo's window, as its tray menu does
//   factory-check             exit 0 when the settings files hold the factory settings
//   load-check                exit 0 when every settings file loads whole
#include "service/apply.h"
#include "service/pauser.h"
#include "settings/factory_defaults.h"
#include "settings/settings_files.h"
#include "simkbd/sim_keyboard.h"
#include "settings/program_link.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

namespace {

int TrayExists() {
    HWND service = FindWindowW(nullptr, kServiceWindowTitle);
    if (!service) {
        std::printf("tray 0 (no service window)\n");
        return 1;
    }
    // Modifying nothing succeeds only for an icon that exists.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = service;
    data.uID = 128;
    BOOL exists = Shell_NotifyIconW(NIM_MODIFY, &data);
    std::printf("tray %d\n", exists ? 1 : 0);
    return exists ? 0 : 1;
}

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) noexcept {
    return DefWindowProcW(w, m, wp, lp);
}

int HoldWindow(int seconds, bool background) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TremoProbeWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Tremo probe", WS_OVERLAPPEDWINDOW, 200, 200, 300,
                                  200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window)
        return 2;
    if (background) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
    } else {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
    }
    std::printf("window %s pid %lu foreground-pid ", background ? "background" : "foreground",
                GetCurrentProcessId());
    DWORD fgPid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &fgPid);
    std::printf("%lu\n", fgPid);
    std::fflush(stdout);
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(window);
    return 0;
}

struct SimTransport : HidTransport {
    SimKeyboard keyboard;
    bool FeatureWrite(const uint8_t* report, size_t length) override {
        keyboard.FeatureWrite(report, length);
        return true;
    }
    void FeatureRead(uint8_t* report, size_t length) override { keyboard.FeatureRead(report, length); }
    bool OutputWrite(const uint8_t* report, size_t length) override {
        keyboard.OutputWrite(report, length);
        return true;
    }
};

struct NoPauses : Pauser {
    void Pause(uint32_t) override {}
};

int ExpectApply() {
    auto block = std::make_unique<SettingsBlock>();
    LoadSettings(*block);
    SimTransport device;
    NoPauses pauses;
    WriteAllSettings(device, pauses, *block);
    std::fputs(device.keyboard.JournalText().c_str(), stdout);
    return 0;
}

int WaitServiceExit(int seconds) {
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (FindWindowW(nullptr, kServiceWindowTitle)) {
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return 1;
        Sleep(50);
    }
    return 0;
}

int PostCommand(int id) {
    HWND service = FindWindowW(nullptr, kServiceWindowTitle);
    return service && PostMessageW(service, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}

int FactoryCheck() {
    auto loaded = std::make_unique<SettingsBlock>();
    auto factory = std::make_unique<SettingsBlock>();
    LoadSettings(*loaded);
    ResetAllProfiles(*factory);
    int differences = 0;
    for (int p = 0; p < kProfileCount; ++p) {
        if (std::memcmp(&loaded->profiles[p], &factory->profiles[p], sizeof(ProfileRecord)) != 0) {
            std::printf("profile %d differs from the factory settings\n", p);
            ++differences;
        }
    }
    if (loaded->CurrentProfile != 0) {
        std::printf("CurrentProfile %d\n", loaded->CurrentProfile);
        ++differences;
    }
    return differences == 0 ? 0 : 1;
}

// Every file must read whole: a struct value cut short or with a bad checksum would
// leave its field at the marker we fill the block with first.
int LoadCheck() {
    auto block = std::make_unique<SettingsBlock>();
    std::memset(block.get(), 0xA5, sizeof(SettingsBlock));
    LoadSettings(*block);
    int bad = 0;
    if (block->CurrentProfile < 0 || block->CurrentProfile > 3) {
        std::printf("CurrentProfile %d\n", block->CurrentProfile);
        ++bad;
    }
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& r = block->profiles[p];
        if (r.GKey[0] == 0xA5 && r.GKey[1] == 0xA5 && r.apmLightInfo[0] == 0xA5 &&
            r.apmLightInfo[1] == 0xA5) {
            std::printf("profile %d: struct values missing\n", p);
            ++bad;
        }
        if (r.PollingRate == -1 || r.LtEffectType == -1) {
            std::printf("profile %d: integers missing\n", p);
            ++bad;
        }
    }
    return bad == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    int seconds = argc > 2 ? _wtoi(argv[2]) : 0;
    if (command == L"tray")
        return TrayExists();
    if (command == L"window")
        return HoldWindow(seconds, argc > 3 && std::wstring(argv[3]) == L"--background");
    if (command == L"expect-apply")
        return ExpectApply();
    if (command == L"wait-exit")
        return WaitServiceExit(seconds);
    if (command == L"has-window")
        return argc > 2 && FindWindowW(nullptr, argv[2]) ? 0 : 1;
    if (command == L"quit-window") {
        HWND window = argc > 2 ? FindWindowW(nullptr, argv[2]) : nullptr;
        return window && PostMessageW(window, WM_QUIT, 0, 0) ? 0 : 1;
    }
    if (command == L"command")
        return PostCommand(seconds);
    if (command == L"factory-check")
        return FactoryCheck();
    if (command == L"load-check")
        return LoadCheck();
    std::fprintf(
        stderr,
        "usage: tremo_probe tray | window SECONDS [--background] | expect-apply | wait-exit SECONDS\n");
    return 2;
}
