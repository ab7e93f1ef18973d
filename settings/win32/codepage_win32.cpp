#include "settings/ini_text.h"

#include <windows.h>

std::u16string SystemCodePageToUtf16(std::string_view bytes) {
    if (bytes.empty()) {
        return std::u16string();
    }
    int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::u16string text(static_cast<size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(&text[0]), n);
    }
    return text;
}
