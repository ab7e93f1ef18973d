#include "service/testing/fake_hid_platform.h"

#include <algorithm>
#include <cstring>

namespace {
std::wstring AccessName(HidAccess access) {
    switch (access) {
    case HidAccess::None:
        return L"none";
    case HidAccess::ReadOverlapped:
        return L"read";
    case HidAccess::ReadWrite:
        return L"readwrite";
    }
    return L"?";
}
} // namespace

void FakeHidPlatform::AddInterface(const std::wstring& path, uint16_t vid, uint16_t pid, uint16_t usagePage,
                                   uint16_t featureLength, uint16_t inputLength) {
    FakeInterface i;
    i.path = path;
    i.attributes = {vid, pid, 0x0100};
    i.caps = {0x0001, usagePage, inputLength, static_cast<uint16_t>(featureLength ? 65 : 0), featureLength};
    interfaces.push_back(i);
}

void FakeHidPlatform::AddSimKeyboard(bool commandFirst) {
    wchar_t id[32];
    std::swprintf(id, 32, L"vid_%04x&pid_%04x", static_cast<unsigned>(kSimVendorId),
                  static_cast<unsigned>(kSimProductId));
    std::vector<FakeInterface> two;
    for (int i = 0; i < 2; ++i) {
        const SimCollection& c = kSimCollections[i];
        FakeInterface f;
        f.path =
            std::wstring(L"\\\\?\\hid#") + id + (i == 0 ? L"&col01" : L"&col02") + L"#1&sim&0#{4d1e55b2}";
        f.attributes = {kSimVendorId, kSimProductId, 0x0105};
        f.caps = {c.usage, c.usagePage, c.inputReportLength, c.outputReportLength, c.featureReportLength};
        two.push_back(f);
    }
    if (commandFirst)
        std::swap(two[0], two[1]);
    interfaces.insert(interfaces.end(), two.begin(), two.end());
}

void FakeHidPlatform::AddWineDevices() {
    AddInterface(L"\\\\?\\hid#vid_845e&pid_0001#0&0000&0&0#{4d1e55b2}", 0x845E, 0x0001, 0x0001, 0, 8);
    AddInterface(L"\\\\?\\hid#vid_845e&pid_0002#0&0000&0&0#{4d1e55b2}", 0x845E, 0x0002, 0x0001, 0, 4);
}

const FakeInterface* FakeHidPlatform::InterfaceOf(HidHandle handle) const {
    auto it = open_.find(handle);
    return it == open_.end() ? nullptr : &interfaces[it->second.index];
}

HidAccess FakeHidPlatform::AccessOf(HidHandle handle) const {
    auto it = open_.find(handle);
    return it == open_.end() ? HidAccess::None : it->second.access;
}

bool FakeHidPlatform::BeginInterfaceList() {
    if (listFails)
        return false;
    ++listsHeld;
    return true;
}

EnumStatus FakeHidPlatform::EnumInterface(unsigned index) {
    if (static_cast<int>(index) == enumFailsAt)
        return EnumStatus::Failed;
    return index < interfaces.size() ? EnumStatus::Found : EnumStatus::NoMoreItems;
}

bool FakeHidPlatform::InterfacePath(unsigned index, std::wstring& path) {
    if (static_cast<int>(index) == detailFailsAt || index >= interfaces.size())
        return false;
    path = interfaces[index].path;
    return true;
}

void FakeHidPlatform::EndInterfaceList() { --listsHeld; }

HidHandle FakeHidPlatform::Open(const std::wstring& path, HidAccess access) {
    calls.push_back(L"open " + path + L" " + AccessName(access));
    for (size_t i = 0; i < interfaces.size(); ++i)
        if (interfaces[i].path == path) {
            if (interfaces[i].openFails[static_cast<int>(access)])
                return kInvalidHidHandle;
            HidHandle h = next_++;
            open_[h] = {i, access};
            return h;
        }
    return kInvalidHidHandle;
}

void FakeHidPlatform::Close(HidHandle handle) {
    calls.push_back(L"close " + std::to_wstring(handle));
    open_.erase(handle);
}

bool FakeHidPlatform::GetAttributes(HidHandle handle, HidAttributes& attributes) {
    const FakeInterface* i = InterfaceOf(handle);
    if (!i)
        return false;
    attributes = i->attributes;
    return true;
}

bool FakeHidPlatform::GetPreparsedData(HidHandle handle, PreparsedHandle& preparsed) {
    auto it = open_.find(handle);
    if (it == open_.end() || interfaces[it->second.index].preparsedFails)
        return false;
    preparsed = next_++;
    preparsed_[preparsed] = it->second.index;
    ++preparsedHeld;
    return true;
}

bool FakeHidPlatform::GetCaps(PreparsedHandle preparsed, HidCaps& caps) {
    auto it = preparsed_.find(preparsed);
    if (it == preparsed_.end() || interfaces[it->second].capsFails)
        return false;
    caps = interfaces[it->second].caps;
    return true;
}

void FakeHidPlatform::FreePreparsedData(PreparsedHandle preparsed) {
    if (preparsed_.erase(preparsed))
        --preparsedHeld;
}

bool FakeHidPlatform::ReachesKeyboard(HidHandle handle, HidAccess access) const {
    auto it = open_.find(handle);
    return keyboard && keyboard->Plugged() && it != open_.end() && it->second.access == access &&
           interfaces[it->second.index].attributes.VendorID == kSimVendorId &&
           interfaces[it->second.index].attributes.ProductID == kSimProductId;
}

bool FakeHidPlatform::SetFeature(HidHandle handle, const uint8_t* report, size_t length) {
    if (!ReachesKeyboard(handle, HidAccess::ReadWrite))
        return false;
    keyboard->FeatureWrite(report, length);
    return true;
}

bool FakeHidPlatform::GetFeature(HidHandle handle, uint8_t* report, size_t length) {
    if (!ReachesKeyboard(handle, HidAccess::ReadWrite))
        return false;
    keyboard->FeatureRead(report, length);
    return true;
}

bool FakeHidPlatform::WriteOutput(HidHandle handle, const uint8_t* report, size_t length) {
    if (!ReachesKeyboard(handle, HidAccess::ReadWrite))
        return false;
    keyboard->OutputWrite(report, length);
    return true;
}

HidHandle FakeHidPlatform::CreateReadEvent() { return next_++; }
void FakeHidPlatform::SetReadEvent(HidHandle) {
    calls.push_back(L"set event");
    ++readEventSignals;
}
void FakeHidPlatform::ResetReadEvent(HidHandle) {}
void FakeHidPlatform::WaitReadEvent(HidHandle) {}

bool FakeHidPlatform::BeginInputRead(HidHandle handle, HidHandle, uint8_t* buffer, size_t length) {
    pendingRead_ = 0;
    SimInputReport report;
    if (!ReachesKeyboard(handle, HidAccess::ReadOverlapped) || !keyboard->PopInputReport(report))
        return false;
    pendingRead_ = std::min(length, report.size());
    std::memcpy(buffer, report.data(), pendingRead_);
    return true;
}

size_t FakeHidPlatform::EndInputRead(HidHandle) { return pendingRead_; }
