#include "settings/ini_text.h"
#include "settings/text_utf16.h"

#include <cstring>

namespace {

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::u16string text(bytes.size() / 2, u'\0');
    const bool hostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
    if (bigEndian == hostBigEndian) {
        std::memcpy(&text[0], bytes.data(), text.size() * 2);
        return text;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(p[2 * i] << 8 | p[2 * i + 1]);
    }
    return text;
}

} // namespace

std::u16string DecodeIniBytes(std::string_view bytes, IniEncoding* encoding) {
    IniEncoding found = IniEncoding::SystemCodePage;
    std::u16string text;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        found = IniEncoding::Utf8;
        text = Utf16FromUtf8(bytes.substr(3));
    } else if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
        found = IniEncoding::Utf16Le;
        text = Utf16FromBytes(bytes.substr(2), false);
    } else if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") {
        found = IniEncoding::Utf16Be;
        text = Utf16FromBytes(bytes.substr(2), true);
    } else {
        text = SystemCodePageToUtf16(bytes);
    }
    if (encoding) {
        *encoding = found;
    }
    return text;
}

std::string EncodeIniBytes(std::u16string_view text) {
    std::string bytes(2 + 2 * text.size(), '\0');
    bytes[0] = '\xFF';
    bytes[1] = '\xFE';
    char* out = &bytes[2];
    for (char16_t c : text) {
        *out++ = static_cast<char>(c & 0xFF);
        *out++ = static_cast<char>(c >> 8);
    }
    return bytes;
}
