// Everything the shell talks to in the running program: the HID platform and the
// device state, the settings files, the configuration window, the tray icon, the
// pauses and the foreground probe.
#pragma once

#include "service/device_state.h"
#include "service/hid_transport.h"
#include "service/shell/service_shell.h"
#include "service/shell/win32/foreground_probe_win32.h"
#include "service/shell/win32/reader_thread_win32.h"
#include "service/shell/win32/shell_ports_win32.h"
#include "service/win32/hid_platform_win32.h"
#include "service/win32/pauser_win32.h"

#include <string>

// The keyboard through the protocol core.
class Win32Device : public ShellDevice {
public:
    Win32Device(HidPlatform& platform, DeviceState& state)
        : platform_(platform), state_(state), transport_(platform, state) {}
    bool Search() override;
    void SendCommand(const uint8_t command[8]) override;
    void QueryFirmwareVersion() override;
    int ReadCurrentProfile() override;
    void ApplyAll(const SettingsBlock& block) override;
    void Close();

private:
    HidPlatform& platform_;
    DeviceState& state_;
    DeviceTransport transport_;
};

class Win32SettingsStore : public SettingsStore {
public:
    std::wstring Folder() override;
    void Load(SettingsBlock& block) override;
    void Save(const SettingsBlock& block) override;
    void Init(SettingsBlock& block) override;
};

// The reader exists only after the shell; the shell's port forwards to it.
class ReaderForward : public ReaderThread {
public:
    void Attach(ReaderThread* reader) { reader_ = reader; }
    void Release() override {
        if (reader_)
            reader_->Release();
    }

private:
    ReaderThread* reader_ = nullptr;
};

struct TremoPorts {
    explicit TremoPorts(const std::wstring& programFolder) : config(programFolder) {}
    ServiceShell::Ports ShellPorts() { return {device, store, config, tray, reader, pauses, foreground}; }
    void CloseDevice() { device.Close(); }

    Win32HidPlatform platform;
    DeviceState deviceState;
    Win32Device device{platform, deviceState};
    Win32SettingsStore store;
    Win32ConfigWindow config;
    Win32TrayIcon tray;
    ReaderForward reader;
    Win32Pauses pauses;
    Win32ForegroundProbe foreground;
};
