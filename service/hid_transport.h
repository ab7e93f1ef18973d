// The host-to-keyboard primitives the report protocol is built on. The service's
// implementation is DeviceTransport (over the platform and the device state); the
// tests put the simulated keyboard behind it.
#pragma once

#include "service/device_state.h"

#include <cstddef>
#include <cstdint>

constexpr size_t kFeatureReportSize = 9; // report ID 0 + 8 bytes
constexpr size_t kOutputReportSize = 65; // report ID 0 + 64 bytes

class HidTransport {
public:
    virtual ~HidTransport() = default;
    // report holds at least kFeatureReportSize bytes, report ID first.
    virtual bool FeatureWrite(const uint8_t* report, size_t length) = 0;
    // Fills the report; on a failed or absent device it stays as the caller zeroed it.
    virtual void FeatureRead(uint8_t* report, size_t length) = 0;
    // report holds kOutputReportSize bytes, report ID first.
    virtual bool OutputWrite(const uint8_t* report, size_t length) = 0;
};

class DeviceTransport : public HidTransport {
public:
    DeviceTransport(HidPlatform& platform, DeviceState& state) : platform_(platform), state_(state) {}
    bool FeatureWrite(const uint8_t* report, size_t length) override;
    void FeatureRead(uint8_t* report, size_t length) override;
    bool OutputWrite(const uint8_t* report, size_t length) override;

private:
    HidPlatform& platform_;
    DeviceState& state_;
};
