// CTremoApp: one copy only (mutex "HIDloader"), the hidden window, the message loop.
#pragma once

#include "service/shell/win32/unique_handle.h"

#include <windows.h>

class CTremoApp {
public:
    explicit CTremoApp(HINSTANCE instance) : instance_(instance) {}
    // The program's exit code.
    int InitInstance();

private:
    HINSTANCE instance_;
    UniqueHandle mutex_;
};
