// Decoding of the keyboard's input reports (04 05 03 p: active profile changed,
// 04 06 03 code: lighting effect changed) and what each does to the settings block.
#pragma once

#include "settings/settings_block.h"

#include <cstddef>
#include <cstdint>

enum class InputEventKind { None, ProfileChanged, EffectChanged };

struct InputEvent {
    InputEventKind kind;
    uint8_t value; // the profile index or the keyboard's effect code
};

// Anything shorter than the four meaningful bytes, or of another ID or kind, is None.
InputEvent DecodeInputReport(const uint8_t* report, size_t transferred);

// The message 1224 the configuration program gets for an event.
constexpr int32_t kProfileChangedLParam = 20;
constexpr int32_t kEffectChangedLParam = 30;

struct InputEventNotice {
    uintptr_t wParam;
    intptr_t lParam;
};

// Stores the event in the block: CurrentProfile, or the active profile's
// LtEffectType through the inverse effect mapping. A profile index outside 0..3 is
// not stored. Returns false when the event is ignored: nothing to save or post.
bool ApplyInputEvent(SettingsBlock& block, const InputEvent& event, InputEventNotice& notice);

// "ReadThreadFun ReadBuffer[0]:..." with bytes 0..3 of the reader's buffer.
void WriteReadDiagnostic(const uint8_t* buffer, size_t length);
