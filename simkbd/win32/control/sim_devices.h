// The simulated keyboard's collections as the platform lists them (SetupDi, HidD, HidP).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SimHidCollection {
    std::wstring path;
    USHORT usagePage = 0, usage = 0;
    USHORT featureLength = 0, inputLength = 0, outputLength = 0;
};

// The present HID interfaces with the keyboard's vendor and product ID, in list order.
std::vector<SimHidCollection> FindSimCollections();

// Runs the control program beside the calling program ("plug", "unplug", ...) and
// returns its exit code, dispatching this thread's messages meanwhile so device
// notices reach the caller's windows while the control program waits for them.
DWORD RunSimControl(const wchar_t* command);
