// Test support: the simulated keyboard behind the protocol's transport. Writes fail
// while the keyboard is unplugged, as they do on the real device.
#pragma once

#include "service/hid_transport.h"
#include "simkbd/sim_keyboard.h"

class SimTransport : public HidTransport {
public:
    explicit SimTransport(SimKeyboard& keyboard) : keyboard_(keyboard) {}
    bool FeatureWrite(const uint8_t* report, size_t length) override {
        keyboard_.FeatureWrite(report, length);
        return keyboard_.Plugged();
    }
    void FeatureRead(uint8_t* report, size_t length) override { keyboard_.FeatureRead(report, length); }
    bool OutputWrite(const uint8_t* report, size_t length) override {
        keyboard_.OutputWrite(report, length);
        return keyboard_.Plugged();
    }

private:
    SimKeyboard& keyboard_;
};
