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

namespace {

void AppendUtf16(std::u16string& out, uint32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
        if (b >= 0xF5) {
            extra = -1;
        }
        uint32_t c = extra == 3 ? (b & 0x07u) : extra == 2 ? (b & 0x0Fu) : (b & 0x1Fu);
        size_t j = i + 1;
        bool ok = extra > 0;
        for (int k = 0; ok && k < extra; ++k, ++j) {
            if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[j]) & 0x3Fu);
        }
        const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))) {
            ok = false;
        }
        if (!ok) {
            out.push_back(0xFFFD);
            i = j > i + 1 ? j : i + 1;
            continue;
        }
        AppendUtf16(out, c);
        i = j;
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view text) { return Utf16ToWide(Utf16FromUtf8(text)); }

std::string Utf8FromWide(std::wstring_view text) { return Utf8FromUtf16(WideToUtf16(text)); }
