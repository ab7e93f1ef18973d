// Fakes of the shell's outside world. Every call is written to one log, so a test
// can check the order of the service's steps the way it checks a wire transcript.
#pragma once

#include "service/shell/foreground.h"
#include "service/shell/shell_ports.h"
#include "settings/factory_defaults.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct FakeLog {
    std::mutex m;
    std::vector<std::string> lines;
    void Add(const std::string& s) {
        std::lock_guard<std::mutex> g(m);
        lines.push_back(s);
    }
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> g(m);
        std::vector<std::string> out;
        out.swap(lines);
        return out;
    }
};

inline std::string Hex(const uint8_t* b, size_t n) {
    std::string s;
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", b[i]);
        s += buf;
    }
    return s;
}

struct FakeDevice : ShellDevice {
    FakeLog& log;
    std::vector<bool> searchResults; // consumed front to back; then `present`
    bool present = true;
    int currentProfile = 0;
    explicit FakeDevice(FakeLog& l) : log(l) {}
    bool Search() override {
        bool r = present;
        if (!searchResults.empty()) {
            r = searchResults.front();
            searchResults.erase(searchResults.begin());
        }
        log.Add(r ? "search found" : "search none");
        return r;
    }
    void SendCommand(const uint8_t c[8]) override { log.Add("cmd " + Hex(c, 8)); }
    void QueryFirmwareVersion() override { log.Add("fw"); }
    int ReadCurrentProfile() override {
        log.Add("readcur");
        return currentProfile;
    }
    void ApplyAll(const SettingsBlock& b) override {
        log.Add("apply current=" + std::to_string(b.CurrentProfile) +
                " polling0=" + std::to_string(b.profiles[0].PollingRate));
    }
};

// The files as the store holds them: a block that Save copies into and Load copies from.
struct FakeStore : SettingsStore {
    FakeLog& log;
    SettingsBlock files{};
    bool exists = false;
    int saves = 0;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    explicit FakeStore(FakeLog& l) : log(l) {}
    void Enter() {
        if (inside.fetch_add(1) != 0)
            overlapped = true;
    }
    void Leave() { inside.fetch_sub(1); }
    std::wstring Folder() override { return L"C:\\users\\u\\AppData\\Roaming\\Dravex Orsel RGB\\"; }
    void Load(SettingsBlock& b) override {
        Enter();
        log.Add("load");
        b = files;
        Leave();
    }
    void Save(const SettingsBlock& b) override {
        Enter();
        log.Add("save current=" + std::to_string(b.CurrentProfile) +
                " plugin=" + std::to_string(b.tail.KeyboardPlugIn));
        files = b;
        exists = true;
        ++saves;
        Leave();
    }
    void Init(SettingsBlock& b) override {
        log.Add(exists ? "init load" : "init create");
        if (exists) {
            b = files;
        } else {
            b = SettingsBlock{};
            ResetAllProfiles(b);
            b.CurrentProfile = 0;
            files = b;
            exists = true;
        }
    }
};

struct FakeConfig : ConfigWindow {
    FakeLog& log;
    std::atomic<bool> exists{true};
    explicit FakeConfig(FakeLog& l) : log(l) {}
    bool Exists() override { return exists; }
    void Post(uintptr_t w, intptr_t l) override {
        if (exists)
            log.Add("post " + std::to_string(w) + "," + std::to_string(l));
    }
    void PostQuit() override {
        if (exists)
            log.Add("quit");
    }
    void Launch() override { log.Add("launch"); }
};

struct FakeTray : TrayIcon {
    FakeLog& log;
    explicit FakeTray(FakeLog& l) : log(l) {}
    void Add() override { log.Add("tray add"); }
    void Remove() override { log.Add("tray remove"); }
};

struct FakeReader : ReaderThread {
    FakeLog& log;
    bool released = false;
    explicit FakeReader(FakeLog& l) : log(l) {}
    void Release() override {
        if (!released)
            log.Add("reader released");
        released = true;
    }
};

struct FakePauses : Pauses {
    FakeLog& log;
    explicit FakePauses(FakeLog& l) : log(l) {}
    void SleepMs(unsigned ms) override { log.Add("sleep " + std::to_string(ms)); }
};

struct FakeProbe : ForegroundProbe {
    uintptr_t foregroundWindow = 0;
    std::map<uintptr_t, uint32_t> windowOwners;
    std::map<uint32_t, std::wstring> paths; // processes that can be queried
    int queries = 0;
    int windowCalls = 0;
    int ownerCalls = 0;
    // A window of that process comes to the foreground (window n of it, if it has several).
    void SetForeground(uint32_t processId, int n = 0) {
        foregroundWindow = processId ? 1000 * processId + static_cast<uintptr_t>(n) : 0;
        windowOwners[foregroundWindow] = processId;
    }
    uintptr_t ForegroundWindow() override {
        ++windowCalls;
        return foregroundWindow;
    }
    Owner WindowOwner(uintptr_t window) override {
        ++ownerCalls;
        return {windowOwners[window], 7};
    }
    bool ImagePath(uint32_t id, std::wstring& path) override {
        ++queries;
        auto it = paths.find(id);
        if (it == paths.end())
            return false;
        path = it->second;
        return true;
    }
};
