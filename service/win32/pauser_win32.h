// The protocol's pauses for real. Each pause lasts at least its length from its
// start; the system timer runs at 1 ms resolution while the object lives, and the
// pause ends on a high-resolution deadline, so 101 pauses add up to the total the
// keyboard needs instead of a default-resolution overshoot on every one.
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
    long long frequency_;
    bool periodSet_;
};
