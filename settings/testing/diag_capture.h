// Test support: collects everything written through the diagnostics sink while
// an instance lives. One instance at a time (the sink is process-wide).
#pragma once

#include "settings/diag.h"

#include <string>
#include <vector>

class DiagCapture {
public:
    DiagCapture();
    ~DiagCapture();
    DiagCapture(const DiagCapture&) = delete;
    DiagCapture& operator=(const DiagCapture&) = delete;

    // Every text in the order written, one entry per DiagWrite/DiagPrintf.
    const std::vector<std::wstring>& Lines() const;
    std::wstring All() const;
    bool Contains(const std::wstring& text) const;
    int Count(const std::wstring& text) const;
    void Clear();

private:
    DiagSinkFn previous_;
};
