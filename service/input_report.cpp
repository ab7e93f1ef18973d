#include "service/input_report.h"

#include "service/lighting.h"
#include "settings/diag.h"

InputEvent DecodeInputReport(const uint8_t* report, size_t transferred) {
    if (!report || transferred < 4 || report[0] != 0x04 || report[2] != 0x03)
        return {InputEventKind::None, 0};
    if (report[1] == 0x05)
        return {InputEventKind::ProfileChanged, report[3]};
    if (report[1] == 0x06)
        return {InputEventKind::EffectChanged, report[3]};
    return {InputEventKind::None, 0};
}

bool ApplyInputEvent(SettingsBlock& block, const InputEvent& event, InputEventNotice& notice) {
    switch (event.kind) {
    case InputEventKind::ProfileChanged:
        if (event.value >= kProfileCount)
            return false;
        block.CurrentProfile = event.value;
        notice = {event.value, kProfileChangedLParam};
        return true;
    case InputEventKind::EffectChanged:
        block.profiles[ActiveProfileIndex(block.CurrentProfile)].LtEffectType =
            EffectModeFromCode(event.value);
        notice = {event.value, kEffectChangedLParam};
        return true;
    case InputEventKind::None:
        break;
    }
    return false;
}

void WriteReadDiagnostic(const uint8_t* buffer, size_t length) {
    uint8_t b[4] = {};
    for (size_t i = 0; i < 4 && i < length; ++i)
        b[i] = buffer[i];
    DiagPrintf(L"ReadThreadFun ReadBuffer[0]:0x%02x,ReadBuffer[1]:0x%02x,ReadBuffer[2]:0x%02x, "
               L"ReadBuffer[3]:0x%02x,ReadBuffer[3]:0x%02x\n",
               b[0], b[1], b[2], b[3], b[3]);
}
