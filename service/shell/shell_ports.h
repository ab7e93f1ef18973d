// The outside world of the service shell, as small interfaces: the keyboard, the
// settings files, the configuration program's window, the tray icon, the reader
// thread and the pauses. The Win32 program implements them in win32/; the tests use fakes.
#pragma once

#include "settings/settings_block.h"

#include <cstdint>
#include <string>

class ShellDevice {
public:
    virtual ~ShellDevice() = default;
    // One search for the keyboard (opens its handles); true when the command collection was opened.
    virtual bool Search() = 0;
    virtual void SendCommand(const uint8_t command[8]) = 0;
    virtual void QueryFirmwareVersion() = 0;
    virtual int ReadCurrentProfile() = 0;
    // Writes everything in the block to the keyboard (performance, keys, macros, lighting,
    // active profile) with the protocol's pauses. The block is a snapshot owned by the caller.
    virtual void ApplyAll(const SettingsBlock& block) = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::wstring Folder() = 0;
    virtual void Load(SettingsBlock& block) = 0;
    virtual void Save(const SettingsBlock& block) = 0;
    // First-start check: loads the files, or creates them with factory values.
    virtual void Init(SettingsBlock& block) = 0;
};

// The window titled "Dravex Orsel RGB Keyboard", looked up afresh on every call.
class ConfigWindow {
public:
    virtual ~ConfigWindow() = default;
    virtual bool Exists() = 0;
    virtual void Post(uintptr_t wParam, intptr_t lParam) = 0; // message 1224, only if it exists
    virtual void PostQuit() = 0;                              // only if it exists
    virtual void Launch() = 0;                                // starts the configuration program
};

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void Add() = 0;
    virtual void Remove() = 0;
};

class ReaderThread {
public:
    virtual ~ReaderThread() = default;
    // Lets the reader run; it was created suspended. Called again when it already runs: no effect.
    virtual void Release() = 0;
};

class Pauses {
public:
    virtual ~Pauses() = default;
    virtual void SleepMs(unsigned ms) = 0;
};
