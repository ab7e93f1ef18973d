// simctl: the control program of the simulated keyboard, for scripts/sim, the tests
// and a person trying the system without a keyboard. It plugs and unplugs the two
// root-enumerated HID devices, talks to the host process, and stands in for the
// configuration program's window.
#include <windows.h>

#include <cfgmgr32.h>
#include <devguid.h>
#include <newdev.h>
#include <setupapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "simkbd/win32/control/host_client.h"
#include "simkbd/win32/control/sim_devices.h"
#include "simkbd/win32/sim_wire.h"
#include "settings/program_link.h"

namespace {

constexpr wchar_t kDriverFile[] = L"tremosimkbd.sys";
constexpr wchar_t kInfFile[] = L"tremosimkbd.inf";

// Interface numbers: the platform lists the devices in the order of their IDs, and
// the service's search stops at the command collection, so the event collection is
// interface 0, as the keyboard lists it.
constexpr int kCollections[2] = {0, 1};

std::wstring DeviceId(int collection) {
    wchar_t id[64];
    swprintf(id, 64, L"ROOT\\VID_%04X&PID_%04X&MI_%02d", TREMO_VID, TREMO_PID, collection);
    return id;
}

std::wstring InstanceId(int collection) { return DeviceId(collection) + L"\\0000"; }

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

int Fail(const char* what) {
    std::fprintf(stderr, "simctl: %s (error %lu)\n", what, GetLastError());
    return 1;
}

// The driver binary goes where its service entry points: the system drivers folder.
bool CopyDriver() {
    wchar_t system[MAX_PATH];
    if (!GetSystemDirectoryW(system, MAX_PATH))
        return false;
    std::wstring target = std::wstring(system) + L"\\drivers\\" + kDriverFile;
    if (CopyFileW((ProgramFolder() + kDriverFile).c_str(), target.c_str(), FALSE))
        return true;
    // Once loaded, the driver stays loaded in this prefix and its file stays in use.
    return GetLastError() == ERROR_SHARING_VIOLATION &&
           GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DeviceExists(int collection) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof(data);
    bool found = SetupDiOpenDeviceInfoW(set, InstanceId(collection).c_str(), nullptr, 0, &data) != 0;
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

bool AddDevice(int collection, const std::wstring& inf) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_HIDCLASS, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof(data);
    std::wstring hardwareIds = DeviceId(collection);
    hardwareIds.push_back(L'\0');
    bool ok = SetupDiCreateDeviceInfoW(set, InstanceId(collection).c_str(), &GUID_DEVCLASS_HIDCLASS, nullptr,
                                       nullptr, 0, &data) &&
              SetupDiSetDeviceRegistryPropertyW(
                  set, &data, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(hardwareIds.c_str()),
                  static_cast<DWORD>((hardwareIds.size() + 1) * sizeof(wchar_t))) &&
              SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &data);
    SetupDiDestroyDeviceInfoList(set);
    BOOL reboot = FALSE;
    return ok && UpdateDriverForPlugAndPlayDevicesW(nullptr, DeviceId(collection).c_str(), inf.c_str(),
                                                    INSTALLFLAG_FORCE, &reboot);
}

bool RemoveDevice(int collection) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof(data);
    bool ok = SetupDiOpenDeviceInfoW(set, InstanceId(collection).c_str(), nullptr, 0, &data) &&
              SetupDiCallClassInstaller(DIF_REMOVE, set, &data);
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

template <typename Condition> bool WaitUntil(Condition done, DWORD ms) {
    ULONGLONG deadline = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(10);
    }
    return true;
}

bool HostSaysPlugged() {
    std::string reply;
    return AskHost(SimMsgStatus, "", reply) == HostReply::Ok && reply == "plugged 1\n";
}

int Plug() {
    if (!CopyDriver())
        return Fail("cannot copy the driver into the system drivers folder");
    std::wstring inf = ProgramFolder() + kInfFile;
    for (int collection : kCollections)
        if (!DeviceExists(collection) && !AddDevice(collection, inf))
            return Fail("cannot add the device");
    // Plugged in means both collections listed and the event collection connected.
    if (!WaitUntil([] { return FindSimCollections().size() == 2 && HostSaysPlugged(); }, 10000)) {
        std::fprintf(stderr, "simctl: the keyboard's devices did not start\n");
        return 1;
    }
    return 0;
}

int Unplug() {
    int result = 0;
    for (int collection : kCollections)
        if (DeviceExists(collection) && !RemoveDevice(collection))
            result = Fail("cannot remove the device");
    // Unplugged means gone from the list and the host no longer connected to the event collection,
    // so that a key pressed afterwards is refused rather than lost.
    if (!result && !WaitUntil([] { return FindSimCollections().empty() && !HostSaysPlugged(); }, 10000)) {
        std::fprintf(stderr, "simctl: the keyboard's devices are still listed\n");
        return 1;
    }
    return result;
}

// One request to the host; prints the reply text. Exit code 1 when it refused or is absent.
int Ask(uint8_t kind, const std::string& argument, DWORD waitMs = 2000) {
    std::string reply;
    HostReply result = AskHost(kind, argument, reply, waitMs);
    if (result == HostReply::NotRunning) {
        std::fprintf(stderr, "simctl: the simulated keyboard is not running\n");
        return 1;
    }
    if (result == HostReply::Broken)
        return Fail("no answer from the simulated keyboard");
    std::fwrite(reply.data(), 1, reply.size(), result == HostReply::Ok ? stdout : stderr);
    std::fflush(stdout);
    return result == HostReply::Ok ? 0 : 1;
}

LRESULT CALLBACK ListenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kConfigMessage) {
        std::printf("1224 %llu %lld\n", static_cast<unsigned long long>(wParam),
                    static_cast<long long>(lParam));
        std::fflush(stdout);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in configuration window: prints each 1224 and the quit message as they come.
int Listen(double seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ListenProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TremoSimListener";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, kConfigWindowTitle, WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (!window)
        return Fail("cannot create the window");
    std::fprintf(stderr, "listening\n");
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT) ==
            WAIT_TIMEOUT)
            break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                std::printf("quit\n");
                std::fflush(stdout);
                DestroyWindow(window);
                return 0;
            }
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(window);
    return 0;
}

int Post(const wchar_t* wParam, const wchar_t* lParam) {
    HWND window = FindWindowW(nullptr, kServiceWindowTitle);
    if (!window) {
        std::fprintf(stderr, "simctl: no window \"%ls\"\n", kServiceWindowTitle);
        return 1;
    }
    return PostMessageW(window, kConfigMessage, static_cast<WPARAM>(wcstoull(wParam, nullptr, 0)),
                        static_cast<LPARAM>(wcstoll(lParam, nullptr, 0)))
               ? 0
               : Fail("cannot post the message");
}

int WaitWindow(const wchar_t* title, double seconds) {
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (!FindWindowW(nullptr, title)) {
        if (GetTickCount64() >= deadline)
            return 1;
        Sleep(20);
    }
    return 0;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text)
        out.push_back(static_cast<char>(*text));
    return out;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: simctl plug | unplug | press-profile N | press-effect CODE | journal | state\n"
                 "              | clear-journal | status | quit | wait-host SECONDS\n"
                 "              | listen SECONDS | post WPARAM LPARAM | wait-window TITLE SECONDS\n");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::wstring command = argv[1];
    if (command == L"plug")
        return Plug();
    if (command == L"unplug")
        return Unplug();
    if (command == L"press-profile" && argc == 3)
        return Ask(SimMsgPressProfile, Narrow(argv[2]));
    if (command == L"press-effect" && argc == 3)
        return Ask(SimMsgPressEffect, Narrow(argv[2]));
    if (command == L"journal")
        return Ask(SimMsgJournal, "");
    if (command == L"state")
        return Ask(SimMsgState, "");
    if (command == L"clear-journal")
        return Ask(SimMsgClearJournal, "");
    if (command == L"status")
        return Ask(SimMsgStatus, "");
    if (command == L"quit")
        return Ask(SimMsgQuit, "", 0);
    if (command == L"wait-host" && argc == 3) {
        return WaitForHost(static_cast<DWORD>(wcstod(argv[2], nullptr) * 1000)) ? 0 : 1;
    }
    if (command == L"listen" && argc == 3)
        return Listen(wcstod(argv[2], nullptr));
    if (command == L"post" && argc == 4)
        return Post(argv[2], argv[3]);
    if (command == L"wait-window" && argc == 4)
        return WaitWindow(argv[2], wcstod(argv[3], nullptr));
    Usage();
    return 2;
}
