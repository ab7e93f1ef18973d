// Test support: settings blocks with every field in use, for round trips and
// benchmarks. The same seed always gives the same block.
#pragma once

#include "settings/settings_block.h"

#include <memory>

// Factory defaults, then every macro slot of every profile filled with a named
// 50-event macro, names in several scripts, and distinct values in every field
// that the profile files store. Reserved words are left 0.
std::unique_ptr<SettingsBlock> MakeSampleBlock(unsigned seed);

// A zeroed block on the heap (the block is too large for a test's stack).
std::unique_ptr<SettingsBlock> MakeZeroBlock();
