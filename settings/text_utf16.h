// The one conversion point between stored UTF-16 fields and the program's wide
// strings (UTF-16 on Windows, UTF-32 on Linux where the core is tested).
#pragma once

#include "settings/settings_block.h"

#include <cstddef>
#include <string>
#include <string_view>

std::u16string WideToUtf16(std::wstring_view text);
std::wstring Utf16ToWide(std::u16string_view text);

// Text of a fixed field up to its terminator (or its end when it has none).
std::wstring FieldText(const StoredChar* field, size_t capacity);

// Stores text into a fixed field, cut to capacity - 1 characters (never in the
// middle of a surrogate pair) and always terminated. Bytes after the terminator
// are left as they were. Returns false when the text had to be cut.
bool SetFieldText(StoredChar* field, size_t capacity, std::wstring_view text);

template <size_t N> std::wstring FieldText(const StoredChar (&field)[N]) { return FieldText(field, N); }
template <size_t N> bool SetFieldText(StoredChar (&field)[N], std::wstring_view text) {
    return SetFieldText(field, N, text);
}

// UTF-8 at the edges that need it (UTF-8 INI files, POSIX paths). Invalid
// sequences become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
