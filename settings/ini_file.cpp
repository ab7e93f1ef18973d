#include "settings/ini_file.h"
#include "settings/file_system.h"

bool LoadIniFile(const std::wstring& path, IniDocument* doc) {
    std::string bytes;
    if (!ActiveFileSystem().ReadWholeFile(path, &bytes)) {
        *doc = IniDocument();
        return false;
    }
    doc->ParseBytes(bytes);
    return true;
}

bool SaveIniFile(const std::wstring& path, const IniDocument& doc) {
    return ActiveFileSystem().WriteFileAtomically(path, doc.SerializeBytes());
}
