#include "service/key_matrix.h"

#include "settings/factory_defaults.h"
#include "settings/key_tables.h"

#include <cstring>

namespace {

constexpr int kUnused = 0xFF;
constexpr int kSearchedMatrixPositions = 144; // remapped keys are looked for in 0..143
// Where the media-function macro keys claim a user-defined entry, slot 0..5.
constexpr uint8_t kMediaKeyPositions[kMacroKeyCount] = {11, 23, 56, 99, 104, 128};
constexpr uint8_t kMacroKeyPositions[kMacroKeyCount] = {10, 22, 63, 106, 111, 135};

int MatrixPositionOfUsage(uint32_t usage, int positions) {
    uint32_t vk = 0;
    TanslateUID2VK(usage, &vk);
    if (vk == 0)
        return -1;
    for (int c = 0; c < positions; ++c)
        if (MatrixVirtualKeys[c] == vk)
            return c;
    return -1;
}

bool IsDefined(const KeyMatrixBuild& build, int position) {
    for (int n = 0; n < build.DefinedCount; ++n)
        if (build.DefinedPositions[n] == position)
            return true;
    return false;
}

void Define(KeyMatrixBuild& build, int position, uint8_t key) {
    int n = build.DefinedCount++;
    const uint8_t entry[4] = {0x12, 0x03, static_cast<uint8_t>(n), 0x00};
    std::memcpy(build.KeyMatrixBuffer + 4 * position, entry, 4);
    build.DefinedPositions[n] = static_cast<uint8_t>(position);
    build.DefinedKeys[n] = key;
}

bool IsZeroEntry(const uint8_t* entry) {
    return entry[0] == 0 && entry[1] == 0 && entry[2] == 0 && entry[3] == 0;
}

} // namespace

void BuildKeyMatrix(const SettingsBlock& block, KeyMatrixBuild& build) {
    std::memcpy(build.KeyMatrixBuffer, DefaultKeyMatrix, sizeof build.KeyMatrixBuffer);
    std::memset(build.DefinedPositions, kUnused, sizeof build.DefinedPositions);
    std::memset(build.DefinedKeys, kUnused, sizeof build.DefinedKeys);
    std::memset(build.DefKMBuffer, 0, sizeof build.DefKMBuffer);
    build.DefinedCount = 0;

    for (int p = 0; p < kProfileCount; ++p)
        for (int s = 0; s < kMacroKeyCount; ++s) {
            if (block.profiles[p].MacroKeyInfo[s].AssignType != kAssignMedia)
                continue;
            int c = kMediaKeyPositions[s];
            if (build.DefinedCount < kMaxDefinedKeys && !IsDefined(build, c))
                Define(build, c, kUnused);
        }

    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kKeyPositionCount; ++k) {
            const uint8_t standard = StandardLayout[k];
            if (standard == 0 || block.profiles[p].standardkey[k] == standard)
                continue;
            if (build.DefinedCount == kMaxDefinedKeys)
                return;
            int c = MatrixPositionOfUsage(standard, kSearchedMatrixPositions);
            if (c < 0 || IsDefined(build, c))
                continue;
            Define(build, c, static_cast<uint8_t>(k));
        }
}

void BuildDefinitions(const SettingsBlock& block, int p, KeyMatrixBuild& build) {
    if (p < 0 || p >= kProfileCount)
        return;
    const ProfileRecord& profile = block.profiles[p];
    for (int n = 0; n < build.DefinedCount; ++n) {
        const int c = build.DefinedPositions[n];
        const int k = build.DefinedKeys[n];
        bool macroKey = false;
        for (uint8_t position : kMacroKeyPositions)
            macroKey = macroKey || position == c;
        if (macroKey)
            continue;
        if (k >= kKeyPositionCount) {
            // A media key's claim has no key position to read a target from: the key
            // keeps its own function in every profile instead of going dead.
            std::memcpy(build.DefKMBuffer[p] + 4 * n, DefaultKeyMatrix[c], 4);
            continue;
        }
        if (profile.standardkey[k] == StandardLayout[k])
            continue;
        int t = MatrixPositionOfUsage(profile.standardkey[k], kMatrixPositionCount);
        if (t < 0)
            continue;
        std::memcpy(build.DefKMBuffer[p] + 4 * n, DefaultKeyMatrix[t], 4);
        for (int q = 0; q < kProfileCount; ++q) {
            uint8_t* entry = build.DefKMBuffer[q] + 4 * n;
            if (q != p && IsZeroEntry(entry))
                std::memcpy(entry, DefaultKeyMatrix[c], 4);
        }
    }
}
