#include "service/lighting.h"

#include <cstring>

// clang-format off
const uint8_t DefaultStageColors[kStageColorBytes] = {
    0xFF, 0x00, 0x00,  0xFF, 0xFF, 0x00,  0x00, 0xFF, 0x00,  0x00, 0xFF, 0xFF,  0x00, 0x00, 0xFF,
    0xFF, 0x00, 0xFF,  0xFF, 0x00, 0x00,  0xFF, 0xFF, 0x00,  0x00, 0xFF, 0x00,  0x00, 0xFF, 0xFF,
};
// clang-format on

namespace {

struct EffectMode {
    uint8_t code;
    bool speed;     // iLtPulsation - 1, else 0
    bool colour;    // the profile's index, else 0
    bool placesRgb; // the profile's colour goes into list entry p
};

// By LtEffectType 1..5.
const EffectMode kModes[5] = {
    {0x00, false, false, false}, {0x01, false, true, true},  {0x03, true, true, true},
    {0x04, true, true, false},   {0x02, true, false, false},
};

const EffectMode* ModeOf(int32_t type) { return type >= 1 && type <= 5 ? &kModes[type - 1] : nullptr; }

} // namespace

void BuildStageColors(const SettingsBlock& block, uint8_t (&colours)[kStageColorBytes]) {
    std::memcpy(colours, DefaultStageColors, sizeof colours);
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& profile = block.profiles[p];
        const EffectMode* mode = ModeOf(profile.LtEffectType);
        if (!mode || !mode->placesRgb)
            continue;
        colours[3 * p] = static_cast<uint8_t>(profile.iRGBBlue);
        colours[3 * p + 1] = static_cast<uint8_t>(profile.iRGBRed);
        colours[3 * p + 2] = static_cast<uint8_t>(profile.iRGBGreen);
    }
}

bool BuildLightEffectCommand(const ProfileRecord& profile, uint8_t p, uint8_t (&command)[kCommandSize]) {
    const EffectMode* mode = ModeOf(profile.LtEffectType);
    if (!mode)
        return false;
    std::memset(command, 0, sizeof command);
    command[0] = kCmdLightEffect;
    command[1] = p;
    command[3] = mode->code;
    command[4] = mode->speed ? static_cast<uint8_t>(profile.iLtPulsation - 1) : 0;
    command[5] = mode->colour ? p : 0;
    return true;
}

int32_t EffectModeFromCode(uint8_t code) {
    for (int32_t type = 1; type <= 5; ++type)
        if (kModes[type - 1].code == code)
            return type;
    return 1;
}

void SetMasterRGBLED10StageColor(HidTransport& device, Pauser& pauser, const SettingsBlock& block) {
    uint8_t colours[kStageColorBytes];
    BuildStageColors(block, colours);
    SendStageColorList(device, pauser, colours);
}

void SendLightEffects(HidTransport& device, Pauser& pauser, const SettingsBlock& block) {
    for (uint8_t p = 0; p < kProfileCount; ++p) {
        uint8_t command[kCommandSize];
        if (BuildLightEffectCommand(block.profiles[p], p, command))
            SendFeatureCommand(device, command);
        pauser.Pause(kColourPauseMs);
    }
}
