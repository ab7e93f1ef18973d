// Benchmarks of the service's foreground switching, run inside Wine:
//   checks ROUNDS N...   cost of one foreground check with N extra processes running:
//                        the walk over every process (open each, read its first module)
//                        beside asking the foreground window's own process, uncached
//                        and remembered
//   latency ROUNDS       from this program coming to the foreground (it is linked to
//                        profile 1) to the service's 1224 (1, 20); this program's
//                        window also stands in for the configuration program
//   idle-link            links four profiles to four programs that do not run
// Helper modes (started by the above): sleep, hold.
#include "service/shell/foreground.h"
#include "service/shell/win32/foreground_probe_win32.h"
#include "settings/diag.h"
#include "settings/settings_files.h"
#include "settings/text_utf16.h"
#include "settings/program_link.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kStopEvent[] = L"TremoBenchStop";

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

HANDLE Spawn(const std::wstring& exe, const std::wstring& args) {
    std::wstring line = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

int Sleeper() {
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, kStopEvent);
    if (!stop)
        return 1;
    WaitForSingleObject(stop, 600000);
    return 0;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) noexcept {
    return DefWindowProcW(w, m, wp, lp);
}

HWND MakeWindow(const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TremoBenchWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 100, 100, 200, 150,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return window;
}

void Pump(double ms) {
    double end = NowMs() + ms;
    while (NowMs() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

// A window of another program (another image path) that holds the foreground.
int Hold() {
    HWND window = MakeWindow(L"Tremo bench other program");
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, kStopEvent);
    while (stop && WaitForSingleObject(stop, 0) == WAIT_TIMEOUT)
        Pump(50);
    DestroyWindow(window);
    return 0;
}

void DiscardDiag(const std::wstring&) {}

// One check as the walk does it: every process opened, its first module read, one
// diagnostic line each, until the foreground process with the path is met.
bool WalkCheck(const std::wstring& path) {
    std::vector<DWORD> ids(1024);
    DWORD bytes = 0;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes))
        return false;
    HWND foreground = GetForegroundWindow();
    for (size_t i = 0; i < bytes / sizeof(DWORD); ++i) {
        if (ids[i] == 0)
            continue;
        wchar_t name[MAX_PATH] = L"<unknown>";
        wchar_t full[MAX_PATH] = L"<unknown>";
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process) {
            HMODULE module;
            DWORD needed;
            if (EnumProcessModules(process, &module, sizeof module, &needed)) {
                GetModuleBaseNameW(process, module, name, MAX_PATH);
                GetModuleFileNameExW(process, module, full, MAX_PATH);
            }
        }
        DWORD foregroundId = 0;
        DWORD thread = GetWindowThreadProcessId(foreground, &foregroundId);
        DiagPrintf(L"processID:%x;WindowThreadProcessId:%x  dWNThreadID=%x\n", ids[i], foregroundId, thread);
        bool match = PathsEqualIgnoringCase(full, path) && ids[i] == foregroundId;
        if (process)
            CloseHandle(process);
        if (match)
            return true;
    }
    return false;
}

struct Figures {
    double walkMs, uncachedUs, cachedUs;
};

Figures Measure(int rounds, const std::wstring& linked) {
    Figures f{};
    // The walk looks for a program that is not in the foreground, so it visits every process.
    double t = NowMs();
    int walks = std::max(1, rounds / 100);
    for (int i = 0; i < walks; ++i)
        WalkCheck(L"C:\\not\\running.exe");
    f.walkMs = (NowMs() - t) / walks;

    t = NowMs();
    for (int i = 0; i < rounds; ++i) {
        Win32ForegroundProbe probe;
        ForegroundTracker tracker(probe);
        tracker.IsForegroundProgram(linked);
    }
    f.uncachedUs = 1000.0 * (NowMs() - t) / rounds;

    Win32ForegroundProbe probe;
    ForegroundTracker tracker(probe);
    tracker.IsForegroundProgram(linked);
    t = NowMs();
    for (int i = 0; i < rounds; ++i)
        tracker.IsForegroundProgram(linked);
    f.cachedUs = 1000.0 * (NowMs() - t) / rounds;
    return f;
}

int Checks(int rounds, const std::vector<int>& counts) {
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kStopEvent);
    HWND window = MakeWindow(L"Tremo bench");
    Pump(200);
    std::wstring self = OwnPath();
    std::vector<HANDLE> children;
    std::printf(
        "extra processes | processes listed | walk (ms/check) | direct, uncached (us) | direct, remembered "
        "(us)\n");
    for (int count : counts) {
        while (static_cast<int>(children.size()) < count) {
            HANDLE child = Spawn(self, L"sleep");
            if (!child)
                break;
            children.push_back(child);
        }
        // Let the new processes finish starting before anything is timed.
        Sleep(2000 + 50 * static_cast<DWORD>(children.size()));
        std::vector<DWORD> ids(1024);
        DWORD bytes = 0;
        EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes);
        SetForegroundWindow(window);
        Pump(100);
        Figures f = Measure(rounds, self);
        std::printf("%15d | %16lu | %15.2f | %21.1f | %23.2f\n", static_cast<int>(children.size()),
                    static_cast<unsigned long>(bytes / sizeof(DWORD)), f.walkMs, f.uncachedUs, f.cachedUs);
        std::fflush(stdout);
    }
    SetEvent(stop);
    for (HANDLE child : children) {
        WaitForSingleObject(child, 10000);
        CloseHandle(child);
    }
    DestroyWindow(window);
    return 0;
}

bool WaitForMessage(WPARAM wParam, LPARAM lParam, double timeoutMs, double* arrivedMs) {
    double end = NowMs() + timeoutMs;
    while (NowMs() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == kConfigMessage && msg.wParam == wParam && msg.lParam == lParam) {
                *arrivedMs = NowMs();
                return true;
            }
            DispatchMessageW(&msg);
        }
    }
    return false;
}

void LinkProfiles(const std::wstring (&paths)[4]) {
    auto block = std::make_unique<SettingsBlock>();
    LoadSettings(*block);
    for (int p = 0; p < 4; ++p)
        SetFieldText(block->profiles[p].GameFile, paths[p]);
    SaveSettings(*block);
}

int Latency(int rounds) {
    HWND service = FindWindowW(nullptr, kServiceWindowTitle);
    if (!service) {
        std::fprintf(stderr, "no service window\n");
        return 1;
    }
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kStopEvent);
    // Another program holds the foreground first.
    std::wstring self = OwnPath();
    std::wstring other = self.substr(0, self.find_last_of(L'\\') + 1) + L"bench_other_program.exe";
    CopyFileW(self.c_str(), other.c_str(), FALSE);
    HANDLE otherProcess = Spawn(other, L"hold");
    HWND window = MakeWindow(kConfigWindowTitle);
    Pump(500);
    HWND otherWindow = FindWindowW(nullptr, L"Tremo bench other program");
    if (!otherWindow) {
        std::fprintf(stderr, "the other program's window did not appear\n");
        return 1;
    }
    SetForegroundWindow(otherWindow);
    Pump(300);

    const std::wstring linked[4] = {L"", self, L"", L""};
    LinkProfiles(linked);
    double done = 0;
    PostMessageW(service, kConfigMessage, 0, 0);
    if (!WaitForMessage(0, 1, 30000, &done)) {
        std::fprintf(stderr, "the apply did not end\n");
        return 1;
    }
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        SetForegroundWindow(otherWindow);
        Pump(300);
        PostMessageW(service, kConfigMessage, 2, 0);
        Pump(300);
        double start = NowMs();
        SetForegroundWindow(window);
        double arrived = 0;
        if (WaitForMessage(1, 20, 3000, &arrived))
            samples.push_back(arrived - start);
        else
            std::printf("round %d: no switch within 3 s\n", i);
    }
    SetForegroundWindow(otherWindow);
    const std::wstring none[4] = {L"", L"", L"", L""};
    LinkProfiles(none);
    PostMessageW(service, kConfigMessage, 0, 0);
    WaitForMessage(0, 1, 30000, &done);
    SetEvent(stop);
    WaitForSingleObject(otherProcess, 5000);
    DeleteFileW(other.c_str());
    DestroyWindow(window);
    if (samples.empty())
        return 1;
    // The service saves the settings between sending the command and posting 1224: that
    // part of the figure is timed here on the same files.
    auto block = std::make_unique<SettingsBlock>();
    LoadSettings(*block);
    double saveStart = NowMs();
    for (int i = 0; i < 5; ++i)
        SaveSettings(*block);
    double saveMs = (NowMs() - saveStart) / 5;
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples)
        sum += s;
    std::printf("foreground -> 1224 (1, 20): %zu rounds, mean %.1f ms, median %.1f ms, max %.1f ms\n",
                samples.size(), sum / static_cast<double>(samples.size()), samples[samples.size() / 2],
                samples.back());
    std::printf("of which SaveSettings (after the command is sent): %.1f ms\n", saveMs);
    return 0;
}

int IdleLink() {
    const std::wstring paths[4] = {L"C:\\Games\\First\\first.exe", L"C:\\Games\\Second\\second.exe",
                                   L"C:\\Games\\Third\\third.exe", L"C:\\Games\\Fourth\\fourth.exe"};
    LinkProfiles(paths);
    HWND service = FindWindowW(nullptr, kServiceWindowTitle);
    if (!service)
        return 1;
    HWND window = MakeWindow(kConfigWindowTitle);
    PostMessageW(service, kConfigMessage, 0, 0);
    double done = 0;
    bool ok = WaitForMessage(0, 1, 30000, &done);
    DestroyWindow(window);
    return ok ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"sleep")
        return Sleeper();
    if (mode == L"hold")
        return Hold();
    if (mode == L"checks" && argc > 2) {
        SetDiagSink(DiscardDiag);
        std::vector<int> counts;
        for (int i = 3; i < argc; ++i)
            counts.push_back(_wtoi(argv[i]));
        if (counts.empty())
            counts = {0, 20, 200};
        return Checks(_wtoi(argv[2]), counts);
    }
    if (mode == L"latency")
        return Latency(argc > 2 ? _wtoi(argv[2]) : 10);
    if (mode == L"idle-link")
        return IdleLink();
    std::fprintf(stderr, "usage: tremo_bench checks ROUNDS [N...] | latency ROUNDS | idle-link\n");
    return 2;
}
