// Bytes of an INI file <-> UTF-16 text, the way the platform's private-profile
// functions tell encodings apart: a UTF-8 byte-order mark, a UTF-16 byte-order
// mark (either order), otherwise the system code page.
#pragma once

#include <string>
#include <string_view>

enum class IniEncoding { SystemCodePage, Utf8, Utf16Le, Utf16Be };

std::u16string DecodeIniBytes(std::string_view bytes, IniEncoding* encoding = nullptr);

// Files this system writes are UTF-16LE with a byte-order mark, so any script
// survives a save and the platform's functions keep them Unicode.
std::string EncodeIniBytes(std::u16string_view text);

// Platform twin: cp1252 natively, the ANSI code page on Windows.
std::u16string SystemCodePageToUtf16(std::string_view bytes);
