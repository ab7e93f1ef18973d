#include "settings/ini_accessor.h"
#include "settings/ini_file.h"
#include "settings/text_utf16.h"

CIniAccessor::CIniAccessor(std::wstring path) : path_(std::move(path)) {}

const IniDocument& CIniAccessor::Document() {
    if (!loaded_) {
        existed_ = LoadIniFile(path_, &doc_);
        loaded_ = true;
    }
    return doc_;
}

std::wstring CIniAccessor::ReadString(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& fallback) {
    return Utf16ToWide(Document().GetString(WideToUtf16(section), WideToUtf16(key), WideToUtf16(fallback),
                                            kProfileStringBufferChars));
}

int CIniAccessor::ReadInt(const std::wstring& section, const std::wstring& key, int fallback) {
    return Document().GetInt(WideToUtf16(section), WideToUtf16(key), fallback);
}

bool CIniAccessor::WriteString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& value) {
    Document();
    bool changed = doc_.SetString(WideToUtf16(section), WideToUtf16(key), WideToUtf16(value));
    if (!UpdateIniFile(path_, doc_, existed_, changed)) {
        return false;
    }
    existed_ = true;
    return true;
}
