#include <windows.h>

#include <mmsystem.h>

#include "service/win32/pauser_win32.h"

namespace {
long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}
} // namespace

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

void Win32Pauser::Pause(uint32_t ms) {
    const long long deadline = Now() + frequency_ * ms / 1000;
    for (;;) {
        const long long left = deadline - Now();
        if (left <= 0)
            return;
        // Whole milliseconds sleep; the last fraction only yields, so the pause
        // ends within a fraction of a millisecond after its deadline.
        const DWORD wholeMs = static_cast<DWORD>(left * 1000 / frequency_);
        Sleep(wholeMs > 1 ? wholeMs - 1 : 0);
    }
}
