// Reading and comparing journals of the simulated keyboard: golden transcripts in
// tests are journal text, one report per line ("F <hex>", "O <hex>", "R <hex>",
// optionally " @<ms>"); '#' lines and blank lines are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct JournalEntry {
    char kind; // 'F', 'O' or 'R'
    std::vector<uint8_t> bytes;
    bool stamped;
    uint64_t ms;
};

// False (with the line number and reason in error) on a malformed line.
bool ParseJournal(const std::string& text, std::vector<JournalEntry>& entries, std::string* error = nullptr);

std::string FormatJournalEntry(const JournalEntry& entry);

// Empty when equal, else a description of the first difference. Stamps are
// compared only where the expected entry carries one.
std::string CompareJournals(const std::vector<JournalEntry>& expected,
                            const std::vector<JournalEntry>& actual);

std::string HexBytes(const uint8_t* bytes, size_t count);
