#include <windows.h>

#include "settings/diag.h"

void PlatformDiagSink(const std::wstring& text) { OutputDebugStringW(text.c_str()); }
