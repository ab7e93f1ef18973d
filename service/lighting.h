// Lighting upload: the ten-colour list shared by all profiles and one effect
// command per profile, with the mapping between LtEffectType and the keyboard's
// effect codes (the input-report reader uses it the other way round).
#pragma once

#include "service/report_protocol.h"
#include "settings/settings_block.h"

#include <cstdint>

extern const uint8_t DefaultStageColors[kStageColorBytes];

// The list before sending: defaults, with profile p's colour (blue, red, green) in
// entry p for the profiles in modes 2 and 3.
void BuildStageColors(const SettingsBlock& block, uint8_t (&colours)[kStageColorBytes]);

// The effect command of profile p; false for an LtEffectType outside 1..5.
bool BuildLightEffectCommand(const ProfileRecord& profile, uint8_t p, uint8_t (&command)[kCommandSize]);

// Effect code -> LtEffectType: 0->1, 1->2, 2->5, 3->3, 4->4, any other -> 1.
int32_t EffectModeFromCode(uint8_t code);

void SetMasterRGBLED10StageColor(HidTransport& device, Pauser& pauser, const SettingsBlock& block);
// One command per profile, 100 ms after each, also after a profile that sent none.
void SendLightEffects(HidTransport& device, Pauser& pauser, const SettingsBlock& block);
