#include "settings/testing/sample_block.h"
#include "settings/factory_defaults.h"
#include "settings/text_utf16.h"

#include <cstring>
#include <string>

namespace {

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

} // namespace

std::unique_ptr<SettingsBlock> MakeZeroBlock() {
    auto block = std::make_unique<SettingsBlock>();
    std::memset(block.get(), 0, sizeof(SettingsBlock));
    return block;
}

std::unique_ptr<SettingsBlock> MakeSampleBlock(unsigned seed) {
    auto block = MakeZeroBlock();
    ResetAllProfiles(*block);
    uint32_t state = seed * 2654435761u + 1;
    block->CurrentProfile = static_cast<int32_t>(seed % kProfileCount);
    block->tail.KeyboardPlugIn = 1;
    const wchar_t* names[] = {L"Gaming \u6210\u529F", L"\u00C9t\u00E9 caf\u00E9", L"\u0416\u0443\u043A",
                              L"Work"};
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord& r = block->profiles[p];
        SetFieldText(r.ProFileName, std::wstring(names[p]) + L" " + std::to_wstring(seed));
        SetFieldText(r.GameFile, L"C:\\Games\\Title " + std::to_wstring(p) + L"\\game.exe");
        int32_t* ints[] = {&r.MediaOption,  &r.HDDKeyboard, &r.LtSwitch,      &r.iLtPulsation,
                           &r.LtEffectType, &r.LtFlag,      &r.LtColor,       &r.LtControl,
                           &r.LtSaving,     &r.LtTimeout,   &r.PollingRate,   &r.iRGBRed,
                           &r.iRGBGreen,    &r.iRGBBlue,    &r.iCrlSliderPos, &r.iResponTime};
        for (int32_t* v : ints) {
            *v = static_cast<int32_t>(Next(state) % 1000) - 100;
        }
        for (int32_t& m : r.ModifyKey) {
            m = static_cast<int32_t>(Next(state) % 256);
        }
        for (uint8_t& k : r.standardkey) {
            k = static_cast<uint8_t>(Next(state));
        }
        for (uint8_t& g : r.GKey) {
            g = static_cast<uint8_t>(Next(state));
        }
        for (uint8_t& a : r.apmLightInfo) {
            a = static_cast<uint8_t>(Next(state));
        }
        for (int s = 0; s < kMacroSlotCount; ++s) {
            MacroKeyInfo& m = r.MacroKeyInfo[s];
            m.SlotIndex = static_cast<uint8_t>(s);
            m.AssignType = kAssignMacro;
            m.ModifierBits = static_cast<uint8_t>(Next(state));
            m.CommandCode = static_cast<uint8_t>(Next(state));
            m.KeyCode = static_cast<uint16_t>(Next(state));
            m.MacroIndex = s;
            SetFieldText(m.MacroName, L"Macro " + std::to_wstring(p) + L"." + std::to_wstring(s));
            m.EventCount = kMaxMacroEvents;
            m.RepeatCount = 1 + static_cast<int32_t>(Next(state) % 5);
            for (int e = 0; e < kMaxMacroEvents; ++e) {
                m.Events[e].Usage = static_cast<uint8_t>(4 + Next(state) % 40);
                m.Events[e].Action = static_cast<uint8_t>(1 + e % 2);
                m.Events[e].DelayMs = static_cast<uint16_t>(Next(state) % 500);
            }
            SetFieldText(m.LaunchPath, L"C:\\Program Files\\Tool " + std::to_wstring(s) + L"\\run.exe");
        }
    }
    return block;
}
