#include <windows.h>

#include <mmsystem.h>

#include "service/win32/pauser_win32.h"

Win32Pauser::Win32Pauser() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    frequency_ = f.QuadPart;
    periodSet_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

Win32Pauser::~Win32Pauser() {
    if (periodSet_)
        timeEndPeriod(1);
}

int64_t Win32Pauser::NowUs() const {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart / frequency_ * 1000000 + t.QuadPart % frequency_ * 1000000 / frequency_;
}

void Win32Pauser::Pause(uint32_t ms) {
    const int64_t deadline = deadlines_.Next(NowUs(), ms);
    // Plain sleeps to the deadline: spinning or yielding near it would cost a whole
    // time slice whenever the processor is busy elsewhere; an overshoot is taken
    // off the next pause.
    for (int64_t left = deadline - NowUs(); left > 0; left = deadline - NowUs())
        Sleep(static_cast<DWORD>((left + 999) / 1000));
}
