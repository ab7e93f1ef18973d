// The HID platform the device search and the transport are written against: the
// device-setup list of HID interfaces, file handles on collections, HID attributes
// and capabilities, the report calls and the reader's event. The Win32 twin is
// win32/hid_platform_win32.h; tests use fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Handles stay opaque here; on Windows they are HANDLE values.
using HidHandle = intptr_t;
constexpr HidHandle kInvalidHidHandle = -1;
using PreparsedHandle = intptr_t;

enum class HidAccess {
    None,           // attributes and capabilities only
    ReadOverlapped, // the event collection
    ReadWrite,      // the command collection, synchronous
};

enum class EnumStatus { Found, NoMoreItems, Failed };

struct HidAttributes {
    uint16_t VendorID;
    uint16_t ProductID;
    uint16_t VersionNumber;
};

struct HidCaps {
    uint16_t Usage;
    uint16_t UsagePage;
    uint16_t InputReportByteLength;
    uint16_t OutputReportByteLength;
    uint16_t FeatureReportByteLength;
};

class HidPlatform {
public:
    virtual ~HidPlatform() = default;

    // The list of present HID interfaces, held until EndInterfaceList.
    virtual bool BeginInterfaceList() = 0;
    virtual EnumStatus EnumInterface(unsigned index) = 0;
    virtual bool InterfacePath(unsigned index, std::wstring& path) = 0;
    virtual void EndInterfaceList() = 0;

    virtual HidHandle Open(const std::wstring& path, HidAccess access) = 0;
    virtual void Close(HidHandle handle) = 0;
    virtual bool GetAttributes(HidHandle handle, HidAttributes& attributes) = 0;
    virtual bool GetPreparsedData(HidHandle handle, PreparsedHandle& preparsed) = 0;
    // False when the preparsed data is reported invalid.
    virtual bool GetCaps(PreparsedHandle preparsed, HidCaps& caps) = 0;
    virtual void FreePreparsedData(PreparsedHandle preparsed) = 0;

    virtual bool SetFeature(HidHandle handle, const uint8_t* report, size_t length) = 0;
    virtual bool GetFeature(HidHandle handle, uint8_t* report, size_t length) = 0;
    // Synchronous; the number of bytes written is not reported.
    virtual bool WriteOutput(HidHandle handle, const uint8_t* report, size_t length) = 0;

    // The reader's manual-reset event.
    virtual HidHandle CreateReadEvent() = 0;
    virtual void SetReadEvent(HidHandle event) = 0;
    virtual void ResetReadEvent(HidHandle event) = 0;
    virtual void WaitReadEvent(HidHandle event) = 0;
    // One overlapped input read at a time: started with the event to signal on
    // completion, finished (waiting for it) with the number of bytes transferred,
    // 0 when the read failed. The buffer must stay valid until EndInputRead.
    virtual bool BeginInputRead(HidHandle handle, HidHandle event, uint8_t* buffer, size_t length) = 0;
    virtual size_t EndInputRead(HidHandle handle) = 0;
};
