// The simulated keyboard as a Windows program sees it, through the platform's own
// HID stack: found by SetupDi and HidD/HidP, feature and output reports reaching the
// keyboard's journal, input reports through an overlapped read, unplug and plug
// with their device notices. Runs in a prefix of its own that scripts/sim prepared
// with the keyboard plugged in; the cases run in order and share that keyboard.
#include <windows.h>

#include <dbt.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "simkbd/sim_keyboard.h"
#include "simkbd/win32/control/host_client.h"
#include "simkbd/win32/control/sim_devices.h"
#include "simkbd/win32/sim_wire.h"

namespace {

using Collection = SimHidCollection;

std::vector<Collection> OurCollections() { return FindSimCollections(); }

const Collection* Find(const std::vector<Collection>& all, USAGE page) {
    for (const Collection& c : all)
        if (c.usagePage == page && c.usage == 1)
            return &c;
    return nullptr;
}

std::wstring PathOf(USAGE page) {
    std::vector<Collection> all = OurCollections();
    const Collection* c = Find(all, page);
    return c ? c->path : std::wstring();
}

std::string Hex(const uint8_t* data, size_t n) {
    std::string out;
    char two[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(two, sizeof(two), "%02X", data[i]);
        out += two;
    }
    return out;
}

std::vector<std::string> JournalLines() {
    std::string text;
    EXPECT_EQ(AskHost(SimMsgJournal, "", text), HostReply::Ok);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] != '#')
            lines.push_back(line.substr(0, line.find(" @")));
        start = end + 1;
    }
    return lines;
}

// The feature report of an 8-byte command: report ID 0, the command, its checksum.
std::vector<uint8_t> FeatureReport(std::initializer_list<uint8_t> command) {
    std::vector<uint8_t> report(kSimFeatureReportLength, 0);
    unsigned sum = 0, i = 1;
    for (uint8_t c : command) {
        report[i++] = c;
        sum += c;
    }
    report[8] = static_cast<uint8_t>((sum & 0xFF) ^ 0xAA);
    return report;
}

HANDLE OpenCommand() {
    std::wstring path = PathOf(kSimUsagePage_Command);
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

HANDLE OpenEvents() {
    std::wstring path = PathOf(kSimUsagePage_Event);
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A window that records the HID interface arrivals and removals the platform announces.
struct NoticeWindow {
    HWND window = nullptr;
    HDEVNOTIFY notify = nullptr;
    static int arrivals, removals;

    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) noexcept {
        if (m == WM_DEVICECHANGE && lp &&
            reinterpret_cast<DEV_BROADCAST_HDR*>(lp)->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            if (wp == DBT_DEVICEARRIVAL)
                ++arrivals;
            if (wp == DBT_DEVICEREMOVECOMPLETE)
                ++removals;
        }
        return DefWindowProcW(w, m, wp, lp);
    }

    NoticeWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HidPathNotices";
        RegisterClassW(&wc);
        window = CreateWindowW(wc.lpszClassName, L"notices", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof(filter);
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        HidD_GetHidGuid(&filter.dbcc_classguid);
        notify = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        arrivals = removals = 0;
    }
    ~NoticeWindow() {
        UnregisterDeviceNotification(notify);
        DestroyWindow(window);
    }
    // Pumps messages until `count` reaches `want` or the time is up.
    bool WaitFor(const int& count, int want, DWORD ms) {
        ULONGLONG deadline = GetTickCount64() + ms;
        while (count < want && GetTickCount64() < deadline) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        return count >= want;
    }
};
int NoticeWindow::arrivals = 0;
int NoticeWindow::removals = 0;

TEST(HidPath, BothCollectionsFoundByVendorAndProductEventsFirst) {
    std::vector<Collection> ours = OurCollections();
    ASSERT_EQ(ours.size(), 2u);

    const Collection* command = Find(ours, kSimUsagePage_Command);
    const Collection* events = Find(ours, kSimUsagePage_Event);
    ASSERT_NE(command, nullptr);
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(command->featureLength, kSimFeatureReportLength);
    EXPECT_EQ(command->outputLength, kSimOutputReportLength);
    EXPECT_EQ(events->inputLength, kSimInputReportLength);
    // The service's search stops at the command collection, so events must come first.
    EXPECT_EQ(ours[0].usagePage, kSimUsagePage_Event);
}

TEST(HidPath, DeviceStringsComeFromTheDriver) {
    HANDLE file = CreateFileW(PathOf(kSimUsagePage_Command).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    wchar_t text[128] = {};
    EXPECT_TRUE(HidD_GetManufacturerString(file, text, sizeof(text)));
    EXPECT_STREQ(text, L"Dravex");
    EXPECT_TRUE(HidD_GetProductString(file, text, sizeof(text)));
    EXPECT_STREQ(text, L"Orsel RGB Gaming Keyboard (simulated)");
    CloseHandle(file);
}

TEST(HidPath, FeatureWriteAndReadBackReachTheKeyboard) {
    std::string reply;
    ASSERT_EQ(AskHost(SimMsgClearJournal, "", reply), HostReply::Ok);
    HANDLE file = OpenCommand();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> query = FeatureReport({0x80, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(HidD_SetFeature(file, query.data(), static_cast<ULONG>(query.size())));
    uint8_t answer[kSimFeatureReportLength] = {};
    ASSERT_TRUE(HidD_GetFeature(file, answer, sizeof(answer)));
    CloseHandle(file);
    std::vector<std::string> journal = JournalLines();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0], "F " + Hex(query.data(), query.size()));
    EXPECT_EQ(journal[1], "R " + Hex(answer, sizeof(answer)));
    EXPECT_EQ(answer[0], 0);
    EXPECT_EQ(answer[1], 0x80);
}

TEST(HidPath, OutputReportArrivesWhole) {
    HANDLE file = OpenCommand();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> header = FeatureReport({0x0B, 0, 0, 0x1E, 0, 0, 0});
    ASSERT_TRUE(HidD_SetFeature(file, header.data(), static_cast<ULONG>(header.size())));
    uint8_t report[kSimOutputReportLength] = {};
    for (size_t i = 1; i < sizeof(report); ++i)
        report[i] = static_cast<uint8_t>(i);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, report, sizeof(report), &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(written, sizeof(report));
    std::vector<std::string> journal = JournalLines();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "O " + Hex(report, sizeof(report)));
}

struct PendingRead {
    HANDLE file;
    OVERLAPPED ov{};
    uint8_t buffer[kSimInputReportLength] = {};
    bool started = false;

    explicit PendingRead(HANDLE f) : file(f) {
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        started = ReadFile(file, buffer, sizeof(buffer), nullptr, &ov) || GetLastError() == ERROR_IO_PENDING;
    }
    ~PendingRead() {
        CancelIoEx(file, &ov);
        DWORD n;
        GetOverlappedResult(file, &ov, &n, TRUE);
        CloseHandle(ov.hEvent);
    }
    bool Done(DWORD ms) { return WaitForSingleObject(ov.hEvent, ms) == WAIT_OBJECT_0; }
};

TEST(HidPath, ProfileKeyArrivesThroughOverlappedRead) {
    HANDLE file = OpenEvents();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        PendingRead read(file);
        ASSERT_TRUE(read.started);
        EXPECT_FALSE(read.Done(0));
        std::string reply;
        ASSERT_EQ(AskHost(SimMsgPressProfile, "2", reply), HostReply::Ok) << reply;
        ASSERT_TRUE(read.Done(5000));
        DWORD n = 0;
        ASSERT_TRUE(GetOverlappedResult(file, &read.ov, &n, FALSE));
        EXPECT_EQ(n, kSimInputReportLength);
        EXPECT_EQ(Hex(read.buffer, 4), "04050302");
    }
    CloseHandle(file);
}

TEST(HidPath, UnplugCompletesThePendingReadAndAnnouncesRemoval) {
    NoticeWindow notices;
    HANDLE file = OpenEvents();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        PendingRead read(file);
        ASSERT_TRUE(read.started);
        ASSERT_EQ(RunSimControl(L"unplug"), 0u);
        EXPECT_TRUE(read.Done(5000));
        DWORD n = 0;
        EXPECT_FALSE(GetOverlappedResult(file, &read.ov, &n, FALSE));
        EXPECT_TRUE(notices.WaitFor(NoticeWindow::removals, 1, 5000));
    }
    CloseHandle(file);
    EXPECT_TRUE(OurCollections().empty());
    std::string status;
    EXPECT_EQ(AskHost(SimMsgPressProfile, "1", status), HostReply::Refused);
}

TEST(HidPath, PlugAnnouncesArrivalAndTheKeyboardAnswersAgain) {
    NoticeWindow notices;
    ASSERT_EQ(RunSimControl(L"plug"), 0u);
    EXPECT_TRUE(notices.WaitFor(NoticeWindow::arrivals, 2, 10000));
    EXPECT_EQ(OurCollections().size(), 2u);
    HANDLE file = OpenCommand();
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> query = FeatureReport({0x80, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(HidD_SetFeature(file, query.data(), static_cast<ULONG>(query.size())));
    CloseHandle(file);
}

} // namespace
