#include "service/shell/win32/tremo_ports.h"

#include "service/apply.h"
#include "service/report_protocol.h"
#include "settings/settings_files.h"

#include <cstring>

bool Win32Device::Search() {
    if (EnumHidMouse(platform_, state_) == 1)
        return true;
    state_.DevicePresent = 0;
    return false;
}

void Win32Device::SendCommand(const uint8_t command[8]) {
    uint8_t copy[kCommandSize];
    std::memcpy(copy, command, kCommandSize);
    SendFeatureCommand(transport_, copy);
}

void Win32Device::QueryFirmwareVersion() { GetFwVersion(transport_); }

int Win32Device::ReadCurrentProfile() { return ReadCurProfile(transport_); }

void Win32Device::ApplyAll(const SettingsBlock& block) {
    // The fine timer resolution the pauses need costs power, so it lasts only as long as an apply.
    Win32Pauser pauser;
    WriteAllSettings(transport_, pauser, block);
}

void Win32Device::Close() { ::CloseDevice(platform_, state_); }

std::wstring Win32SettingsStore::Folder() { return SettingsFolder(); }
void Win32SettingsStore::Load(SettingsBlock& block) { LoadSettings(block); }
void Win32SettingsStore::Save(const SettingsBlock& block) { SaveSettings(block); }
void Win32SettingsStore::Init(SettingsBlock& block) { InitSetting(block); }
