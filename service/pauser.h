// The protocol's fixed pauses go through this interface: the service sleeps for
// real (win32/pauser_win32.h), tests and benchmarks advance a virtual clock.
#pragma once

#include <cstdint>

class Pauser {
public:
    virtual ~Pauser() = default;
    virtual void Pause(uint32_t ms) = 0;
};

// Where each real pause ends, on a microsecond clock. A pause counts from the end
// of the previous one, so the time the reports in between took to write (and any
// oversleep) is taken off it, up to a tenth of its length: the reports then start
// the pause's length apart, and a sequence of a hundred pauses does not grow by
// its writes and timer overshoot.
class PauseDeadlines {
public:
    int64_t Next(int64_t nowUs, uint32_t ms) {
        const int64_t length = static_cast<int64_t>(ms) * 1000;
        int64_t credit = started_ ? nowUs - last_ : 0;
        if (credit < 0)
            credit = 0;
        if (credit > length / 10)
            credit = length / 10;
        started_ = true;
        last_ = nowUs + length - credit;
        return last_;
    }

private:
    bool started_ = false;
    int64_t last_ = 0;
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
