// The protocol's fixed pauses go through this interface: the service sleeps for
// real (win32/pauser_win32.h), tests and benchmarks advance a virtual clock.
#pragma once

#include <cstdint>

class Pauser {
public:
    virtual ~Pauser() = default;
    virtual void Pause(uint32_t ms) = 0;
};

class VirtualClock : public Pauser {
public:
    void Pause(uint32_t ms) override {
        now_ += ms;
        ++count_;
    }
    uint64_t NowMs() const { return now_; }
    int PauseCount() const { return count_; }

private:
    uint64_t now_ = 0;
    int count_ = 0;
};
