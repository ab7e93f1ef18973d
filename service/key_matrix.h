// The key matrix shared by all profiles and the per-profile tables of user-defined
// keys, built from the four profiles' standardkey arrays.
#pragma once

#include "service/report_protocol.h"
#include "settings/settings_block.h"

#include <cstdint>

constexpr int kMaxDefinedKeys = 32;
constexpr size_t kDefinitionTableBytes = 130; // the first 128 are sent

struct KeyMatrixBuild {
    uint8_t KeyMatrixBuffer[kKeyMatrixBytes];
    // User-defined key n: its matrix position and its key position; 0xFF unused.
    uint8_t DefinedPositions[kMaxDefinedKeys];
    uint8_t DefinedKeys[kMaxDefinedKeys];
    int DefinedCount;
    uint8_t DefKMBuffer[kProfileCount][kDefinitionTableBytes];
};

// Fills the matrix and the two lists from all four profiles and zeroes the tables.
// Keys beyond the 32 the lists hold keep their default function.
void BuildKeyMatrix(const SettingsBlock& block, KeyMatrixBuild& build);

// Fills profile p's table; called for p = 0, 1, 2, 3 in this order after BuildKeyMatrix.
void BuildDefinitions(const SettingsBlock& block, int p, KeyMatrixBuild& build);
