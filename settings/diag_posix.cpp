#include "settings/diag.h"

#include <cstdio>
#include <cstdlib>

// Native builds only run tests and benchmarks; diagnostics are shown on request.
void PlatformDiagSink(const std::wstring& text) {
    static const bool show = std::getenv("TREMO_DIAG") != nullptr;
    if (show)
        std::fprintf(stderr, "%ls", text.c_str());
}
