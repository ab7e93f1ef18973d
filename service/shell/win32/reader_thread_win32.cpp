#include "service/shell/win32/reader_thread_win32.h"

#include <vector>

bool Win32ReaderThread::Create() {
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    completion_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_ || !completion_)
        return false;
    thread_.Reset(CreateThread(nullptr, 0, ReadThreadFun, this, CREATE_SUSPENDED, nullptr));
    return static_cast<bool>(thread_);
}

void Win32ReaderThread::Release() {
    if (thread_ && !released_.exchange(true))
        ResumeThread(thread_.Get());
}

void Win32ReaderThread::Stop() {
    if (!thread_)
        return;
    SetEvent(stop_.Get());
    Release();
    WaitForSingleObject(thread_.Get(), 5000);
    thread_.Reset();
}

DWORD WINAPI Win32ReaderThread::ReadThreadFun(void* self) noexcept {
    static_cast<Win32ReaderThread*>(self)->Run();
    return 0;
}

HANDLE Win32ReaderThread::TakeReadHandle(size_t& length) {
    HANDLE copy = nullptr;
    shell_.WithLock([&] {
        HANDLE read = reinterpret_cast<HANDLE>(state_.hHidHandleRead);
        if (!shell_.DevicePresent() || state_.hHidHandleRead == kInvalidHidHandle)
            return;
        if (!DuplicateHandle(GetCurrentProcess(), read, GetCurrentProcess(), &copy, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            copy = nullptr;
        length = state_.InputReportLength.load();
    });
    return copy;
}

bool Win32ReaderThread::WaitForWakeOrStop() {
    HANDLE waits[2] = {stop_.Get(), reinterpret_cast<HANDLE>(state_.ReadEvent)};
    return WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1;
}

void Win32ReaderThread::Run() {
    // Cleared once: a short read leaves the bytes of the previous report behind.
    std::vector<uint8_t> buffer(64, 0);
    HANDLE wake = reinterpret_cast<HANDLE>(state_.ReadEvent);
    for (;;) {
        ResetEvent(wake);
        size_t length = 0;
        UniqueHandle read(TakeReadHandle(length));
        if (!read || length == 0) {
            if (WaitForWakeOrStop())
                return;
            continue;
        }
        if (buffer.size() < length)
            buffer.resize(length, 0);

        OVERLAPPED overlapped{};
        overlapped.hEvent = completion_.Get();
        ResetEvent(completion_.Get());
        DWORD transferred = 0;
        if (!ReadFile(read.Get(), buffer.data(), static_cast<DWORD>(length), nullptr, &overlapped) &&
            GetLastError() != ERROR_IO_PENDING) {
            shell_.OnInputReport(buffer.data(), 0);
            // The handle is dead (device gone): wait for the next search instead of spinning.
            if (WaitForWakeOrStop())
                return;
            continue;
        }
        HANDLE waits[3] = {stop_.Get(), completion_.Get(), wake};
        DWORD woken = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1)
            CancelIoEx(read.Get(), &overlapped);
        BOOL ok = GetOverlappedResult(read.Get(), &overlapped, &transferred, TRUE);
        if (woken == WAIT_OBJECT_0)
            return;
        if (!shell_.DevicePresent())
            continue;
        if (ok || woken == WAIT_OBJECT_0 + 1)
            shell_.OnInputReport(buffer.data(), ok ? transferred : 0);
        if (!ok && woken == WAIT_OBJECT_0 + 1 && WaitForWakeOrStop())
            return;
    }
}
