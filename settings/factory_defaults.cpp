#include "settings/factory_defaults.h"

#include "settings/text_utf16.h"

#include <cstring>
#include <string>

// clang-format off
const uint8_t StandardLayout[kKeyPositionCount] = {
    0x29, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
    0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x2A, 0x2B, 0x14,
    0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30, 0x28, 0x39, 0x04, 0x16, 0x07,
    0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33, 0x34, 0x31, 0xE1, 0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11,
    0x10, 0x36, 0x37, 0x38, 0xE5, 0xE0, 0xE3, 0xE2, 0x2C, 0xE6, 0xE7, 0x65, 0xE4, 0x49, 0x4C, 0x50,
    0x4A, 0x4D, 0x52, 0x51, 0x4B, 0x4E, 0x4F, 0x53, 0x5F, 0x5C, 0x59, 0x62, 0x54, 0x60, 0x5D, 0x5A,
    0x55, 0x61, 0x5E, 0x5B, 0x63, 0x56, 0x57, 0x58, 0x64, 0x85, 0x89, 0x86, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00,
};

const SlotDefault SlotDefaults[kSlotDefaultCount] = {
    {2, 1, 0x1E}, {2, 1, 0x1F}, {2, 1, 0x20}, {2, 1, 0x21}, {2, 1, 0x22}, {2, 1, 0x23},
    {2, 5, 0}, {2, 6, 0}, {2, 7, 0}, {2, 8, 0},
    {10, 0, 0x49}, {10, 0, 0x4A}, {10, 0, 0x4B}, {10, 0, 0x4C}, {10, 0, 0x4D},
};
// clang-format on

const uint8_t DefaultGKey[8] = {0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41};

namespace {
constexpr int32_t kEffectByIndex[kProfileCount] = {5, 2, 3, 5};
}

void ResetProfile(ProfileRecord& record, int index) {
    SetFieldText(record.ProFileName, L"#" + std::to_wstring(index + 1));
    SetFieldText(record.GameFile, L"");
    record.MediaOption = 0;
    record.HDDKeyboard = 1;
    record.LtSwitch = 1;
    record.iLtPulsation = 1;
    record.LtFlag = 1;
    record.LtColor = 2;
    record.LtControl = 4;
    record.LtSaving = 50;
    record.LtTimeout = 15;
    record.PollingRate = 1;
    record.iCrlSliderPos = 1530;
    record.iResponTime = 2;
    for (int32_t& m : record.ModifyKey)
        m = 1;
    record.iRGBRed = 255;
    record.iRGBGreen = 0;
    record.iRGBBlue = 0;
    record.LtEffectType = index >= 0 && index < kProfileCount ? kEffectByIndex[index] : 5;
    std::memcpy(record.standardkey, StandardLayout, sizeof record.standardkey);
    std::memcpy(record.GKey, DefaultGKey, sizeof record.GKey);
    std::memset(record.MacroKeyInfo, 0, sizeof record.MacroKeyInfo);
    for (int i = 0; i < kMacroKeyCount; ++i) {
        MacroKeyInfo& slot = record.MacroKeyInfo[i];
        slot.SlotIndex = static_cast<uint8_t>(i);
        slot.AssignType = SlotDefaults[i].AssignType;
        slot.ModifierBits = SlotDefaults[i].ModifierBits;
        slot.KeyCode = SlotDefaults[i].KeyCode;
    }
    // Reserved words, padding and apmLightInfo keep what they held.
}

void ResetAllProfiles(SettingsBlock& block) {
    block.CurrentProfile = 0;
    for (int p = 0; p < kProfileCount; ++p)
        ResetProfile(block.profiles[p], p);
}
