// The service's device state: the two collection handles, the path last examined,
// the report lengths and whether the keyboard is present. One instance, owned by
// the service for its whole life.
#pragma once

#include "service/hid_platform.h"

#include <atomic>
#include <cstdint>
#include <string>

constexpr uint16_t kKeyboardVendorId = TREMO_VID;
constexpr uint16_t kKeyboardProductId = TREMO_PID;

constexpr uint16_t kCommandUsagePage = 0xFF01;
constexpr uint16_t kEventUsagePage = 0xFF00;
constexpr uint16_t kCollectionUsage = 0x0001;
constexpr uint16_t kCommandFeatureLength = 9;

// "VID_xxxx&PID_xxxx" as interface paths spell it.
std::wstring KeyboardIdText();

struct DeviceState {
    HidHandle hHidHandle = kInvalidHidHandle;     // command collection, read/write, synchronous
    HidHandle hHidHandleRead = kInvalidHidHandle; // event collection, read only, overlapped
    std::wstring strDevPathName;
    std::wstring strDevPidVid = KeyboardIdText();
    // Read by the reader thread while the window thread writes them.
    std::atomic<int> DevicePresent{0};
    uint16_t FeatureReportLength = 0;
    std::atomic<uint16_t> InputReportLength{0};
    HidHandle ReadEvent = kInvalidHidHandle; // manual reset, created at start
};

// Searches the keyboard among the present HID interfaces and opens its handles.
// Returns 1 when the command collection was found and opened, 0 otherwise.
int EnumHidMouse(HidPlatform& platform, DeviceState& state);

// Closes both handles (at exit).
void CloseDevice(HidPlatform& platform, DeviceState& state);
