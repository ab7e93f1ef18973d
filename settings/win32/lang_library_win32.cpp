#include "settings/lang_texts.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<HMODULE> g_library{nullptr};

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) {
            return std::wstring();
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

} // namespace

bool OpenLangLibraryAt(const std::wstring& path) {
    // The handle is kept for the life of the process: texts may be read at any time.
    HMODULE library = LoadLibraryW(path.c_str());
    g_library.store(library);
    return library != nullptr;
}

bool OpenLangLibrary() { return OpenLangLibraryAt(ProgramFolder() + L"lang.dll"); }

std::wstring LibraryText(unsigned id) {
    HMODULE library = g_library.load();
    if (!library) {
        return std::wstring();
    }
    wchar_t buffer[kLangTextBufferChars] = {};
    int n = LoadStringW(library, id, buffer, static_cast<int>(kLangTextBufferChars));
    return n > 0 ? std::wstring(buffer, static_cast<size_t>(n)) : std::wstring();
}
