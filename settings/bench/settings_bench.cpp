// Full SaveSettings + LoadSettings of a block with every macro slot in use, and
// on Windows the same content written and read key by key through the platform's
// private-profile functions, in the same run. Prints one line per measurement.
#include "settings/file_system.h"
#include "settings/settings_files.h"
#include "settings/testing/sample_block.h"
#include "settings/testing/temp_settings_folder.h"
#include "settings/text_utf16.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double median, minimum, maximum;
};

Figures Measure(int rounds, const std::function<void(int)>& run) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        run(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-44s median %8.2f ms  min %8.2f  max %8.2f\n", what, f.median, f.minimum, f.maximum);
    std::fflush(stdout);
}

#ifdef _WIN32
const wchar_t* const kIntKeys[] = {L"MediaOption",   L"HDDKeyboard", L"LtSwitch",     L"LtEffectType",
                                   L"LtFlag ",       L"iRGBRed",     L"iRGBGreen",    L"iRGBBlue",
                                   L"iCrlSliderPos", L"iResponTime", L"iLtPulsation", L"LtColor",
                                   L"LtControl",     L"LtSaving",    L"LtTimeout",    L"PollingRate"};

int32_t* IntField(ProfileRecord& r, int i) {
    int32_t* fields[] = {&r.MediaOption,   &r.HDDKeyboard, &r.LtSwitch,     &r.LtEffectType,
                         &r.LtFlag,        &r.iRGBRed,     &r.iRGBGreen,    &r.iRGBBlue,
                         &r.iCrlSliderPos, &r.iResponTime, &r.iLtPulsation, &r.LtColor,
                         &r.LtControl,     &r.LtSaving,    &r.LtTimeout,    &r.PollingRate};
    return fields[i];
}

void SaveKeyByKey(SettingsBlock& b) {
    std::wstring config = ConfigIniPath();
    WritePrivateProfileStringW(L"Setting", L"CurrentProfile", std::to_wstring(b.CurrentProfile).c_str(),
                               config.c_str());
    WritePrivateProfileStringW(L"Setting", L"KeyboardPlugIn", std::to_wstring(b.tail.KeyboardPlugIn).c_str(),
                               config.c_str());
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord& r = b.profiles[p];
        std::wstring path = ProfileFilePath(p);
        const wchar_t* f = path.c_str();
        WritePrivateProfileStringW(L"Setting", L"ProFileName", FieldText(r.ProFileName).c_str(), f);
        WritePrivateProfileStringW(L"Setting", L"GameFile", FieldText(r.GameFile).c_str(), f);
        for (int i = 0; i < 16; ++i) {
            WritePrivateProfileStringW(L"Setting", kIntKeys[i], std::to_wstring(*IntField(r, i)).c_str(), f);
        }
        for (int i = 0; i < 6; ++i) {
            WritePrivateProfileStringW(L"Setting", (L"ModifyKey" + std::to_wstring(i)).c_str(),
                                       std::to_wstring(r.ModifyKey[i]).c_str(), f);
        }
        WritePrivateProfileStructW(L"Setting", L"standardkey", r.standardkey, sizeof r.standardkey, f);
        WritePrivateProfileStructW(L"Setting", L"GKey", r.GKey, sizeof r.GKey, f);
        for (int s = 0; s < kMacroSlotCount; ++s) {
            WritePrivateProfileStructW(L"Setting", (L"MacroKeyInfo" + std::to_wstring(s)).c_str(),
                                       &r.MacroKeyInfo[s], sizeof(MacroKeyInfo), f);
        }
        WritePrivateProfileStructW(L"Setting", L"apmLightInfo", r.apmLightInfo, sizeof r.apmLightInfo, f);
    }
}

void LoadKeyByKey(SettingsBlock& b) {
    std::wstring config = ConfigIniPath();
    b.CurrentProfile =
        static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", L"CurrentProfile", -1, config.c_str()));
    b.tail.KeyboardPlugIn =
        static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", L"KeyboardPlugIn", -1, config.c_str()));
    std::vector<wchar_t> text(8192);
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord& r = b.profiles[p];
        std::wstring path = ProfileFilePath(p);
        const wchar_t* f = path.c_str();
        GetPrivateProfileStringW(L"Setting", L"ProFileName", L"", text.data(), 8192, f);
        SetFieldText(r.ProFileName, text.data());
        GetPrivateProfileStringW(L"Setting", L"GameFile", L"", text.data(), 8192, f);
        SetFieldText(r.GameFile, text.data());
        for (int i = 0; i < 16; ++i) {
            std::wstring key = kIntKeys[i];
            while (key.back() == L' ') {
                key.pop_back();
            }
            *IntField(r, i) = static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", key.c_str(), -1, f));
        }
        for (int i = 0; i < 6; ++i) {
            r.ModifyKey[i] = static_cast<int32_t>(
                GetPrivateProfileIntW(L"Setting", (L"ModifyKey" + std::to_wstring(i)).c_str(), -1, f));
        }
        GetPrivateProfileStructW(L"Setting", L"standardKey", r.standardkey, sizeof r.standardkey, f);
        GetPrivateProfileStructW(L"Setting", L"GKey", r.GKey, sizeof r.GKey, f);
        for (int s = 0; s < kMacroSlotCount; ++s) {
            GetPrivateProfileStructW(L"Setting", (L"MacroKeyInfo" + std::to_wstring(s)).c_str(),
                                     &r.MacroKeyInfo[s], sizeof(MacroKeyInfo), f);
        }
        GetPrivateProfileStructW(L"Setting", L"apmLightInfo", r.apmLightInfo, sizeof r.apmLightInfo, f);
        std::wstring section = L"Default" + std::to_wstring(p);
        WritePrivateProfileStructW(section.c_str(), section.c_str(), &r, sizeof r, config.c_str());
    }
}
#endif

} // namespace

// Optional argument: the application-data folder to work in (default: a fresh
// temporary folder), so the same run can be made on different file systems.
int main(int argc, char** argv) {
    TempSettingsFolder folder;
    std::unique_ptr<FileSystem> chosen;
    if (argc > 1) {
        chosen = MakeFileSystemWithAppData(WideFromUtf8(argv[1]));
        SetFileSystem(chosen.get());
    }
    ActiveFileSystem().CreateFolder(SettingsFolder());
    ActiveFileSystem().CreateFolder(SettingsFolder() + L"config");
    std::printf("settings folder: %s\n", Utf8FromWide(SettingsFolder()).c_str());
    auto blocks = std::vector<std::unique_ptr<SettingsBlock>>();
    blocks.push_back(MakeSampleBlock(1));
    blocks.push_back(MakeSampleBlock(2));
    auto loaded = MakeZeroBlock();
    const int rounds = 40;

    // Alternating two blocks makes every save rewrite every file and every load
    // rewrite Config.ini's copies, the most work either can do.
    Figures save = Measure(rounds, [&](int i) { SaveSettings(*blocks[i % 2]); });
    Figures load = Measure(rounds, [&](int i) {
        SaveSettings(*blocks[i % 2]);
        LoadSettings(*loaded);
    });
    Figures both = Measure(rounds, [&](int i) {
        SaveSettings(*blocks[i % 2]);
        LoadSettings(*loaded);
    });
    Print("ours: SaveSettings", save);
    Print("ours: SaveSettings + LoadSettings", both);
    Figures loadOnly{load.median - save.median, 0, 0};
    std::printf("%-44s median %8.2f ms (difference of the two above)\n", "ours: LoadSettings",
                loadOnly.median);

#ifdef _WIN32
    const int keyRounds = 5;
    Figures keySave = Measure(keyRounds, [&](int i) { SaveKeyByKey(*blocks[i % 2]); });
    Figures keyBoth = Measure(keyRounds, [&](int i) {
        SaveKeyByKey(*blocks[i % 2]);
        LoadKeyByKey(*loaded);
    });
    Print("key by key: private-profile save", keySave);
    Print("key by key: private-profile save + load", keyBoth);
    std::printf("%-44s %8.1fx\n", "save + load, key by key / ours", keyBoth.median / both.median);
#endif
    SetFileSystem(nullptr);
    return 0;
}
