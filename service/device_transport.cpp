#include "service/hid_transport.h"

bool DeviceTransport::FeatureWrite(const uint8_t* report, size_t length) {
    if (state_.hHidHandle == kInvalidHidHandle || length < state_.FeatureReportLength)
        return false;
    return platform_.SetFeature(state_.hHidHandle, report, state_.FeatureReportLength);
}

void DeviceTransport::FeatureRead(uint8_t* report, size_t length) {
    if (state_.hHidHandle == kInvalidHidHandle || length < state_.FeatureReportLength)
        return;
    platform_.GetFeature(state_.hHidHandle, report, state_.FeatureReportLength);
}

bool DeviceTransport::OutputWrite(const uint8_t* report, size_t length) {
    if (state_.hHidHandle == kInvalidHidHandle || length < kOutputReportSize)
        return false;
    return platform_.WriteOutput(state_.hHidHandle, report, kOutputReportSize);
}
