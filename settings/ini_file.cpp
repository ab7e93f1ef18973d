#include "settings/ini_file.h"
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
