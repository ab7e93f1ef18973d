// Diagnostics: every program text meant for the debugger output goes through one
// sink. On Windows the default sink is OutputDebugStringW; tests install their own
// to capture what was written.
#pragma once

#include <string>
#include <string_view>

using DiagSinkFn = void (*)(const std::wstring& text);

// Writes the text as it stands (no newline is added).
void DiagWrite(std::wstring_view text);

// printf-style with the wide format rules of the C library: %ls for wide strings.
void DiagPrintf(const wchar_t* format, ...);

// Installs a sink and returns the previous one; nullptr restores the platform default.
DiagSinkFn SetDiagSink(DiagSinkFn sink);

// The platform's own sink (platform twin: diag_posix.cpp / win32/diag_win32.cpp).
void PlatformDiagSink(const std::wstring& text);
