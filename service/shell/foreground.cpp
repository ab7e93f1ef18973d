#include "service/shell/foreground.h"

#include "settings/diag.h"

const std::wstring& ForegroundTracker::ForegroundPath() {
    ForegroundProbe::Owner owner = probe_.ForegroundOwner();
    uint32_t id = owner.processId;
    if (id == 0) {
        knownId_ = 0;
        knownPath_.clear();
        return knownPath_;
    }
    if (id == knownId_)
        return knownPath_;
    std::wstring path;
    if (probe_.ImagePath(id, path)) {
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
