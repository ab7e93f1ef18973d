#include "settings/settings_files.h"
#include "settings/diag.h"
#include "settings/factory_defaults.h"
#include "settings/file_system.h"
#include "settings/ini_document.h"
#include "settings/ini_file.h"
#include "settings/text_utf16.h"

#include <mutex>
#include <string>

namespace {

// The service reads and saves from two threads; file access is serialised here,
// the block itself by the callers.
std::recursive_mutex g_filesMutex;

constexpr char16_t kSetting[] = u"Setting";
constexpr size_t kStringBufferChars = 8192;

struct IntKey {
    const char16_t* writeName;
    const char16_t* readName;
    int32_t ProfileRecord::*field;
};

// In the order the profile file holds them. "LtFlag " is written with its
// trailing blank, which the INI format drops.
const IntKey kIntKeys[] = {
    {u"MediaOption", u"MediaOption", &ProfileRecord::MediaOption},
    {u"HDDKeyboard", u"HDDKeyboard", &ProfileRecord::HDDKeyboard},
    {u"LtSwitch", u"LtSwitch", &ProfileRecord::LtSwitch},
    {u"LtEffectType", u"LtEffectType", &ProfileRecord::LtEffectType},
    {u"LtFlag ", u"LtFlag", &ProfileRecord::LtFlag},
    {u"iRGBRed", u"iRGBRed", &ProfileRecord::iRGBRed},
    {u"iRGBGreen", u"iRGBGreen", &ProfileRecord::iRGBGreen},
    {u"iRGBBlue", u"iRGBBlue", &ProfileRecord::iRGBBlue},
    {u"iCrlSliderPos", u"iCrlSliderPos", &ProfileRecord::iCrlSliderPos},
    {u"iResponTime", u"iResponTime", &ProfileRecord::iResponTime},
    {u"iLtPulsation", u"iLtPulsation", &ProfileRecord::iLtPulsation},
    {u"LtColor", u"LtColor", &ProfileRecord::LtColor},
    {u"LtControl", u"LtControl", &ProfileRecord::LtControl},
    {u"LtSaving", u"LtSaving", &ProfileRecord::LtSaving},
    {u"LtTimeout", u"LtTimeout", &ProfileRecord::LtTimeout},
    {u"PollingRate", u"PollingRate", &ProfileRecord::PollingRate},
};

std::u16string Numbered(const char16_t* name, int n) {
    std::string digits = std::to_string(n);
    return std::u16string(name) + std::u16string(digits.begin(), digits.end());
}

std::u16string StoredText(const StoredChar* field, size_t capacity) {
    size_t n = 0;
    while (n < capacity && field[n] != 0) {
        ++n;
    }
    return std::u16string(field, n);
}

template <size_t N> void StoreText(StoredChar (&field)[N], const std::u16string& text) {
    SetFieldText(field, Utf16ToWide(text));
}

void FillProfile(ProfileRecord& r, const IniDocument& doc) {
    StoreText(r.ProFileName, doc.GetString(kSetting, u"ProFileName", u"", kStringBufferChars));
    StoreText(r.GameFile, doc.GetString(kSetting, u"GameFile", u"", kStringBufferChars));
    for (const IntKey& k : kIntKeys) {
        r.*k.field = doc.GetInt(kSetting, k.readName, -1);
    }
    for (int i = 0; i < 6; ++i) {
        r.ModifyKey[i] = doc.GetInt(kSetting, Numbered(u"ModifyKey", i), -1);
    }
    doc.GetStruct(kSetting, u"standardKey", r.standardkey, sizeof r.standardkey);
    doc.GetStruct(kSetting, u"GKey", r.GKey, sizeof r.GKey);
    for (int i = 0; i < kMacroSlotCount; ++i) {
        doc.GetStruct(kSetting, Numbered(u"MacroKeyInfo", i), &r.MacroKeyInfo[i], sizeof r.MacroKeyInfo[i]);
    }
    doc.GetStruct(kSetting, u"apmLightInfo", r.apmLightInfo, sizeof r.apmLightInfo);
}

bool StoreProfile(const ProfileRecord& r, IniDocument& doc) {
    bool changed = doc.SetString(kSetting, u"ProFileName", StoredText(r.ProFileName, 250));
    changed |= doc.SetString(kSetting, u"GameFile", StoredText(r.GameFile, 500));
    for (const IntKey& k : kIntKeys) {
        changed |= doc.SetInt(kSetting, k.writeName, r.*k.field);
    }
    for (int i = 0; i < 6; ++i) {
        changed |= doc.SetInt(kSetting, Numbered(u"ModifyKey", i), r.ModifyKey[i]);
    }
    changed |= doc.SetStruct(kSetting, u"standardkey", r.standardkey, sizeof r.standardkey);
    changed |= doc.SetStruct(kSetting, u"GKey", r.GKey, sizeof r.GKey);
    for (int i = 0; i < kMacroSlotCount; ++i) {
        changed |= doc.SetStruct(kSetting, Numbered(u"MacroKeyInfo", i), &r.MacroKeyInfo[i],
                                 sizeof r.MacroKeyInfo[i]);
    }
    changed |= doc.SetStruct(kSetting, u"apmLightInfo", r.apmLightInfo, sizeof r.apmLightInfo);
    return changed;
}

} // namespace

std::wstring SettingsFolder() {
    std::wstring appData = ActiveFileSystem().AppDataFolder();
    if (appData.empty()) {
        return std::wstring();
    }
    return appData + L"\\Dravex Orsel RGB\\";
}

std::wstring ConfigIniPath() { return SettingsFolder() + L"Config.ini"; }

std::wstring ProfileFilePath(int profile) {
    return SettingsFolder() + L"config\\Default" + std::to_wstring(profile) + L".gkp";
}

int ReadProfileFile(ProfileRecord& record, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    IniDocument doc;
    bool read = LoadIniFile(path, &doc);
    FillProfile(record, doc);
    return read ? 1 : 0;
}

int WriteProfileFile(const ProfileRecord& record, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    IniDocument doc;
    bool existed = LoadIniFile(path, &doc);
    bool changed = StoreProfile(record, doc);
    return UpdateIniFile(path, doc, existed, changed) ? 1 : 0;
}

int LoadSettings(SettingsBlock& block) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    const std::wstring configPath = ConfigIniPath();
    IniDocument config;
    bool configExisted = LoadIniFile(configPath, &config);
    block.CurrentProfile = config.GetInt(kSetting, u"CurrentProfile", -1);
    block.tail.KeyboardPlugIn = config.GetInt(kSetting, u"KeyboardPlugIn", -1);
    bool changed = false;
    for (int p = 0; p < kProfileCount; ++p) {
        IniDocument profile;
        if (!LoadIniFile(ProfileFilePath(p), &profile)) {
            ResetProfile(block.profiles[p], p);
            continue;
        }
        FillProfile(block.profiles[p], profile);
        std::u16string section = Numbered(u"Default", p);
        changed |= config.SetStruct(section, section, &block.profiles[p], sizeof(ProfileRecord));
    }
    if (changed) {
        UpdateIniFile(configPath, config, configExisted, changed);
    }
    return 1;
}

int SaveSettings(const SettingsBlock& block) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    const std::wstring configPath = ConfigIniPath();
    IniDocument config;
    bool configExisted = LoadIniFile(configPath, &config);
    bool changed = config.SetInt(kSetting, u"CurrentProfile", block.CurrentProfile);
    changed |= config.SetInt(kSetting, u"KeyboardPlugIn", block.tail.KeyboardPlugIn);
    bool ok = UpdateIniFile(configPath, config, configExisted, changed);
    for (int p = 0; p < kProfileCount; ++p) {
        ok = WriteProfileFile(block.profiles[p], ProfileFilePath(p)) == 1 && ok;
    }
    return ok ? 1 : 0;
}

void InitSetting(SettingsBlock& block) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    DiagWrite(L"InitSetting\n");
    FileSystem& fs = ActiveFileSystem();
    const std::wstring folder = SettingsFolder();
    if (fs.FileExists(folder + L"Config.ini")) {
        DiagWrite(L"Path exsit!\n");
        LoadSettings(block);
        return;
    }
    if (!folder.empty()) {
        fs.CreateFolder(folder);
    }
    if (fs.CreateFolder(folder + L"config\\")) {
        DiagWrite(L"CreateDirectory config!\n");
    }
    block.CurrentProfile = 0;
    ResetAllProfiles(block);
    SaveSettings(block);
}

int RecordExportName(int index, const std::wstring& fileName) {
    std::lock_guard<std::recursive_mutex> lock(g_filesMutex);
    const std::wstring configPath = ConfigIniPath();
    IniDocument config;
    bool existed = LoadIniFile(configPath, &config);
    bool changed = config.SetString(Numbered(u"Profile", index), u"FileName", WideToUtf16(fileName));
    return UpdateIniFile(configPath, config, existed, changed) ? 1 : 0;
}
