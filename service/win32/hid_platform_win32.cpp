#include <windows.h>

#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}
#include <hidpi.h>

#include "service/win32/hid_platform_win32.h"

#include <vector>

namespace {
HANDLE ToHandle(HidHandle h) { return reinterpret_cast<HANDLE>(h); }
HidHandle FromHandle(HANDLE h) { return reinterpret_cast<HidHandle>(h); }
} // namespace

struct Win32HidPlatform::State {
    HDEVINFO list = INVALID_HANDLE_VALUE;
    GUID hidClass{};
    SP_DEVICE_INTERFACE_DATA current{};
    OVERLAPPED read{};
    bool readPending = false;
};

Win32HidPlatform::Win32HidPlatform() : state_(std::make_unique<State>()) {
    HidD_GetHidGuid(&state_->hidClass);
}

Win32HidPlatform::~Win32HidPlatform() { EndInterfaceList(); }

bool Win32HidPlatform::BeginInterfaceList() {
    EndInterfaceList();
    state_->list =
        SetupDiGetClassDevsW(&state_->hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    return state_->list != INVALID_HANDLE_VALUE;
}

EnumStatus Win32HidPlatform::EnumInterface(unsigned index) {
    state_->current = SP_DEVICE_INTERFACE_DATA{};
    state_->current.cbSize = sizeof state_->current;
    if (SetupDiEnumDeviceInterfaces(state_->list, nullptr, &state_->hidClass, index, &state_->current))
        return EnumStatus::Found;
    return GetLastError() == ERROR_NO_MORE_ITEMS ? EnumStatus::NoMoreItems : EnumStatus::Failed;
}

bool Win32HidPlatform::InterfacePath(unsigned, std::wstring& path) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(state_->list, &state_->current, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return false;
    std::vector<unsigned char> buffer(required);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(state_->list, &state_->current, detail, required, nullptr, nullptr))
        return false;
    path = detail->DevicePath;
    return true;
}

void Win32HidPlatform::EndInterfaceList() {
    if (state_->list != INVALID_HANDLE_VALUE)
        SetupDiDestroyDeviceInfoList(state_->list);
    state_->list = INVALID_HANDLE_VALUE;
}

HidHandle Win32HidPlatform::Open(const std::wstring& path, HidAccess access) {
    DWORD rights = 0;
    DWORD flags = 0;
    if (access == HidAccess::ReadOverlapped) {
        rights = GENERIC_READ;
        flags = FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL;
    } else if (access == HidAccess::ReadWrite) {
        rights = GENERIC_READ | GENERIC_WRITE;
    }
    HANDLE h = CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           flags, nullptr);
    return h == INVALID_HANDLE_VALUE ? kInvalidHidHandle : FromHandle(h);
}

void Win32HidPlatform::Close(HidHandle handle) {
    if (handle != kInvalidHidHandle)
        CloseHandle(ToHandle(handle));
}

bool Win32HidPlatform::GetAttributes(HidHandle handle, HidAttributes& attributes) {
    HIDD_ATTRIBUTES a{};
    a.Size = sizeof a;
    if (!HidD_GetAttributes(ToHandle(handle), &a))
        return false;
    attributes = {a.VendorID, a.ProductID, a.VersionNumber};
    return true;
}

bool Win32HidPlatform::GetPreparsedData(HidHandle handle, PreparsedHandle& preparsed) {
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(ToHandle(handle), &data))
        return false;
    preparsed = reinterpret_cast<PreparsedHandle>(data);
    return true;
}

bool Win32HidPlatform::GetCaps(PreparsedHandle preparsed, HidCaps& caps) {
    HIDP_CAPS c{};
    if (HidP_GetCaps(reinterpret_cast<PHIDP_PREPARSED_DATA>(preparsed), &c) ==
        HIDP_STATUS_INVALID_PREPARSED_DATA)
        return false;
    caps = {c.Usage, c.UsagePage, c.InputReportByteLength, c.OutputReportByteLength,
            c.FeatureReportByteLength};
    return true;
}

void Win32HidPlatform::FreePreparsedData(PreparsedHandle preparsed) {
    HidD_FreePreparsedData(reinterpret_cast<PHIDP_PREPARSED_DATA>(preparsed));
}

bool Win32HidPlatform::SetFeature(HidHandle handle, const uint8_t* report, size_t length) {
    // The report call takes a writable buffer although it only reads it.
    std::vector<uint8_t> copy(report, report + length);
    return HidD_SetFeature(ToHandle(handle), copy.data(), static_cast<ULONG>(length)) != FALSE;
}

bool Win32HidPlatform::GetFeature(HidHandle handle, uint8_t* report, size_t length) {
    return HidD_GetFeature(ToHandle(handle), report, static_cast<ULONG>(length)) != FALSE;
}

bool Win32HidPlatform::WriteOutput(HidHandle handle, const uint8_t* report, size_t length) {
    DWORD written = 0;
    return WriteFile(ToHandle(handle), report, static_cast<DWORD>(length), &written, nullptr) != FALSE;
}

HidHandle Win32HidPlatform::CreateReadEvent() {
    HANDLE h = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return h ? FromHandle(h) : kInvalidHidHandle;
}

void Win32HidPlatform::SetReadEvent(HidHandle event) { SetEvent(ToHandle(event)); }
void Win32HidPlatform::ResetReadEvent(HidHandle event) { ResetEvent(ToHandle(event)); }
void Win32HidPlatform::WaitReadEvent(HidHandle event) { WaitForSingleObject(ToHandle(event), INFINITE); }

bool Win32HidPlatform::BeginInputRead(HidHandle handle, HidHandle event, uint8_t* buffer, size_t length) {
    state_->read = OVERLAPPED{};
    state_->read.hEvent = ToHandle(event);
    BOOL done = ReadFile(ToHandle(handle), buffer, static_cast<DWORD>(length), nullptr, &state_->read);
    state_->readPending = done || GetLastError() == ERROR_IO_PENDING;
    return state_->readPending;
}

size_t Win32HidPlatform::EndInputRead(HidHandle handle) {
    if (!state_->readPending)
        return 0;
    state_->readPending = false;
    DWORD transferred = 0;
    if (!GetOverlappedResult(ToHandle(handle), &state_->read, &transferred, TRUE))
        return 0;
    return transferred;
}
