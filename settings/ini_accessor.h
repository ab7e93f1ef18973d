// One INI file (skin files, settings files, the macro store) read and written
// with the platform's private-profile semantics. The file is parsed once, on the
// first read; every WriteString updates that copy and rewrites the file.
#pragma once

#include "settings/ini_document.h"

#include <string>

class CIniAccessor {
public:
    explicit CIniAccessor(std::wstring path);

    // GetPrivateProfileStringW into 8,192 characters: at most 8,191 come back.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& fallback);
    // GetPrivateProfileIntW.
    int ReadInt(const std::wstring& section, const std::wstring& key, int fallback);
    // WritePrivateProfileStringW; false when the file could not be written.
    bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    const std::wstring& Path() const { return path_; }

private:
    const IniDocument& Document();

    std::wstring path_;
    IniDocument doc_;
    bool loaded_ = false;
    bool existed_ = false;
};

constexpr size_t kProfileStringBufferChars = 8192;
