#include "settings/ini_document.h"
#include "settings/ini_text.h"

#include <cstring>

namespace {

// Blanks as the platform's INI parser knows them: Unicode white space, plus
// carriage return and Ctrl-Z (the DOS end-of-file mark).
bool IsBlank(char16_t c) {
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x1A:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

std::u16string_view Trim(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) {
        ++b;
    }
    while (e > b && IsBlank(s[e - 1])) {
        --e;
    }
    return s.substr(b, e - b);
}

char16_t Fold(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && Fold(a[i]) != Fold(b[i])) {
            return false;
        }
    }
    return true;
}

struct HexTable {
    int8_t value[128];
    constexpr HexTable() : value() {
        for (int c = 0; c < 128; ++c) {
            value[c] = c >= '0' && c <= '9'   ? static_cast<int8_t>(c - '0')
                       : c >= 'A' && c <= 'F' ? static_cast<int8_t>(c - 'A' + 10)
                       : c >= 'a' && c <= 'f' ? static_cast<int8_t>(c - 'a' + 10)
                                              : -1;
        }
    }
};
constexpr HexTable kHex;

int HexValue(char16_t c) { return c < 128 ? kHex.value[c] : -1; }

// The platform's copy of a value into a caller's buffer: an enclosing pair of
// quotes is dropped, and the text is cut to bufferChars - 1 characters. When the
// value only just fits, the closing quote is cut first and one more character
// after it, exactly as the platform does.
std::u16string CopyEntry(std::u16string_view value, size_t bufferChars) {
    bool quoted = false;
    if (!value.empty() && (value[0] == u'\'' || value[0] == u'"') && value.size() > 1 &&
        value.back() == value[0]) {
        quoted = true;
        value.remove_prefix(1);
    }
    if (bufferChars == 0) {
        return std::u16string();
    }
    std::u16string out(value.substr(0, bufferChars - 1));
    if (quoted && bufferChars >= value.size() && !out.empty()) {
        out.pop_back();
    }
    return out;
}

// RtlUnicodeStringToInteger with base 0.
uint32_t TextToInteger(std::u16string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] <= u' ') {
        ++i;
    }
    bool minus = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        minus = s[i] == u'-';
        ++i;
    }
    uint32_t base = 10;
    if (i + 1 < s.size() && s[i] == u'0') {
        if (s[i + 1] == u'b') {
            base = 2;
        } else if (s[i + 1] == u'o') {
            base = 8;
        } else if (s[i + 1] == u'x') {
            base = 16;
        }
        if (base != 10) {
            i += 2;
        }
    }
    uint32_t total = 0;
    for (; i < s.size(); ++i) {
        char16_t c = s[i];
        uint32_t digit;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'A' && c <= u'Z') {
            digit = c - u'A' + 10u;
        } else if (c >= u'a' && c <= u'z') {
            digit = c - u'a' + 10u;
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        total = total * base + digit;
    }
    return minus ? 0u - total : total;
}

// Values are stored on one line: a line break inside would start a new key.
std::u16string OneLine(std::u16string_view value) {
    std::u16string out(value);
    for (char16_t& c : out) {
        if (c == u'\r' || c == u'\n') {
            c = u' ';
        }
    }
    return out;
}

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

} // namespace

IniDocument::IniDocument() : text_(std::make_unique<std::u16string>()), sections_(1) {}

void IniDocument::Parse(std::u16string_view text) { Parse(std::u16string(text)); }

void IniDocument::Parse(std::u16string&& text) {
    text_ = std::make_unique<std::u16string>(std::move(text));
    owned_.clear();
    ParseText();
}

void IniDocument::ParseBytes(std::string_view bytes) { Parse(DecodeIniBytes(bytes)); }

std::u16string_view IniDocument::Own(std::u16string text) {
    owned_.push_back(std::make_unique<std::u16string>(std::move(text)));
    return *owned_.back();
}

void IniDocument::ParseText() {
    const std::u16string_view text = *text_;
    sections_.clear();
    sections_.emplace_back();
    unnamedSections_ = false;
    Section* current = &sections_.back();
    const Key* previous = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t newline = text.find(u'\n', pos);
        size_t end = newline == std::u16string_view::npos ? text.size() : newline + 1;
        std::u16string_view line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (line.empty()) {
            continue;
        }
        if (line[0] == u'[') {
            size_t close = line.rfind(u']');
            if (close != std::u16string_view::npos) {
                sections_.push_back(Section{Trim(line.substr(1, close - 1)), {}});
                unnamedSections_ |= sections_.back().name.empty();
                current = &sections_.back();
                previous = nullptr;
                continue;
            }
        }
        std::u16string_view name = line;
        std::u16string_view value;
        bool hasValue = false;
        size_t equals = line.find(u'=');
        if (equals != std::u16string_view::npos) {
            name = Trim(line.substr(0, equals));
            value = Trim(line.substr(equals + 1));
            hasValue = true;
        }
        // Runs of lines with no name collapse into one, as the platform does.
        if (!name.empty() || !previous || !previous->name.empty()) {
            current->keys.push_back(Key{name, value, hasValue});
            previous = &current->keys.back();
        }
    }
}

std::u16string IniDocument::Serialize() const {
    std::string bytes = SerializeBytes();
    return DecodeIniBytes(bytes);
}

std::string IniDocument::SerializeBytes() const {
    std::string bytes;
    SerializeBytes(&bytes);
    return bytes;
}

void IniDocument::SerializeBytes(std::string* result) const {
    size_t units = 0;
    for (const Section& s : sections_) {
        units += s.name.empty() ? 0 : s.name.size() + 4;
        for (const Key& k : s.keys) {
            units += k.name.size() + 3 + k.value.size();
        }
    }
    std::string& bytes = *result;
    bytes.resize(2 + 2 * units);
    char* out = &bytes[0];
    *out++ = '\xFF';
    *out++ = '\xFE';
    auto put = [&out](std::u16string_view text) {
        for (char16_t c : text) {
            *out++ = static_cast<char>(c & 0xFF);
            *out++ = static_cast<char>(c >> 8);
        }
    };
    for (const Section& s : sections_) {
        if (!s.name.empty()) {
            put(u"[");
            put(s.name);
            put(u"]\r\n");
        }
        for (const Key& k : s.keys) {
            put(k.name);
            if (k.hasValue) {
                put(u"=");
                put(k.value);
            }
            put(u"\r\n");
        }
    }
    bytes.resize(static_cast<size_t>(out - bytes.data()));
}

const IniDocument::Section* IniDocument::FindSection(std::u16string_view name) const {
    name = Trim(name);
    for (const Section& s : sections_) {
        if (!s.name.empty() && EqualNoCase(s.name, name)) {
            return &s;
        }
    }
    return nullptr;
}

const IniDocument::Key* IniDocument::FindKey(std::u16string_view section, std::u16string_view key) const {
    const Section* s = FindSection(section);
    if (!s) {
        return nullptr;
    }
    key = Trim(key);
    for (const Key& k : s->keys) {
        if (EqualNoCase(k.name, key)) {
            return &k;
        }
    }
    return nullptr;
}

IniDocument::Key& IniDocument::FindOrCreateKey(std::u16string_view section, std::u16string_view key) {
    section = Trim(section);
    key = Trim(key);
    Section* target = const_cast<Section*>(FindSection(section));
    if (!target) {
        sections_.push_back(Section{Own(std::u16string(section)), {}});
        target = &sections_.back();
    }
    for (Key& k : target->keys) {
        if (EqualNoCase(k.name, key)) {
            return k;
        }
    }
    target->keys.push_back(Key{Own(std::u16string(key)), std::u16string_view(), false});
    return target->keys.back();
}

std::u16string IniDocument::GetString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view fallback, size_t bufferChars) const {
    if (key.empty()) {
        return std::u16string();
    }
    while (!fallback.empty() && fallback.back() == u' ') {
        fallback.remove_suffix(1);
    }
    const Key* k = FindKey(section, key);
    return CopyEntry(k && k->hasValue ? k->value : fallback, bufferChars);
}

int32_t IniDocument::GetInt(std::u16string_view section, std::u16string_view key, int32_t fallback) const {
    // The platform reads the value into a 30-character buffer first.
    std::u16string text = GetString(section, key, u"", 30);
    if (text.empty()) {
        return fallback;
    }
    return static_cast<int32_t>(TextToInteger(text));
}

bool IniDocument::GetStruct(std::u16string_view section, std::u16string_view key, void* out,
                            size_t size) const {
    const Key* k = FindKey(section, key);
    if (!k || !k->hasValue) {
        return false;
    }
    const std::u16string_view v = k->value;
    // Exactly the bytes and the checksum pair, all hexadecimal digits. (Wine also
    // takes a longer value by its first digits, and any characters as digits.)
    if (v.size() != 2 * size + 2) {
        return false;
    }
    for (char16_t c : v) {
        if (HexValue(c) < 0) {
            return false;
        }
    }
    auto byteAt = [&v](size_t i) {
        return static_cast<uint8_t>(HexValue(v[2 * i]) << 4 | HexValue(v[2 * i + 1]));
    };
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        sum += byteAt(i);
    }
    if (byteAt(size) != (sum & 0xFF)) {
        return false;
    }
    auto* bytes = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = byteAt(i);
    }
    return true;
}

bool IniDocument::SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    size_t lead = 0;
    while (lead < value.size() && IsBlank(value[lead])) {
        ++lead;
    }
    return Store(FindOrCreateKey(section, key), OneLine(value.substr(lead)));
}

bool IniDocument::SetInt(std::u16string_view section, std::u16string_view key, int32_t value) {
    std::string digits = std::to_string(value);
    return SetString(section, key, std::u16string(digits.begin(), digits.end()));
}

bool IniDocument::SetStruct(std::u16string_view section, std::u16string_view key, const void* data,
                            size_t size) {
    return Store(FindOrCreateKey(section, key), EncodeStructValue(data, size));
}

bool IniDocument::Store(Key& key, std::u16string value) {
    if (key.hasValue && key.value == value) {
        return false;
    }
    key.value = Own(std::move(value));
    key.hasValue = true;
    // A "[]" header cannot be written back: its keys join the section before it
    // when the file is read again, which the platform does after each write.
    if (unnamedSections_) {
        Parse(Serialize());
    }
    return true;
}

bool IniDocument::RawValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view* value) const {
    const Key* k = FindKey(section, key);
    if (!k || !k->hasValue) {
        return false;
    }
    *value = k->value;
    return true;
}

bool IniDocument::HasSection(std::u16string_view section) const { return FindSection(section) != nullptr; }

bool IniDocument::HasKey(std::u16string_view section, std::u16string_view key) const {
    return FindKey(section, key) != nullptr;
}

std::u16string EncodeStructValue(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::u16string out(2 * size + 2, u'0');
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        out[2 * i] = kHexDigits[bytes[i] >> 4];
        out[2 * i + 1] = kHexDigits[bytes[i] & 0xF];
        sum += bytes[i];
    }
    out[2 * size] = kHexDigits[(sum >> 4) & 0xF];
    out[2 * size + 1] = kHexDigits[sum & 0xF];
    return out;
}
