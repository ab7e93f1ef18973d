#include "settings/testing/diag_capture.h"

#include <mutex>

namespace {

std::mutex g_mutex;
std::vector<std::wstring> g_lines;

void CaptureSink(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lines.push_back(text);
}

} // namespace

DiagCapture::DiagCapture() {
    Clear();
    previous_ = SetDiagSink(CaptureSink);
}

DiagCapture::~DiagCapture() { SetDiagSink(previous_); }

const std::vector<std::wstring>& DiagCapture::Lines() const { return g_lines; }

std::wstring DiagCapture::All() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::wstring all;
    for (const std::wstring& line : g_lines) {
        all += line;
    }
    return all;
}

bool DiagCapture::Contains(const std::wstring& text) const { return Count(text) > 0; }

int DiagCapture::Count(const std::wstring& text) const {
    std::lock_guard<std::mutex> lock(g_mutex);
    int n = 0;
    for (const std::wstring& line : g_lines) {
        if (line == text) {
            ++n;
        }
    }
    return n;
}

void DiagCapture::Clear() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lines.clear();
}
