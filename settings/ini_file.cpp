#include "settings/ini_file.h"
#include "settings/diag.h"
#include "settings/file_system.h"

namespace {
// Settings files are large; reusing the buffers spares fresh memory on every call.
thread_local std::string t_buffer;
} // namespace

bool LoadIniFile(const std::wstring& path, IniDocument* doc) {
    std::string& bytes = t_buffer;
    if (!ActiveFileSystem().ReadWholeFile(path, &bytes)) {
        *doc = IniDocument();
        return false;
    }
    doc->ParseBytes(bytes);
    return true;
}

bool SaveIniFile(const std::wstring& path, const IniDocument& doc) {
    doc.SerializeBytes(&t_buffer);
    return ActiveFileSystem().WriteFileAtomically(path, t_buffer);
}

bool UpdateIniFile(const std::wstring& path, const IniDocument& doc, bool existed, bool changed) {
    if (existed && !changed) {
        return true;
    }
    if (!existed && ActiveFileSystem().FileExists(path)) {
        DiagPrintf(L"Settings file not readable, not written: %ls\n", path.c_str());
        return false;
    }
    if (SaveIniFile(path, doc)) {
        return true;
    }
    DiagPrintf(L"Settings file not written: %ls\n", path.c_str());
    return false;
}
