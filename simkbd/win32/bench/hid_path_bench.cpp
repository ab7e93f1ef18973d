// What the simulated keyboard's cable costs under Wine: a feature write and read back,
// an output report, a key press until the overlapped read completes, and unplug and
// plug until the platform's notices arrive. Run in a simulation without Tremo
// (scripts/sim start --no-tremo; scripts/sim exec simkbd_hid_path_bench.exe).
#include <windows.h>

#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "simkbd/win32/control/host_client.h"
#include "simkbd/win32/control/sim_devices.h"
#include "simkbd/win32/sim_wire.h"

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
    if (ms.empty()) {
        std::printf("%-44s no samples\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-44s n=%3zu  mean %8.3f ms  median %8.3f ms  max %8.3f ms\n", what, ms.size(),
                sum / ms.size(), ms[ms.size() / 2], ms.back());
    std::fflush(stdout);
}

HANDLE Open(USHORT page, DWORD access, DWORD flags) {
    for (const SimHidCollection& c : FindSimCollections())
        if (c.usagePage == page)
            return CreateFileW(c.path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, flags, nullptr);
    return INVALID_HANDLE_VALUE;
}

int notices[2]; // arrivals, removals

LRESULT CALLBACK NoticeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) noexcept {
    if (m == WM_DEVICECHANGE && lp &&
        reinterpret_cast<DEV_BROADCAST_HDR*>(lp)->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        if (wp == DBT_DEVICEARRIVAL)
            ++notices[0];
        if (wp == DBT_DEVICEREMOVECOMPLETE)
            ++notices[1];
    }
    return DefWindowProcW(w, m, wp, lp);
}

bool Pump(int& count, int want, DWORD ms) {
    ULONGLONG deadline = GetTickCount64() + ms;
    while (count < want && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return count >= want;
}

} // namespace

int wmain() {
    std::string reply;
    if (FindSimCollections().size() != 2 || AskHost(SimMsgClearJournal, "", reply) != HostReply::Ok) {
        std::fprintf(stderr, "the simulated keyboard is not plugged in\n");
        return 1;
    }
    HANDLE command = Open(0xFF01, GENERIC_READ | GENERIC_WRITE, 0);
    uint8_t query[9] = {0, 0x80, 0, 0, 0, 0, 0, 0, 0x80 ^ 0xAA};
    std::vector<double> feature, output, input, arrival, removal;
    for (int i = 0; i < 200; ++i) {
        uint8_t answer[9] = {};
        double t0 = NowMs();
        if (HidD_SetFeature(command, query, sizeof(query)) &&
            HidD_GetFeature(command, answer, sizeof(answer)))
            feature.push_back(NowMs() - t0);
    }
    Report("feature write + feature read", feature);
    uint8_t report[65] = {};
    uint8_t header[9] = {0, 0x0B, 0, 0, 0x1E, 0, 0, 0, (0x0B + 0x1E) ^ 0xAA};
    for (int i = 0; i < 200; ++i) {
        DWORD written = 0;
        HidD_SetFeature(command, header, sizeof(header));
        double t0 = NowMs();
        if (WriteFile(command, report, sizeof(report), &written, nullptr) && written == sizeof(report))
            output.push_back(NowMs() - t0);
    }
    Report("output report (65 bytes)", output);
    CloseHandle(command);

    HANDLE events = Open(0xFF00, GENERIC_READ, FILE_FLAG_OVERLAPPED);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (int i = 0; i < 50; ++i) {
        uint8_t buffer[8];
        ResetEvent(ov.hEvent);
        if (!ReadFile(events, buffer, sizeof(buffer), nullptr, &ov) && GetLastError() != ERROR_IO_PENDING)
            break;
        double t0 = NowMs();
        AskHost(SimMsgPressProfile, std::to_string(i % 4), reply);
        DWORD n = 0;
        if (WaitForSingleObject(ov.hEvent, 5000) == WAIT_OBJECT_0 &&
            GetOverlappedResult(events, &ov, &n, FALSE))
            input.push_back(NowMs() - t0);
    }
    Report("key press until the overlapped read completes", input);
    CloseHandle(ov.hEvent);
    CloseHandle(events);

    WNDCLASSW wc{};
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HidPathBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    HDEVNOTIFY notify = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    std::vector<double> unplugRun, plugRun;
    for (int i = 0; i < 5; ++i) {
        notices[0] = notices[1] = 0;
        double t0 = NowMs();
        RunSimControl(L"unplug");
        unplugRun.push_back(NowMs() - t0);
        if (Pump(notices[1], 2, 5000))
            removal.push_back(NowMs() - t0);
        t0 = NowMs();
        RunSimControl(L"plug");
        plugRun.push_back(NowMs() - t0);
        if (Pump(notices[0], 2, 10000))
            arrival.push_back(NowMs() - t0);
    }
    Report("simctl unplug (both devices gone)", unplugRun);
    Report("unplug until both removal notices", removal);
    Report("simctl plug (both devices started)", plugRun);
    Report("plug until both arrival notices", arrival);
    UnregisterDeviceNotification(notify);
    DestroyWindow(window);
    AskHost(SimMsgClearJournal, "", reply);
    return 0;
}
