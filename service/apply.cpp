#include "service/apply.h"

#include "service/key_matrix.h"
#include "service/lighting.h"
#include "service/macro_body.h"
#include "service/report_protocol.h"
#include "settings/settings_files.h"

#include <memory>

void WriteAllSettings(HidTransport& device, Pauser& pauser, const SettingsBlock& settings) {
    const int a = ActiveProfileIndex(settings.CurrentProfile);
    const ProfileRecord& active = settings.profiles[a];
    SendPerformanceCommand(device, static_cast<uint8_t>(active.PollingRate),
                           static_cast<uint8_t>(active.iResponTime));

    auto build = std::make_unique<KeyMatrixBuild>();
    BuildKeyMatrix(settings, *build);
    SetKeyMatrix(device, pauser, build->KeyMatrixBuffer);

    for (int p = 0; p < kProfileCount; ++p)
        BuildDefinitions(settings, p, *build);
    for (uint8_t p = 0; p < kProfileCount; ++p) {
        SetDefineKeymatrix(device, pauser, p, build->DefKMBuffer[p], kDefinitionBytes);
        pauser.Pause(kChunkPauseMs);
    }

    for (uint8_t p = 0; p < kProfileCount; ++p)
        for (uint8_t s = 0; s < kMacroKeyCount; ++s) {
            uint8_t body[kMacroBodyBytes];
            EncodeMacroKey(settings, p, s, body);
            SetTKeyMacro2KB(device, pauser, p, s, body, sizeof body);
            pauser.Pause(kChunkPauseMs);
        }

    pauser.Pause(kColourPauseMs);
    SetMasterRGBLED10StageColor(device, pauser, settings);
    SendLightEffects(device, pauser, settings);

    // The profile command names the active profile the keyboard can hold: a value the
    // files cannot mean (negative or above 3) is sent as the profile used above.
    SendProfileCommand(device, static_cast<uint8_t>(a));
    pauser.Pause(kColourPauseMs);
}

LoadForApplyFn LoadSettingsUnderLock(SettingsBlock& serviceBlock, std::mutex& lock) {
    return [&serviceBlock, &lock](SettingsBlock& settings) {
        std::lock_guard<std::mutex> hold(lock);
        LoadSettings(serviceBlock);
        settings = serviceBlock;
    };
}

void ApplyAllSettings(HidTransport& device, Pauser& pauser, const LoadForApplyFn& load,
                      const ApplyDoneFn& done) {
    auto settings = std::make_unique<SettingsBlock>();
    if (load)
        load(*settings);
    WriteAllSettings(device, pauser, *settings);
    if (done)
        done();
}
