#include "service/shell/foreground.h"

#include "settings/diag.h"

const std::wstring& ForegroundTracker::ForegroundPath() {
    uintptr_t window = probe_.ForegroundWindow();
    if (window != 0 && window == knownWindow_)
        return knownPath_;
    knownWindow_ = 0;
    if (window == 0) {
        knownId_ = 0;
        knownPath_.clear();
        return knownPath_;
    }
    ForegroundProbe::Owner owner = probe_.WindowOwner(window);
    uint32_t id = owner.processId;
    if (id != 0 && id == knownId_) {
        knownWindow_ = window;
        return knownPath_;
    }
    std::wstring path;
    if (id != 0 && probe_.ImagePath(id, path)) {
        knownWindow_ = window;
        knownId_ = id;
        knownPath_ = path;
    } else {
        knownId_ = 0;
        knownPath_.clear();
    }
    DiagPrintf(L"processID:%x;WindowThreadProcessId:%x  dWNThreadID=%x\n", id, id, owner.threadId);
    return knownPath_;
}

bool ForegroundTracker::IsForegroundProgram(const std::wstring& path) {
    if (path.empty())
        return false;
    const std::wstring& current = ForegroundPath();
    return !current.empty() && PathsEqualIgnoringCase(current, path);
}
