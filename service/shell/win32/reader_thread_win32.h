// The reader thread: waits on an overlapped read of the event collection and hands
// every completed read to the shell. It reads through its own duplicate of the read
// handle, so the window thread may close and reopen the device at any time; the
// device search signals ReadEvent when it opens a new read handle, which makes the
// reader drop its pending read and start over on the new one.
#pragma once

#include "service/device_state.h"
#include "service/shell/service_shell.h"
#include "service/shell/win32/unique_handle.h"

#include <atomic>

class Win32ReaderThread : public ReaderThread {
public:
    Win32ReaderThread(ServiceShell& shell, DeviceState& state) : shell_(shell), state_(state) {}
    ~Win32ReaderThread() override { Stop(); }

    // Creates the thread suspended.
    bool Create();
    void Release() override;
    // Ends the thread and waits for it (at exit).
    void Stop();

private:
    static DWORD WINAPI ReadThreadFun(void* self) noexcept;
    void Run();
    HANDLE TakeReadHandle(size_t& length);
    bool WaitForWakeOrStop(); // true when told to stop

    ServiceShell& shell_;
    DeviceState& state_;
    UniqueHandle thread_;
    UniqueHandle stop_;
    UniqueHandle completion_;
    std::atomic<bool> released_{false};
};
