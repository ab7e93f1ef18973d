#include "simkbd/sim_journal.h"

#include <cstdio>
#include <sstream>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ParseLine(const std::string& line, JournalEntry& entry, std::string& why) {
    if (line.size() < 3 || (line[0] != 'F' && line[0] != 'O' && line[0] != 'R') || line[1] != ' ') {
        why = "expected 'F', 'O' or 'R' and a space";
        return false;
    }
    entry = JournalEntry{line[0], {}, false, 0};
    size_t i = 2;
    while (i < line.size() && line[i] != ' ') {
        int hi = HexDigit(line[i]);
        int lo = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
            why = "bad hex at column " + std::to_string(i + 1);
            return false;
        }
        entry.bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
        i += 2;
    }
    if (entry.bytes.empty()) {
        why = "no bytes";
        return false;
    }
    if (i == line.size())
        return true;
    if (line.compare(i, 2, " @") != 0 || i + 2 == line.size()) {
        why = "expected ' @<ms>' after the bytes";
        return false;
    }
    uint64_t ms = 0;
    for (size_t j = i + 2; j < line.size(); ++j) {
        if (line[j] < '0' || line[j] > '9') {
            why = "bad stamp";
            return false;
        }
        ms = ms * 10 + static_cast<uint64_t>(line[j] - '0');
    }
    entry.stamped = true;
    entry.ms = ms;
    return true;
}

} // namespace

std::string HexBytes(const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

bool ParseJournal(const std::string& text, std::vector<JournalEntry>& entries, std::string* error) {
    entries.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        JournalEntry entry;
        std::string why;
        if (!ParseLine(line, entry, why)) {
            if (error)
                *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

std::string FormatJournalEntry(const JournalEntry& entry) {
    std::string text(1, entry.kind);
    text += ' ';
    text += HexBytes(entry.bytes.data(), entry.bytes.size());
    if (entry.stamped)
        text += " @" + std::to_string(entry.ms);
    return text;
}

std::string CompareJournals(const std::vector<JournalEntry>& expected,
                            const std::vector<JournalEntry>& actual) {
    size_t common = expected.size() < actual.size() ? expected.size() : actual.size();
    for (size_t i = 0; i < common; ++i) {
        const JournalEntry& e = expected[i];
        const JournalEntry& a = actual[i];
        if (e.kind != a.kind || e.bytes != a.bytes || (e.stamped && (!a.stamped || e.ms != a.ms))) {
            return "report " + std::to_string(i + 1) + ": expected " + FormatJournalEntry(e) + ", got " +
                   FormatJournalEntry(a);
        }
    }
    if (expected.size() != actual.size()) {
        std::string text =
            "expected " + std::to_string(expected.size()) + " reports, got " + std::to_string(actual.size());
        if (actual.size() > common)
            text += "; first extra: " + FormatJournalEntry(actual[common]);
        else
            text += "; first missing: " + FormatJournalEntry(expected[common]);
        return text;
    }
    return {};
}
