// Which program owns the foreground window, asked of that window's own process so the
// cost does not depend on how many processes run, and remembered while the foreground
// process stays the same.
#pragma once

#include <cstdint>
#include <string>

class ForegroundProbe {
public:
    virtual ~ForegroundProbe() = default;
    // The foreground window as an opaque value; 0 when there is none.
    virtual uintptr_t ForegroundWindow() = 0;
    struct Owner {
        uint32_t processId;
        uint32_t threadId; // the thread that created the window
    };
    virtual Owner WindowOwner(uintptr_t window) = 0;
    // Full path of the process's image. The probe keeps that process open until the next
    // call, so its identifier cannot pass to another process while the answer is remembered.
    virtual bool ImagePath(uint32_t processId, std::wstring& path) = 0;
};

class ForegroundTracker {
public:
    explicit ForegroundTracker(ForegroundProbe& probe) : probe_(probe) {}

    // Image path of the foreground process, empty when unknown (no foreground window, or a
    // process that cannot be queried; such a process is asked again at the next check).
    const std::wstring& ForegroundPath();

    // The path matches the program that owns the foreground window.
    bool IsForegroundProgram(const std::wstring& path);

private:
    ForegroundProbe& probe_;
    // A window never changes its process, so while the same window is in the foreground
    // not even its owner is asked again.
    uintptr_t knownWindow_ = 0;
    uint32_t knownId_ = 0;
    std::wstring knownPath_;
};

// When the platform's foreground-change event does not arrive (Wine does not send
// it), the one-second check notices a change the event missed, and from then on a
// short timer looks at the foreground window instead.
class ForegroundChangeWatch {
public:
    void Prime(uintptr_t foreground) { last_ = foreground; }
    void OnChangeEvent(uintptr_t foreground) {
        eventSeen_ = true;
        last_ = foreground;
    }
    // The one-second check; true once the short timer is needed.
    bool OnSlowCheck(uintptr_t foreground) {
        if (!polling_ && foreground != last_ && !eventSeen_)
            polling_ = true;
        last_ = foreground;
        eventSeen_ = false;
        return polling_;
    }
    bool Polling() const { return polling_; }
    // The short timer; true when the foreground window changed since the last look.
    bool OnPoll(uintptr_t foreground) {
        bool changed = foreground != last_;
        last_ = foreground;
        return changed;
    }

private:
    uintptr_t last_ = 0;
    bool eventSeen_ = false;
    bool polling_ = false;
};

// Full-path comparison without regard to case, as the file system compares names
// (platform twin: path_compare_posix.cpp / win32/path_compare_win32.cpp).
bool PathsEqualIgnoringCase(const std::wstring& a, const std::wstring& b);
