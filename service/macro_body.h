// The body of one macro key as the keyboard stores it: byte 0 the kind (0x00 key
// events, 0x03 a consumer usage), byte 1 a count, then the events.
#pragma once

#include "settings/settings_block.h"

#include <cstddef>
#include <cstdint>

constexpr size_t kMacroBodyBytes = 260;
constexpr size_t kEventStreamBytes = 256;

// Builds the body of slot s (0..5) of profile p.
void EncodeMacroKey(const SettingsBlock& block, int p, int s, uint8_t (&body)[kMacroBodyBytes]);

// The event stream of a recorded macro; never longer than the stream buffer, the
// part that does not fit is dropped. Returns the number of bytes written.
size_t EncodeEventStream(const MacroKeyInfo& slot, uint8_t (&stream)[kEventStreamBytes]);
