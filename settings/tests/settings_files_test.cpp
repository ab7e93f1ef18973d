#include "settings/factory_defaults.h"
#include "settings/ini_document.h"
#include "settings/ini_text.h"
#include "settings/settings_files.h"
#include "settings/testing/diag_capture.h"
#include "settings/testing/sample_block.h"
#include "settings/testing/temp_settings_folder.h"
#include "settings/text_utf16.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const wchar_t* const kProfileFiles[] = {L"config\\Default0.gkp", L"config\\Default1.gkp",
                                        L"config\\Default2.gkp", L"config\\Default3.gkp"};

IniDocument ParseFile(const TempSettingsFolder& folder, const std::wstring& relative) {
    IniDocument doc;
    doc.ParseBytes(folder.Read(relative));
    return doc;
}

std::string Utf8OfFile(const TempSettingsFolder& folder, const std::wstring& relative) {
    return Utf8FromUtf16(DecodeIniBytes(folder.Read(relative)));
}

// The profile file stores every field except the reserved words, and the
// names only up to their terminators.
void ExpectSameStoredFields(ProfileRecord a, ProfileRecord b, int profile) {
    EXPECT_EQ(FieldText(a.ProFileName), FieldText(b.ProFileName)) << "profile " << profile;
    EXPECT_EQ(FieldText(a.GameFile), FieldText(b.GameFile)) << "profile " << profile;
    std::memset(a.ProFileName, 0, sizeof a.ProFileName + sizeof a.GameFile);
    std::memset(b.ProFileName, 0, sizeof b.ProFileName + sizeof b.GameFile);
    a.Reserved1520 = b.Reserved1520 = 0;
    a.Reserved1548 = b.Reserved1548 = 0;
    a.Reserved26680 = b.Reserved26680 = 0;
    a.Padding1710[0] = b.Padding1710[0] = a.Padding1710[1] = b.Padding1710[1] = 0;
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "profile " << profile;
}

class SettingsFiles : public ::testing::Test {
protected:
    // The service's first start in an empty folder: folders and factory files.
    void FirstStart() {
        InitSetting(*MakeZeroBlock());
        diag.Clear();
        folder.Files().ClearLog();
    }
    void MakeFolders() {
        ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder()));
        ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder() + L"config"));
    }

    TempSettingsFolder folder;
    DiagCapture diag;
};

TEST_F(SettingsFiles, FolderIsBelowApplicationData) {
    EXPECT_EQ(SettingsFolder(), folder.AppData() + L"\\Dravex Orsel RGB\\");
}

TEST_F(SettingsFiles, FirstStartCreatesFolderAndFactoryFiles) {
    auto block = MakeSampleBlock(1);
    InitSetting(*block);
    EXPECT_EQ(diag.Lines(), (std::vector<std::wstring>{L"InitSetting\n", L"CreateDirectory config!\n"}));
    EXPECT_TRUE(folder.Exists(L"Config.ini"));
    for (const wchar_t* f : kProfileFiles) {
        EXPECT_TRUE(folder.Exists(f)) << f;
        EXPECT_EQ(folder.Read(f).substr(0, 2), "\xFF\xFE") << "UTF-16LE with a byte-order mark";
    }
    auto factory = MakeSampleBlock(1);
    ResetAllProfiles(*factory);
    EXPECT_EQ(block->CurrentProfile, 0);
    EXPECT_EQ(std::memcmp(&block->profiles, &factory->profiles, sizeof factory->profiles), 0);
    auto loaded = MakeZeroBlock();
    LoadSettings(*loaded);
    EXPECT_EQ(loaded->CurrentProfile, 0);
    EXPECT_EQ(loaded->tail.KeyboardPlugIn, block->tail.KeyboardPlugIn);
    for (int p = 0; p < kProfileCount; ++p) {
        ExpectSameStoredFields(loaded->profiles[p], factory->profiles[p], p);
    }

    diag.Clear();
    auto again = MakeZeroBlock();
    InitSetting(*again);
    EXPECT_EQ(diag.Lines(), (std::vector<std::wstring>{L"InitSetting\n", L"Path exsit!\n"}));
    EXPECT_EQ(std::memcmp(&again->profiles, &loaded->profiles, sizeof loaded->profiles), 0);
}

TEST_F(SettingsFiles, RoundTripKeepsEveryStoredField) {
    auto block = MakeSampleBlock(7);
    MakeFolders();
    EXPECT_EQ(SaveSettings(*block), 1);
    auto loaded = MakeZeroBlock();
    EXPECT_EQ(LoadSettings(*loaded), 1);
    EXPECT_EQ(loaded->CurrentProfile, block->CurrentProfile);
    EXPECT_EQ(loaded->tail.KeyboardPlugIn, 1);
    for (int p = 0; p < kProfileCount; ++p) {
        ExpectSameStoredFields(loaded->profiles[p], block->profiles[p], p);
    }
    EXPECT_TRUE(diag.Lines().empty());
}

TEST_F(SettingsFiles, SaveWritesConfigAndFourProfileFilesOnly) {
    FirstStart();
    auto block = MakeSampleBlock(3);
    EXPECT_EQ(SaveSettings(*block), 1);
    std::vector<std::wstring> expected{SettingsFolder() + L"Config.ini"};
    for (const wchar_t* f : kProfileFiles) {
        expected.push_back(SettingsFolder() + f);
    }
    EXPECT_EQ(folder.Files().Writes(), expected);

    // A file whose content did not change is not rewritten.
    folder.Files().ClearLog();
    block->profiles[1].LtColor += 1;
    EXPECT_EQ(SaveSettings(*block), 1);
    EXPECT_EQ(folder.Files().Writes(), std::vector<std::wstring>{SettingsFolder() + kProfileFiles[1]});
}

TEST_F(SettingsFiles, LoadParsesEachFileOnceAndWritesConfigOnce) {
    FirstStart();
    auto block = MakeSampleBlock(4);
    SaveSettings(*MakeSampleBlock(5));
    folder.Files().ClearLog();
    LoadSettings(*block);
    EXPECT_EQ(folder.Files().reads.size(), 5u);
    EXPECT_EQ(folder.Files().Writes(), std::vector<std::wstring>{SettingsFolder() + L"Config.ini"});
    IniDocument config = ParseFile(folder, L"Config.ini");
    for (int p = 0; p < kProfileCount; ++p) {
        std::u16string name = u"Default" + std::u16string(1, static_cast<char16_t>(u'0' + p));
        ProfileRecord copy{};
        EXPECT_TRUE(config.GetStruct(name, name, &copy, sizeof copy)) << p;
        EXPECT_EQ(std::memcmp(&copy, &block->profiles[p], sizeof copy), 0) << p;
    }
}

TEST_F(SettingsFiles, MissingProfileFileGivesFactoryDefaultsAndNoDefaultSection) {
    MakeFolders();
    SaveSettings(*MakeSampleBlock(8));
    ASSERT_TRUE(folder.Remove(kProfileFiles[2]));
    auto loaded = MakeSampleBlock(9);
    ProfileRecord expected = loaded->profiles[2];
    ResetProfile(expected, 2);
    LoadSettings(*loaded);
    auto saved = MakeSampleBlock(8);
    EXPECT_EQ(std::memcmp(&loaded->profiles[2], &expected, sizeof(ProfileRecord)), 0);
    for (int p : {0, 1, 3}) {
        ExpectSameStoredFields(loaded->profiles[p], saved->profiles[p], p);
    }
    IniDocument config = ParseFile(folder, L"Config.ini");
    EXPECT_TRUE(config.HasSection(u"Default1"));
    EXPECT_FALSE(config.HasSection(u"Default2"));
    EXPECT_FALSE(folder.Exists(kProfileFiles[2]));
}

TEST_F(SettingsFiles, DamagedMacroSlotKeepsItsPreviousContent) {
    FirstStart();
    auto block = MakeSampleBlock(10);
    SaveSettings(*block);
    std::string text = Utf8OfFile(folder, kProfileFiles[0]);
    size_t at = text.find("MacroKeyInfo7=");
    ASSERT_NE(at, std::string::npos);
    char& digit = text[at + 14 + 40];
    digit = digit == '0' ? '1' : '0';
    folder.Write(kProfileFiles[0], text);

    auto loaded = MakeSampleBlock(11);
    const MacroKeyInfo before = loaded->profiles[0].MacroKeyInfo[7];
    LoadSettings(*loaded);
    EXPECT_EQ(std::memcmp(&loaded->profiles[0].MacroKeyInfo[7], &before, sizeof before), 0);
    for (int s = 0; s < kMacroSlotCount; ++s) {
        if (s != 7) {
            EXPECT_EQ(std::memcmp(&loaded->profiles[0].MacroKeyInfo[s], &block->profiles[0].MacroKeyInfo[s],
                                  sizeof(MacroKeyInfo)),
                      0)
                << s;
        }
    }
    EXPECT_EQ(loaded->profiles[0].LtColor, block->profiles[0].LtColor);
    EXPECT_EQ(std::memcmp(loaded->profiles[0].apmLightInfo, block->profiles[0].apmLightInfo, 16), 0);
}

TEST_F(SettingsFiles, KeyNamesAsWrittenAndAsRead) {
    FirstStart();
    auto block = MakeSampleBlock(12);
    block->profiles[0].LtFlag = 5;
    SaveSettings(*block);
    std::string text = Utf8OfFile(folder, kProfileFiles[0]);
    EXPECT_NE(text.find("\r\nLtFlag=5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nstandardkey="), std::string::npos);
    EXPECT_EQ(text.find("standardKey"), std::string::npos);
    auto loaded = MakeZeroBlock();
    LoadSettings(*loaded);
    EXPECT_EQ(loaded->profiles[0].LtFlag, 5);
    EXPECT_EQ(std::memcmp(loaded->profiles[0].standardkey, block->profiles[0].standardkey, kKeyPositionCount),
              0);
}

TEST_F(SettingsFiles, HandWrittenProfileFile) {
    // A file in the system code page, with odd blanks, case and a missing key.
    std::string file = "[setting]\r\n"
                       " ProFileName = Caf\xE9 \r\n"
                       "LTFLAG = 3\r\n"
                       "pollingrate=\r\n"
                       "MediaOption=0x10\r\n";
    auto record = MakeSampleBlock(13);
    ProfileRecord& r = record->profiles[0];
    const ProfileRecord before = r;
    MakeFolders();
    ASSERT_TRUE(folder.Write(L"import.gkp", file));
    EXPECT_EQ(ReadProfileFile(r, SettingsFolder() + L"import.gkp"), 1);
    EXPECT_EQ(FieldText(r.ProFileName), L"Caf\u00E9");
    EXPECT_EQ(r.LtFlag, 3);
    EXPECT_EQ(r.PollingRate, -1);
    EXPECT_EQ(r.MediaOption, 16);
    EXPECT_EQ(r.iRGBRed, -1);
    EXPECT_EQ(FieldText(r.GameFile), L"");
    EXPECT_EQ(std::memcmp(r.MacroKeyInfo, before.MacroKeyInfo, sizeof r.MacroKeyInfo), 0);
    EXPECT_EQ(ReadProfileFile(r, SettingsFolder() + L"absent.gkp"), 0);
}

TEST_F(SettingsFiles, OverlongStringsAreCutToTheirFields) {
    std::string file = "\xEF\xBB\xBF[Setting]\r\nProFileName=" + std::string(300, 'n') +
                       "\r\nGameFile=" + std::string(600, 'g') + "\r\n";
    MakeFolders();
    folder.Write(L"long.gkp", file);
    auto block = MakeZeroBlock();
    ProfileRecord& r = block->profiles[0];
    std::memset(&r, 0x41, sizeof r);
    ReadProfileFile(r, SettingsFolder() + L"long.gkp");
    EXPECT_EQ(FieldText(r.ProFileName), std::wstring(249, L'n'));
    EXPECT_EQ(r.ProFileName[249], 0);
    EXPECT_EQ(FieldText(r.GameFile), std::wstring(499, L'g'));
    EXPECT_EQ(r.GameFile[499], 0);
}

TEST_F(SettingsFiles, NamesInAnyScriptSurviveASave) {
    FirstStart();
    auto block = MakeSampleBlock(14);
    SetFieldText(block->profiles[3].ProFileName, L"\u6210\u529F \U0001F3AE");
    EXPECT_EQ(SaveSettings(*block), 1);
    auto loaded = MakeZeroBlock();
    LoadSettings(*loaded);
    EXPECT_EQ(FieldText(loaded->profiles[3].ProFileName), L"\u6210\u529F \U0001F3AE");
}

TEST_F(SettingsFiles, FailedWriteIsReportedAndKeepsTheOldFile) {
    FirstStart();
    auto block = MakeSampleBlock(15);
    const std::string before = folder.Read(kProfileFiles[1]);
    diag.Clear();
    folder.Files().FailWritesContaining(L"Default1");
    auto changed = MakeSampleBlock(16);
    EXPECT_EQ(SaveSettings(*changed), 0);
    EXPECT_EQ(folder.Read(kProfileFiles[1]), before);
    EXPECT_EQ(diag.Lines(), std::vector<std::wstring>{L"Settings file not written: " + SettingsFolder() +
                                                      kProfileFiles[1] + L"\n"});
    EXPECT_EQ(WriteProfileFile(changed->profiles[1], SettingsFolder() + kProfileFiles[1]), 0);
    EXPECT_EQ(WriteProfileFile(changed->profiles[2], SettingsFolder() + kProfileFiles[2]), 1);
}

TEST_F(SettingsFiles, UnreadableFileIsNeverOverwritten) {
    FirstStart();
    RecordExportName(1, L"kept.gkp");
    const std::string config = folder.Read(L"Config.ini");
    folder.Files().FailReadsContaining(L"Config.ini");
    auto block = MakeSampleBlock(20);
    EXPECT_EQ(SaveSettings(*block), 0);
    EXPECT_EQ(LoadSettings(*block), 1);
    EXPECT_EQ(RecordExportName(2, L"other.gkp"), 0);
    EXPECT_EQ(folder.Read(L"Config.ini"), config);
    EXPECT_EQ(diag.Count(L"Settings file not readable, not written: " + SettingsFolder() + L"Config.ini\n"),
              3);
}

TEST_F(SettingsFiles, SaveWithoutTheFoldersReportsFailure) {
    EXPECT_EQ(SaveSettings(*MakeSampleBlock(19)), 0);
    EXPECT_EQ(diag.Lines().size(), 5u);
    EXPECT_FALSE(folder.Exists(L"Config.ini"));
}

TEST_F(SettingsFiles, ExportNameKeepsTheRestOfConfig) {
    FirstStart();
    auto block = MakeSampleBlock(17);
    EXPECT_EQ(RecordExportName(2, L"C:\\Users\\me\\Desktop\\\u6210.gkp"), 1);
    block->CurrentProfile = 3;
    SaveSettings(*block);
    IniDocument config = ParseFile(folder, L"Config.ini");
    EXPECT_EQ(config.GetString(u"Profile2", u"FileName", u"", 8192), u"C:\\Users\\me\\Desktop\\\u6210.gkp");
    EXPECT_EQ(config.GetInt(u"Setting", u"CurrentProfile", -1), 3);
}

TEST_F(SettingsFiles, MissingConfigKeysReadAsMinusOne) {
    MakeFolders();
    folder.Write(L"Config.ini", "[Setting]\r\n");
    auto block = MakeSampleBlock(18);
    LoadSettings(*block);
    EXPECT_EQ(block->CurrentProfile, -1);
    EXPECT_EQ(block->tail.KeyboardPlugIn, -1);
}

} // namespace
