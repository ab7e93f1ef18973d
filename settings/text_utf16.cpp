#include "settings/text_utf16.h"

std::u16string WideToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if constexpr (sizeof(wchar_t) == 4) {
            if (c >= 0x10000 && c <= 0x10FFFF) {
                c -= 0x10000;
                out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
                continue;
            }
            if (c > 0x10FFFF)
                c = 0xFFFD;
        }
        out.push_back(static_cast<char16_t>(c));
    }
    return out;
}

std::wstring Utf16ToWide(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if constexpr (sizeof(wchar_t) == 4) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            }
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

std::wstring FieldText(const StoredChar* field, size_t capacity) {
    size_t n = 0;
    while (n < capacity && field[n] != 0)
        ++n;
    return Utf16ToWide(std::u16string_view(field, n));
}

bool SetFieldText(StoredChar* field, size_t capacity, std::wstring_view text) {
    if (capacity == 0)
        return text.empty();
    std::u16string units = WideToUtf16(text);
    size_t n = units.size();
    bool fits = n <= capacity - 1;
    if (!fits) {
        n = capacity - 1;
        if (n > 0 && units[n - 1] >= 0xD800 && units[n - 1] < 0xDC00)
            --n; // a lone high surrogate would be a broken character
    }
    for (size_t i = 0; i < n; ++i)
        field[i] = units[i];
    field[n] = 0;
    return fits;
}
