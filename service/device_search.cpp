#include "service/device_state.h"

#include "settings/diag.h"

#include <cwchar>

std::wstring KeyboardIdText() {
    wchar_t text[32];
    std::swprintf(text, 32, L"VID_%04X&PID_%04X", static_cast<unsigned>(kKeyboardVendorId),
                  static_cast<unsigned>(kKeyboardProductId));
    return text;
}

namespace {

// Releases the interface list and the preparsed data on every way out of the search.
class SearchResources {
public:
    explicit SearchResources(HidPlatform& platform) : platform_(platform) {}
    ~SearchResources() {
        FreePreparsed();
        if (listHeld_)
            platform_.EndInterfaceList();
    }
    SearchResources(const SearchResources&) = delete;
    SearchResources& operator=(const SearchResources&) = delete;

    bool BeginList() { return listHeld_ = platform_.BeginInterfaceList(); }
    PreparsedHandle& Preparsed() { return preparsed_; }
    void HoldPreparsed() { preparsedHeld_ = true; }
    void FreePreparsed() {
        if (preparsedHeld_)
            platform_.FreePreparsedData(preparsed_);
        preparsedHeld_ = false;
    }

private:
    HidPlatform& platform_;
    bool listHeld_ = false;
    bool preparsedHeld_ = false;
    PreparsedHandle preparsed_ = 0;
};

void Reopen(HidPlatform& platform, HidHandle& variable, const std::wstring& path, HidAccess access) {
    if (variable != kInvalidHidHandle)
        platform.Close(variable);
    variable = platform.Open(path, access);
}

} // namespace

int EnumHidMouse(HidPlatform& platform, DeviceState& state) {
    SearchResources resources(platform);
    if (!resources.BeginList())
        return 0;
    for (unsigned index = 0;; ++index) {
        EnumStatus status = platform.EnumInterface(index);
        if (status == EnumStatus::NoMoreItems) {
            DiagWrite(L"SetupDiEnumDeviceInterfaces failed.\n");
            return 0;
        }
        if (status != EnumStatus::Found)
            return 0;
        std::wstring path;
        if (!platform.InterfacePath(index, path)) {
            DiagWrite(L"SetupDiGetDeviceInterfaceDetail failed.\n");
            return 0;
        }
        state.strDevPathName = path;

        HidHandle probe = platform.Open(path, HidAccess::None);
        if (probe == kInvalidHidHandle)
            return 0;
        HidAttributes attributes{};
        if (!platform.GetAttributes(probe, attributes))
            attributes = HidAttributes{};
        DiagPrintf(L"PID:%04x\n,VID:%04x\n,VersionNumber:%04x\n", attributes.ProductID, attributes.VendorID,
                   attributes.VersionNumber);
        if (attributes.VendorID != kKeyboardVendorId || attributes.ProductID != kKeyboardProductId) {
            platform.Close(probe);
            continue;
        }

        DiagWrite(L"Find our hid device.Success\n");
        resources.FreePreparsed();
        if (!platform.GetPreparsedData(probe, resources.Preparsed())) {
            DiagWrite(L"HidD_GetPreparsedData failed.\n");
            platform.Close(probe);
            return 0;
        }
        resources.HoldPreparsed();
        platform.Close(probe);
        HidCaps caps{};
        if (!platform.GetCaps(resources.Preparsed(), caps)) {
            DiagWrite(L"HidP_GetCaps failed.");
            return 0;
        }
        DiagPrintf(L"DevicePath:%ls,nUsage:0x%04x, UsagePage:0x%04x,FeatureReportByteLength:0x%04x,"
                   L"InputReportByteLength:0x%x,OutputReportByteLength:0x%x\n",
                   path.c_str(), caps.Usage, caps.UsagePage, caps.FeatureReportByteLength,
                   caps.InputReportByteLength, caps.OutputReportByteLength);

        if (caps.Usage == kCollectionUsage && caps.UsagePage == kEventUsagePage &&
            caps.InputReportByteLength != 0) {
            Reopen(platform, state.hHidHandleRead, path, HidAccess::ReadOverlapped);
            if (state.hHidHandleRead == kInvalidHidHandle)
                return 0;
            state.InputReportLength = caps.InputReportByteLength;
            if (state.ReadEvent != kInvalidHidHandle)
                platform.SetReadEvent(state.ReadEvent);
            DiagWrite(L"CreateFile hHidHandleRead successful\n");
        }
        if (caps.Usage == kCollectionUsage && caps.UsagePage == kCommandUsagePage &&
            caps.FeatureReportByteLength == kCommandFeatureLength) {
            Reopen(platform, state.hHidHandle, path, HidAccess::ReadWrite);
            if (state.hHidHandle == kInvalidHidHandle)
                return 0;
            state.DevicePresent = 1;
            state.FeatureReportLength = caps.FeatureReportByteLength;
            DiagWrite(L"CreateFile hHidHandle successful\n");
            return 1;
        }
    }
}

void CloseDevice(HidPlatform& platform, DeviceState& state) {
    for (HidHandle* handle : {&state.hHidHandle, &state.hHidHandleRead}) {
        if (*handle != kInvalidHidHandle)
            platform.Close(*handle);
        *handle = kInvalidHidHandle;
    }
}
