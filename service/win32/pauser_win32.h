// The protocol's pauses for real, on the deadlines of PauseDeadlines. While the
// object lives the system timer runs at 1 ms resolution: at the default 15.6 ms
// tick every 50 ms pause would last up to 62 ms, and an apply has 101 of them.
// Create one per apply so the finer timer is not kept for the service's life.
#pragma once

#include "service/pauser.h"

class Win32Pauser : public Pauser {
public:
    Win32Pauser();
    ~Win32Pauser() override;
    Win32Pauser(const Win32Pauser&) = delete;
    Win32Pauser& operator=(const Win32Pauser&) = delete;
    void Pause(uint32_t ms) override;

private:
    int64_t NowUs() const;
    long long frequency_;
    bool periodSet_;
    PauseDeadlines deadlines_;
};
