#include "settings/diag.h"

#include <atomic>
#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {
std::atomic<DiagSinkFn> g_sink{nullptr};
}

void DiagWrite(std::wstring_view text) {
    DiagSinkFn sink = g_sink.load();
    std::wstring s(text);
    (sink ? sink : PlatformDiagSink)(s);
}

void DiagPrintf(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            DiagWrite(std::wstring_view(buffer.data(), static_cast<size_t>(n)));
            return;
        }
        if (buffer.size() >= 65536) {
            DiagWrite(L"(diagnostic too long)\n");
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}

DiagSinkFn SetDiagSink(DiagSinkFn sink) { return g_sink.exchange(sink); }
