// The HID platform over the device-setup list, the HID class driver and file
// handles: synchronous feature and output reports on the command collection, one
// overlapped read at a time on the event collection. No decisions of its own.
#pragma once

#include "service/hid_platform.h"

#include <memory>

class Win32HidPlatform : public HidPlatform {
public:
    Win32HidPlatform();
    ~Win32HidPlatform() override;
    Win32HidPlatform(const Win32HidPlatform&) = delete;
    Win32HidPlatform& operator=(const Win32HidPlatform&) = delete;

    bool BeginInterfaceList() override;
    EnumStatus EnumInterface(unsigned index) override;
    bool InterfacePath(unsigned index, std::wstring& path) override;
    void EndInterfaceList() override;
    HidHandle Open(const std::wstring& path, HidAccess access) override;
    void Close(HidHandle handle) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    bool GetPreparsedData(HidHandle handle, PreparsedHandle& preparsed) override;
    bool GetCaps(PreparsedHandle preparsed, HidCaps& caps) override;
    void FreePreparsedData(PreparsedHandle preparsed) override;
    bool SetFeature(HidHandle handle, const uint8_t* report, size_t length) override;
    bool GetFeature(HidHandle handle, uint8_t* report, size_t length) override;
    bool WriteOutput(HidHandle handle, const uint8_t* report, size_t length) override;
    HidHandle CreateReadEvent() override;
    void SetReadEvent(HidHandle event) override;
    void ResetReadEvent(HidHandle event) override;
    void WaitReadEvent(HidHandle event) override;
    bool BeginInputRead(HidHandle handle, HidHandle event, uint8_t* buffer, size_t length) override;
    size_t EndInputRead(HidHandle handle) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};
