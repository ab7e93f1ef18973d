// An INI file held in memory with the semantics of the platform's private-profile
// functions: parse once, answer any number of reads and writes, write once.
// Sections and keys match without regard to case, blanks around names do not
// count, the first of duplicate sections or keys wins, integers and struct values
// read as the platform reads them, and the text written is laid out as the
// platform lays it out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    IniDocument();
    IniDocument(IniDocument&&) = default;
    IniDocument& operator=(IniDocument&&) = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    void Parse(std::u16string_view text);
    void Parse(std::u16string&& text);
    // Detects the encoding as the platform does (ini_text.h).
    void ParseBytes(std::string_view bytes);
    std::u16string Serialize() const;
    // UTF-16LE with a byte-order mark.
    std::string SerializeBytes() const;
    void SerializeBytes(std::string* bytes) const;

    // GetPrivateProfileStringW into a buffer of bufferChars characters: at most
    // bufferChars - 1 characters, one pair of enclosing quotes removed.
    std::u16string GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view fallback, size_t bufferChars) const;
    // GetPrivateProfileIntW: the fallback for a missing or empty value, else the
    // number the text starts with (decimal, or 0x / 0o / 0b prefixed), wrapping at 32 bits.
    int32_t GetInt(std::u16string_view section, std::u16string_view key, int32_t fallback) const;
    // GetPrivateProfileStructW: true and out filled only when the value is exactly
    // size bytes plus the checksum pair in hexadecimal digits (either case) and the
    // checksum matches; out is left untouched otherwise.
    bool GetStruct(std::u16string_view section, std::u16string_view key, void* out, size_t size) const;

    // WritePrivateProfileStringW: creates the section and key when missing.
    // Each setter returns whether the document changed.
    bool SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    bool SetInt(std::u16string_view section, std::u16string_view key, int32_t value);
    // WritePrivateProfileStructW: upper-case hexadecimal pairs plus the checksum pair.
    bool SetStruct(std::u16string_view section, std::u16string_view key, const void* data, size_t size);

    // The value as stored (blanks around it removed); false when the key is
    // missing or has no '='.
    bool RawValue(std::u16string_view section, std::u16string_view key, std::u16string_view* value) const;
    bool HasSection(std::u16string_view section) const;
    bool HasKey(std::u16string_view section, std::u16string_view key) const;

private:
    // Names and values point into the parsed text or into strings the document
    // owns, so a large file is not copied line by line.
    struct Key {
        std::u16string_view name;
        std::u16string_view value;
        bool hasValue;
    };
    struct Section {
        std::u16string_view name; // empty for the lines before the first section header
        std::vector<Key> keys;
    };

    void ParseText();
    std::u16string_view Own(std::u16string text);

    const Section* FindSection(std::u16string_view name) const;
    const Key* FindKey(std::u16string_view section, std::u16string_view key) const;
    Key& FindOrCreateKey(std::u16string_view section, std::u16string_view key);
    bool Store(Key& key, std::u16string value);

    std::unique_ptr<std::u16string> text_;
    std::vector<std::unique_ptr<std::u16string>> owned_;
    std::vector<Section> sections_;
    bool unnamedSections_ = false;
};

// Struct encoding on its own (also used where a value is built without a document).
std::u16string EncodeStructValue(const void* data, size_t size);
