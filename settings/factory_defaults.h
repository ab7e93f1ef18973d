// Factory state of a profile record and of the whole settings block.
#pragma once

#include "settings/settings_block.h"

#include <cstdint>

struct SlotDefault {
    uint8_t AssignType;
    uint8_t ModifierBits;
    uint16_t KeyCode;
};

// Key position -> HID usage printed on the key. Positions 108..113 hold no key.
extern const uint8_t StandardLayout[kKeyPositionCount];

// Default assignment per macro slot; slots 0..5 are applied by a reset, the rest
// only by the macro panel's restore command.
constexpr int kSlotDefaultCount = 15;
extern const SlotDefault SlotDefaults[kSlotDefaultCount];

extern const uint8_t DefaultGKey[8];

void ResetProfile(ProfileRecord& record, int index);
void ResetAllProfiles(SettingsBlock& block);
