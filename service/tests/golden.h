// Golden transcripts: journal text under tests/golden/, compared with what the
// simulated keyboard received. TREMO_UPDATE_GOLDEN=1 rewrites a file that does not
// match from the run (review the diff before keeping it).
#pragma once

#include "simkbd/sim_journal.h"
#include "simkbd/sim_keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string GoldenPath(const std::string& name) { return std::string(TREMO_GOLDEN_DIR) + "/" + name; }

inline ::testing::AssertionResult MatchesGolden(const std::string& name, const SimKeyboard& keyboard) {
    std::ifstream in(GoldenPath(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<JournalEntry> expected, actual;
    std::string error;
    if (!ParseJournal(keyboard.JournalText(), actual, &error))
        return ::testing::AssertionFailure() << "journal: " << error;
    std::string difference;
    if (!in)
        difference = "no golden file " + GoldenPath(name);
    else if (!ParseJournal(text.str(), expected, &error))
        difference = name + ": " + error;
    else
        difference = CompareJournals(expected, actual);
    if (difference.empty())
        return ::testing::AssertionSuccess();
    if (std::getenv("TREMO_UPDATE_GOLDEN")) {
        std::ofstream out(GoldenPath(name), std::ios::binary);
        out << "# " << name << "\n" << keyboard.JournalText();
    }
    return ::testing::AssertionFailure() << name << ": " << difference;
}

inline void ExpectNoProtocolErrors(const SimKeyboard& keyboard) {
    for (const std::string& e : keyboard.ProtocolErrors())
        ADD_FAILURE() << "protocol error: " << e;
}
