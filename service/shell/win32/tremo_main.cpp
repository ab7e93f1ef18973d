#include "service/shell/win32/tremo_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Libraries we load by name come from the system folder only.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    CTremoApp app(instance);
    return app.InitInstance();
}
