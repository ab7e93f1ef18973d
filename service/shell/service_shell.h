// The service's decisions: start-up, presence of the keyboard, message 1224 from the
// configuration program, the keyboard's own keys and foreground switching. Everything
// here runs on the window thread except OnInputReport, which the reader thread calls;
// one lock serialises every change of the block and every settings-file access
// between the two, and device searches against the reader's use of the read handle.
#pragma once

#include "service/shell/foreground.h"
#include "service/shell/shell_ports.h"
#include "settings/settings_block.h"
#include "settings/program_link.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

constexpr intptr_t kConfigApplyDone = 1;
constexpr intptr_t kConfigProfileChanged = 20;
constexpr intptr_t kConfigEffectChanged = 30;

// What a message 1224 from the configuration program asks for.
struct ConfigRequest {
    enum Kind { kIgnore, kApply, kSelectProfile } kind;
    int profile;
};
ConfigRequest DecodeConfigRequest(uintptr_t wParam, intptr_t lParam);

class ServiceShell {
public:
    struct Ports {
        ShellDevice& device;
        SettingsStore& store;
        ConfigWindow& config;
        TrayIcon& tray;
        ReaderThread& reader;
        Pauses& pauses;
        ForegroundProbe& foreground;
    };
    explicit ServiceShell(const Ports& ports);

    // Start-up of the window, in the order the window calls them.
    void DetermineSettingsFolder();
    void SearchAtStart(); // up to ten searches, 100 ms apart
    void StartReaderIfPresent();
    void FinishStart(); // InitSetting .. command 02 FF 10 01

    void OnConfigMessage(uintptr_t wParam, intptr_t lParam);
    void CheckForegroundProfiles(); // timer 2 and the foreground-change event
    // A check could switch: the keyboard is present and a profile other than the active one
    // links a program. Without that there is nothing to watch the foreground for.
    bool ForegroundSwitchingPossible();
    void OnDeviceArrival(const std::wstring& interfaceName);
    void OnDeviceRemoval(const std::wstring& interfaceName);
    void OnConsoleConnect();
    void OnConsoleDisconnect();
    void OnResume();
    void RefreshDevicePresence(bool found, bool releaseReader);
    void ShowTrayIcon(bool show);
    void OpenConfigurationProgram();
    void OnExitCommand(); // tray icon removed and the configuration program closed

    // Reader thread: one completed read of `transferred` bytes into `report`, a buffer of at
    // least four bytes that is not cleared between reads.
    void OnInputReport(const uint8_t* report, size_t transferred);

    bool DevicePresent() const { return devicePresent_.load() == 1; }
    const std::wstring& SettingsFolderPath() const { return folder_; }

    // Runs f with the lock held: the reader takes its copy of the read handle this way.
    template <typename F> void WithLock(F&& f) {
        std::lock_guard<std::mutex> guard(lock_);
        f();
    }
    SettingsBlock BlockSnapshot();

private:
    bool Search();
    void SendStartCommand();
    void SendProfileCommand(int profile);
    void SaveLocked();

    Ports ports_;
    ForegroundTracker tracker_;
    std::mutex lock_;
    std::unique_ptr<SettingsBlock> block_;
    std::atomic<int> devicePresent_{0};
    std::wstring folder_;
};
