// Test support: a HID platform with a scripted list of interfaces. It can carry the
// simulated keyboard's two collections (reports then reach the simulated keyboard),
// counts what is open, and fails any step on request.
#pragma once

#include "service/hid_platform.h"
#include "simkbd/sim_keyboard.h"

#include <map>
#include <string>
#include <vector>

struct FakeInterface {
    std::wstring path;
    HidAttributes attributes;
    HidCaps caps;
    bool openFails[3] = {false, false, false}; // by HidAccess
    bool preparsedFails = false;
    bool capsFails = false;
};

class FakeHidPlatform : public HidPlatform {
public:
    std::vector<FakeInterface> interfaces;
    SimKeyboard* keyboard = nullptr; // reached through handles on the command collection
    bool listFails = false;
    int enumFailsAt = -1;   // EnumStatus::Failed at this index
    int detailFailsAt = -1; // InterfacePath fails at this index

    // Every platform call that changes something, in order: "open <path> <access>",
    // "close <handle>", "set event".
    std::vector<std::wstring> calls;
    int listsHeld = 0;
    int preparsedHeld = 0;
    int readEventSignals = 0;

    // The two collections of the simulated keyboard, listed in the given order.
    void AddSimKeyboard(bool commandFirst = false);
    // The two virtual devices Wine lists of its own.
    void AddWineDevices();
    void AddInterface(const std::wstring& path, uint16_t vid, uint16_t pid, uint16_t usagePage,
                      uint16_t featureLength, uint16_t inputLength);

    size_t OpenHandleCount() const { return open_.size(); }
    bool IsOpen(HidHandle handle) const { return open_.count(handle) != 0; }
    // The interface path and access of an open handle.
    const FakeInterface* InterfaceOf(HidHandle handle) const;
    HidAccess AccessOf(HidHandle handle) const;

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
    struct OpenEntry {
        size_t index;
        HidAccess access;
    };
    std::map<HidHandle, OpenEntry> open_;
    std::map<PreparsedHandle, size_t> preparsed_;
    HidHandle next_ = 100;
    size_t pendingRead_ = 0;
    bool ReachesKeyboard(HidHandle handle, HidAccess access) const;
};
