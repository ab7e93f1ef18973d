#include "service/shell/service_shell.h"

#include "service/input_report.h"
#include "settings/diag.h"
#include "settings/text_utf16.h"

namespace {
constexpr uint8_t kStartCommand[8] = {0x02, 0xFF, 0x10, 0x01, 0, 0, 0, 0};
constexpr int kStartSearches = 10;
constexpr unsigned kStartSearchPauseMs = 100;
} // namespace

ConfigRequest DecodeConfigRequest(uintptr_t wParam, intptr_t lParam) {
    if ((wParam == 0 || wParam == 1) && lParam == 0)
        return {ConfigRequest::kApply, 0};
    // A profile outside 0..3 would be stored as CurrentProfile and sent to the keyboard.
    if (wParam == 2 && lParam >= 0 && lParam < kProfileCount)
        return {ConfigRequest::kSelectProfile, static_cast<int>(lParam)};
    return {ConfigRequest::kIgnore, 0};
}

ServiceShell::ServiceShell(const Ports& ports)
    : ports_(ports), tracker_(ports.foreground), block_(std::make_unique<SettingsBlock>()) {}

SettingsBlock ServiceShell::BlockSnapshot() {
    std::lock_guard<std::mutex> guard(lock_);
    return *block_;
}

void ServiceShell::SaveLocked() { ports_.store.Save(*block_); }

bool ServiceShell::Search() {
    std::lock_guard<std::mutex> guard(lock_);
    bool found = ports_.device.Search();
    if (found)
        devicePresent_ = 1;
    return found;
}

void ServiceShell::SendStartCommand() { ports_.device.SendCommand(kStartCommand); }

void ServiceShell::SendProfileCommand(int profile) {
    uint8_t command[8] = {0x01, static_cast<uint8_t>(profile), 0, 0, 0, 0, 0, 0};
    ports_.device.SendCommand(command);
}

void ServiceShell::DetermineSettingsFolder() {
    folder_ = ports_.store.Folder();
    DiagWrite(folder_);
    DiagWrite(L"\n");
}

void ServiceShell::SearchAtStart() {
    for (int i = 0; i < kStartSearches; ++i) {
        if (Search()) {
            ports_.device.QueryFirmwareVersion();
            return;
        }
        devicePresent_ = 0;
        ports_.device.QueryFirmwareVersion();
        ports_.pauses.SleepMs(kStartSearchPauseMs);
    }
}

void ServiceShell::StartReaderIfPresent() {
    if (DevicePresent())
        ports_.reader.Release();
}

void ServiceShell::FinishStart() {
    bool found = DevicePresent();
    {
        std::lock_guard<std::mutex> guard(lock_);
        ports_.store.Init(*block_);
    }
    ports_.device.QueryFirmwareVersion();
    int current = ports_.device.ReadCurrentProfile();
    {
        std::lock_guard<std::mutex> guard(lock_);
        block_->CurrentProfile = current;
    }
    if (found)
        ShowTrayIcon(true);
    else
        ShowTrayIcon(false);
    {
        std::lock_guard<std::mutex> guard(lock_);
        block_->tail.KeyboardPlugIn = found ? 1 : 0;
        SaveLocked();
    }
    SendStartCommand();
}

void ServiceShell::ShowTrayIcon(bool show) {
    if (show) {
        ports_.tray.Add();
        return;
    }
    DiagWrite(L"Hide icon and write device NULL\n");
    ports_.tray.Remove();
    ports_.config.PostQuit();
}

void ServiceShell::RefreshDevicePresence(bool found, bool releaseReader) {
    if (!found) {
        devicePresent_ = 0;
        ShowTrayIcon(false);
        std::lock_guard<std::mutex> guard(lock_);
        block_->tail.KeyboardPlugIn = 0;
        SaveLocked();
        return;
    }
    devicePresent_ = 1;
    if (releaseReader)
        ports_.reader.Release();
    ShowTrayIcon(true);
    int current = ports_.device.ReadCurrentProfile();
    {
        std::lock_guard<std::mutex> guard(lock_);
        block_->CurrentProfile = current;
        block_->tail.KeyboardPlugIn = 1;
        SaveLocked();
    }
    SendStartCommand();
}

void ServiceShell::OnDeviceArrival(const std::wstring& interfaceName) {
    DiagPrintf(L"DBT_DEVICEARRIVAL%ls\n", interfaceName.c_str());
    DiagWrite(L"DBT_DEVICEARRIVAL-1 != strDevPathName.Find(strDevPidVid,0)\n");
    bool found = Search();
    DiagWrite(found ? L"DBT_DEVICEARRIVAL EnumHidMouse()\n" : L"DBT_DEVICEARRIVAL !EnumHidMouse()\n");
    RefreshDevicePresence(found, true);
}

void ServiceShell::OnDeviceRemoval(const std::wstring& interfaceName) {
    DiagPrintf(L"DBT_DEVICEREMOVECOMPLETE%ls\n", interfaceName.c_str());
    // Releasing here as well keeps "keyboard present" and "reader running" together even
    // when the arrival notice of the keyboard was missed.
    RefreshDevicePresence(Search(), true);
}

void ServiceShell::OnConsoleConnect() {
    DiagWrite(L"OnWtsSessionChange WTS_CONSOLE_CONNECT\n");
    RefreshDevicePresence(Search(), true);
}

void ServiceShell::OnConsoleDisconnect() { DiagWrite(L"OnWtsSessionChange WTS_CONSOLE_DISCONNECT\n"); }

void ServiceShell::OnResume() {
    DiagWrite(L"System resumed automatically PBT_APMRESUMEAUTOMATIC.\n");
    RefreshDevicePresence(Search(), true);
}

void ServiceShell::OnConfigMessage(uintptr_t wParam, intptr_t lParam) {
    ConfigRequest request = DecodeConfigRequest(wParam, lParam);
    switch (request.kind) {
    case ConfigRequest::kApply: {
        DiagWrite(L"apply setting to keyboard!\n");
        // The writes take seconds; the reader may save meanwhile, so they work on a copy.
        auto snapshot = std::make_unique<SettingsBlock>();
        {
            std::lock_guard<std::mutex> guard(lock_);
            ports_.store.Load(*block_);
            *snapshot = *block_;
        }
        ports_.device.ApplyAll(*snapshot);
        ports_.config.Post(0, kConfigApplyDone);
        break;
    }
    case ConfigRequest::kSelectProfile: {
        SendProfileCommand(request.profile);
        std::lock_guard<std::mutex> guard(lock_);
        block_->CurrentProfile = request.profile;
        break;
    }
    case ConfigRequest::kIgnore:
        break;
    }
}

void ServiceShell::CheckForegroundProfiles() {
    if (!DevicePresent())
        return;
    for (int i = 0; i < kProfileCount; ++i) {
        std::wstring gameFile;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (i == block_->CurrentProfile)
                continue;
            gameFile = FieldText(block_->profiles[i].GameFile);
        }
        if (gameFile.empty() || !tracker_.IsForegroundProgram(gameFile))
            continue;
        SendProfileCommand(i);
        {
            std::lock_guard<std::mutex> guard(lock_);
            block_->CurrentProfile = i;
            SaveLocked();
        }
        ports_.config.Post(static_cast<uintptr_t>(i), kConfigProfileChanged);
    }
}

bool ServiceShell::ForegroundSwitchingPossible() {
    if (!DevicePresent())
        return false;
    std::lock_guard<std::mutex> guard(lock_);
    for (int i = 0; i < kProfileCount; ++i) {
        if (i != block_->CurrentProfile && block_->profiles[i].GameFile[0] != 0)
            return true;
    }
    return false;
}

void ServiceShell::OpenConfigurationProgram() {
    if (!ports_.config.Exists())
        ports_.config.Launch();
}

void ServiceShell::OnExitCommand() {
    ports_.tray.Remove();
    ports_.config.PostQuit();
}

void ServiceShell::OnInputReport(const uint8_t* report, size_t transferred) {
    WriteReadDiagnostic(report, 4);
    InputEvent event = DecodeInputReport(report, transferred);
    if (event.kind == InputEventKind::None || !ports_.config.Exists())
        return;
    InputEventNotice notice{};
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!ApplyInputEvent(*block_, event, notice))
            return;
        SaveLocked();
    }
    ports_.config.Post(notice.wParam, notice.lParam);
}
