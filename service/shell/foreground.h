// Which program owns the foreground window, asked of that window's own process so the
// cost does not depend on how many processes run, and remembered while the foreground
// process stays the same.
#pragma once

#include <cstdint>
#include <string>

class ForegroundProbe {
public:
    virtual ~ForegroundProbe() = default;
    struct Owner {
        uint32_t processId; // 0 when there is no foreground window
        uint32_t threadId;  // the thread that created the window
    };
    virtual Owner ForegroundOwner() = 0;
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
    uint32_t knownId_ = 0;
    std::wstring knownPath_;
};

// Full-path comparison without regard to case, as the file system compares names
// (platform twin: path_compare_posix.cpp / win32/path_compare_win32.cpp).
bool PathsEqualIgnoringCase(const std::wstring& a, const std::wstring& b);
