// Cost of one full apply. Natively (and by default): encode and write all reports
// to the simulated keyboard with the pauses counted on a virtual clock. With
// --real on Windows: the wall time of one apply with real pauses through the
// service's device transport (writes fail fast when no keyboard is attached);
// --plain-sleep does the same with one Sleep per pause at the default timer
// resolution, for comparison.
#include "service/apply.h"
#include "service/testing/sim_transport.h"
#include "settings/diag.h"
#include "settings/factory_defaults.h"

#ifdef _WIN32
#include <windows.h>

#include "service/win32/hid_platform_win32.h"
#include "service/win32/pauser_win32.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void Quiet(const std::wstring&) {}

class NoPause : public Pauser {
public:
    void Pause(uint32_t ms) override { total += ms; }
    uint64_t total = 0;
};

int SimulatedApplies(int rounds) {
    auto settings = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*settings);
    settings->profiles[1].standardkey[44] = 0xE0;
    auto load = [&](SettingsBlock& s) { s = *settings; };
    std::vector<double> times;
    size_t reports = 0;
    NoPause pauses;
    for (int i = 0; i < rounds; ++i) {
        SimKeyboard keyboard;
        SimTransport device(keyboard);
        pauses.total = 0;
        auto start = std::chrono::steady_clock::now();
        ApplyAllSettings(device, pauses, load, {});
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        times.push_back(ms);
        reports = keyboard.Journal().size();
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("apply without pauses (simulated keyboard, %zu reports, %llu ms of pauses counted): "
                "best %.3f ms, median %.3f ms, mean %.3f ms over %d rounds\n",
                reports, static_cast<unsigned long long>(pauses.total), times.front(),
                times[times.size() / 2], sum / rounds, rounds);
    return 0;
}

#ifdef _WIN32
class PlainSleep : public Pauser {
public:
    void Pause(uint32_t ms) override { ::Sleep(ms); }
};

int RealPauses(int rounds, bool plain) {
    auto settings = std::make_unique<SettingsBlock>();
    ResetAllProfiles(*settings);
    auto load = [&](SettingsBlock& s) { s = *settings; };
    Win32HidPlatform platform;
    DeviceState state;
    int found = EnumHidMouse(platform, state);
    DeviceTransport device(platform, state);
    for (int i = 0; i < rounds; ++i) {
        Win32Pauser pauser;
        PlainSleep plainSleep;
        Pauser& pauses = plain ? static_cast<Pauser&>(plainSleep) : pauser;
        auto start = std::chrono::steady_clock::now();
        ApplyAllSettings(device, pauses, load, {});
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("apply with %s (keyboard %s): %.1f ms against 5400 ms (%+.2f %%)\n",
                    plain ? "one plain Sleep per pause" : "Win32Pauser", found ? "present" : "absent", ms,
                    (ms - 5400.0) / 54.0);
    }
    CloseDevice(platform, state);
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv) {
    SetDiagSink(Quiet);
    bool real = false, plain = false;
    int rounds = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--real") == 0)
            real = true;
        else if (std::strcmp(argv[i], "--plain-sleep") == 0)
            real = plain = true;
        else
            rounds = std::atoi(argv[i]);
    }
    if (rounds <= 0)
        rounds = real ? 3 : 1000;
#ifdef _WIN32
    if (real)
        return RealPauses(rounds, plain);
#else
    if (real) {
        std::printf("--real needs the Windows build\n");
        return 1;
    }
#endif
    return SimulatedApplies(rounds);
}
