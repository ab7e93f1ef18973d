#include "service/shell/win32/tremo_app.h"

#include "service/shell/win32/tremo_dlg.h"

constexpr wchar_t kInstanceMutex[] = L"HIDloader";
constexpr int kAppIconId = 128;

int CTremoApp::InitInstance() {
    mutex_.Reset(CreateMutexW(nullptr, FALSE, kInstanceMutex));
    if (!mutex_ || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(kAppIconId));
    CTremoDlg dlg(instance_, icon);
    if (!dlg.Create())
        return 1;
    MSG msg;
    int exitCode = 0;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    dlg.Shutdown();
    return exitCode;
}
