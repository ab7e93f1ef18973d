// The settings block shared by both programs. Its layout is a persisted format:
// it is copied byte for byte into the shared mapping, each profile record is stored
// whole in Config.ini and its sub-records whole in the profile files. Every size
// and offset below is therefore asserted.
#pragma once

#include <cstddef>
#include <cstdint>

// Stored text is UTF-16LE on every platform; wchar_t is 32 bits on Linux.
using StoredChar = char16_t;

constexpr int kProfileCount = 4;
constexpr int kMacroSlotCount = 32;
constexpr int kMacroKeyCount = 6; // slots 0..5 are the keyboard's macro keys
constexpr int kMaxMacroEvents = 50;
constexpr int kKeyPositionCount = 114;
constexpr int kFlagProfiles = 5; // the flag arrays have one element more than there are profiles

enum AssignTypes : uint8_t {
    kAssignNone = 1,
    kAssignKey = 2,
    kAssignMacro = 3,
    kAssignMedia = 6,
    kAssignShortcut = 9,
    kAssignCtrlDigit = 10,
    kAssignLaunch = 11,
};

struct MacroEvent {
    uint8_t Usage;
    uint8_t Action; // 1 down, 2 up; 0 counts as down
    uint16_t DelayMs;
};

struct MacroKeyInfo {
    uint8_t SlotIndex;
    uint8_t AssignType;
    uint8_t ModifierBits;
    uint8_t CommandCode;
    uint16_t KeyCode;
    uint16_t Reserved6;
    int32_t MacroIndex;
    StoredChar MacroName[20];
    uint16_t EventCount;
    uint16_t Reserved54;
    int32_t RepeatCount;
    MacroEvent Events[kMaxMacroEvents];
    StoredChar LaunchPath[260];
};

struct ProfileRecord {
    StoredChar ProFileName[250];
    StoredChar GameFile[500];
    int32_t MediaOption;
    int32_t HDDKeyboard;
    int32_t LtSwitch;
    int32_t iLtPulsation;
    int32_t LtEffectType;
    int32_t Reserved1520;
    int32_t LtFlag;
    int32_t LtColor;
    int32_t LtControl;
    int32_t LtSaving;
    int32_t LtTimeout;
    int32_t PollingRate;
    int32_t Reserved1548;
    int32_t iRGBRed;
    int32_t iRGBGreen;
    int32_t iRGBBlue;
    int32_t iCrlSliderPos;
    int32_t iResponTime;
    int32_t ModifyKey[6];
    uint8_t standardkey[kKeyPositionCount];
    uint8_t Padding1710[2];
    ::MacroKeyInfo MacroKeyInfo[kMacroSlotCount];
    uint8_t GKey[8];
    int32_t Reserved26680;
    uint8_t apmLightInfo[16];
};

struct ChangeFlags {
    int32_t MacroChanged[kFlagProfiles][kMacroSlotCount];
    int32_t LightChanged[kFlagProfiles];
    int32_t ProfileChanged;
    int32_t KeyMatrixChanged[kFlagProfiles];
    int32_t ModifyKeyChanged[kFlagProfiles];
    int32_t ImportChanged[kFlagProfiles];
    int32_t HddKeyboardChanged;
    int32_t ReservedFlags[kFlagProfiles];
    int32_t AdvancedChanged[kFlagProfiles];
    int32_t KeyboardPlugIn; // not a change flag: 1 while the keyboard is connected
};

struct SettingsBlock {
    int32_t CurrentProfile; // 0..3, -1 = not set
    ProfileRecord profiles[kProfileCount];
    ChangeFlags tail;
};

// Readers that index with CurrentProfile take a negative value ("not set") as 0.
// A value above 3 is never written by this system but can come from a hand-edited
// Config.ini; it is taken as "not set" too rather than index past the block.
inline int ActiveProfileIndex(int32_t current) {
    return current >= 0 && current < kProfileCount ? current : 0;
}

static_assert(sizeof(MacroEvent) == 4);
static_assert(offsetof(MacroEvent, Action) == 1 && offsetof(MacroEvent, DelayMs) == 2);

static_assert(sizeof(MacroKeyInfo) == 780);
static_assert(offsetof(MacroKeyInfo, SlotIndex) == 0);
static_assert(offsetof(MacroKeyInfo, AssignType) == 1);
static_assert(offsetof(MacroKeyInfo, ModifierBits) == 2);
static_assert(offsetof(MacroKeyInfo, CommandCode) == 3);
static_assert(offsetof(MacroKeyInfo, KeyCode) == 4);
static_assert(offsetof(MacroKeyInfo, Reserved6) == 6);
static_assert(offsetof(MacroKeyInfo, MacroIndex) == 8);
static_assert(offsetof(MacroKeyInfo, MacroName) == 12);
static_assert(offsetof(MacroKeyInfo, EventCount) == 52);
static_assert(offsetof(MacroKeyInfo, RepeatCount) == 56);
static_assert(offsetof(MacroKeyInfo, Events) == 60);
static_assert(offsetof(MacroKeyInfo, LaunchPath) == 260);

static_assert(sizeof(ProfileRecord) == 26700);
static_assert(offsetof(ProfileRecord, ProFileName) == 0);
static_assert(offsetof(ProfileRecord, GameFile) == 500);
static_assert(offsetof(ProfileRecord, MediaOption) == 1500);
static_assert(offsetof(ProfileRecord, HDDKeyboard) == 1504);
static_assert(offsetof(ProfileRecord, LtSwitch) == 1508);
static_assert(offsetof(ProfileRecord, iLtPulsation) == 1512);
static_assert(offsetof(ProfileRecord, LtEffectType) == 1516);
static_assert(offsetof(ProfileRecord, Reserved1520) == 1520);
static_assert(offsetof(ProfileRecord, LtFlag) == 1524);
static_assert(offsetof(ProfileRecord, LtColor) == 1528);
static_assert(offsetof(ProfileRecord, LtControl) == 1532);
static_assert(offsetof(ProfileRecord, LtSaving) == 1536);
static_assert(offsetof(ProfileRecord, LtTimeout) == 1540);
static_assert(offsetof(ProfileRecord, PollingRate) == 1544);
static_assert(offsetof(ProfileRecord, Reserved1548) == 1548);
static_assert(offsetof(ProfileRecord, iRGBRed) == 1552);
static_assert(offsetof(ProfileRecord, iRGBGreen) == 1556);
static_assert(offsetof(ProfileRecord, iRGBBlue) == 1560);
static_assert(offsetof(ProfileRecord, iCrlSliderPos) == 1564);
static_assert(offsetof(ProfileRecord, iResponTime) == 1568);
static_assert(offsetof(ProfileRecord, ModifyKey) == 1572);
static_assert(offsetof(ProfileRecord, standardkey) == 1596);
static_assert(offsetof(ProfileRecord, Padding1710) == 1710);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) == 1712);
static_assert(offsetof(ProfileRecord, GKey) == 26672);
static_assert(offsetof(ProfileRecord, Reserved26680) == 26680);
static_assert(offsetof(ProfileRecord, apmLightInfo) == 26684);

static_assert(sizeof(ChangeFlags) == 772);
static_assert(offsetof(ChangeFlags, LightChanged) == 640);
static_assert(offsetof(ChangeFlags, ProfileChanged) == 660);
static_assert(offsetof(ChangeFlags, KeyMatrixChanged) == 664);
static_assert(offsetof(ChangeFlags, ModifyKeyChanged) == 684);
static_assert(offsetof(ChangeFlags, ImportChanged) == 704);
static_assert(offsetof(ChangeFlags, HddKeyboardChanged) == 724);
static_assert(offsetof(ChangeFlags, ReservedFlags) == 728);
static_assert(offsetof(ChangeFlags, AdvancedChanged) == 748);
static_assert(offsetof(ChangeFlags, KeyboardPlugIn) == 768);

static_assert(sizeof(SettingsBlock) == 107576);
static_assert(offsetof(SettingsBlock, profiles) == 4);
static_assert(offsetof(SettingsBlock, tail) == 106804);
static_assert(offsetof(SettingsBlock, tail) + offsetof(ChangeFlags, KeyboardPlugIn) == 107572);
