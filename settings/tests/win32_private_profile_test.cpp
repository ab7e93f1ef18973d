// Our INI codec against the platform's own private-profile functions, which are
// the reference: what we write they read, what they write we read, and both read
// the same odd texts the same way.
#include "settings/ini_document.h"
#include "settings/ini_text.h"
#include "settings/settings_files.h"
#include "settings/testing/sample_block.h"
#include "settings/testing/temp_settings_folder.h"
#include "settings/text_utf16.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kIntKeys[] = {"MediaOption",   "HDDKeyboard", "LtSwitch",     "LtEffectType",
                                "LtFlag",        "iRGBRed",     "iRGBGreen",    "iRGBBlue",
                                "iCrlSliderPos", "iResponTime", "iLtPulsation", "LtColor",
                                "LtControl",     "LtSaving",    "LtTimeout",    "PollingRate"};

int32_t ProfileInt(const ProfileRecord& r, int i) {
    const int32_t values[] = {r.MediaOption,   r.HDDKeyboard, r.LtSwitch,     r.LtEffectType,
                              r.LtFlag,        r.iRGBRed,     r.iRGBGreen,    r.iRGBBlue,
                              r.iCrlSliderPos, r.iResponTime, r.iLtPulsation, r.LtColor,
                              r.LtControl,     r.LtSaving,    r.LtTimeout,    r.PollingRate};
    return values[i];
}

std::wstring W(const char* s) { return std::wstring(s, s + std::strlen(s)); }

// The platform keeps recently used files in a cache; drop it before reading a
// file that we changed behind its back.
void FlushProfileCache(const std::wstring& path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

struct Fixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder()));
        ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder() + L"config"));
    }
    TempSettingsFolder folder;
};

void ExpectPlatformReads(const ProfileRecord& r, const std::wstring& path) {
    FlushProfileCache(path);
    const wchar_t* file = path.c_str();
    wchar_t text[8192];
    GetPrivateProfileStringW(L"Setting", L"ProFileName", L"", text, 8192, file);
    EXPECT_EQ(std::wstring(text), FieldText(r.ProFileName));
    GetPrivateProfileStringW(L"Setting", L"GameFile", L"", text, 8192, file);
    EXPECT_EQ(std::wstring(text), FieldText(r.GameFile));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", W(kIntKeys[i]).c_str(), -7, file)),
                  ProfileInt(r, i))
            << kIntKeys[i];
    }
    for (int i = 0; i < 6; ++i) {
        std::wstring key = L"ModifyKey" + std::to_wstring(i);
        EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", key.c_str(), -7, file)),
                  r.ModifyKey[i]);
    }
    uint8_t key[kKeyPositionCount];
    ASSERT_TRUE(GetPrivateProfileStructW(L"Setting", L"standardKey", key, sizeof key, file));
    EXPECT_EQ(std::memcmp(key, r.standardkey, sizeof key), 0);
    uint8_t g[8];
    ASSERT_TRUE(GetPrivateProfileStructW(L"Setting", L"GKey", g, sizeof g, file));
    EXPECT_EQ(std::memcmp(g, r.GKey, sizeof g), 0);
    for (int s = 0; s < kMacroSlotCount; ++s) {
        MacroKeyInfo m;
        std::wstring name = L"MacroKeyInfo" + std::to_wstring(s);
        ASSERT_TRUE(GetPrivateProfileStructW(L"Setting", name.c_str(), &m, sizeof m, file)) << s;
        EXPECT_EQ(std::memcmp(&m, &r.MacroKeyInfo[s], sizeof m), 0) << s;
    }
    uint8_t light[16];
    ASSERT_TRUE(GetPrivateProfileStructW(L"Setting", L"apmLightInfo", light, sizeof light, file));
    EXPECT_EQ(std::memcmp(light, r.apmLightInfo, sizeof light), 0);
}

std::string Printable(const std::string& utf16) {
    std::string out;
    for (size_t i = 2; i + 1 < utf16.size(); i += 2) {
        char c = utf16[i];
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

// What other software does: every key through the platform, one call each.
void WriteKeyByKey(const ProfileRecord& r, const std::wstring& path) {
    const wchar_t* file = path.c_str();
    WritePrivateProfileStringW(L"Setting", L"ProFileName", FieldText(r.ProFileName).c_str(), file);
    WritePrivateProfileStringW(L"Setting", L"GameFile", FieldText(r.GameFile).c_str(), file);
    for (int i = 0; i < 16; ++i) {
        std::wstring name = W(kIntKeys[i]) + (i == 4 ? L" " : L"");
        WritePrivateProfileStringW(L"Setting", name.c_str(), std::to_wstring(ProfileInt(r, i)).c_str(), file);
    }
    for (int i = 0; i < 6; ++i) {
        std::wstring key = L"ModifyKey" + std::to_wstring(i);
        WritePrivateProfileStringW(L"Setting", key.c_str(), std::to_wstring(r.ModifyKey[i]).c_str(), file);
    }
    WritePrivateProfileStructW(L"Setting", L"standardkey", const_cast<uint8_t*>(r.standardkey),
                               kKeyPositionCount, file);
    WritePrivateProfileStructW(L"Setting", L"GKey", const_cast<uint8_t*>(r.GKey), 8, file);
    for (int s = 0; s < kMacroSlotCount; ++s) {
        std::wstring name = L"MacroKeyInfo" + std::to_wstring(s);
        WritePrivateProfileStructW(L"Setting", name.c_str(), const_cast<MacroKeyInfo*>(&r.MacroKeyInfo[s]),
                                   sizeof(MacroKeyInfo), file);
    }
    WritePrivateProfileStructW(L"Setting", L"apmLightInfo", const_cast<uint8_t*>(r.apmLightInfo), 16, file);
    FlushProfileCache(path);
}

void ExpectSameStoredFields(const ProfileRecord& a, const ProfileRecord& b) {
    EXPECT_EQ(FieldText(a.ProFileName), FieldText(b.ProFileName));
    EXPECT_EQ(FieldText(a.GameFile), FieldText(b.GameFile));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ProfileInt(a, i), ProfileInt(b, i)) << kIntKeys[i];
    }
    EXPECT_EQ(std::memcmp(a.ModifyKey, b.ModifyKey, sizeof a.ModifyKey), 0);
    EXPECT_EQ(std::memcmp(a.standardkey, b.standardkey, sizeof a.standardkey), 0);
    EXPECT_EQ(std::memcmp(a.MacroKeyInfo, b.MacroKeyInfo, sizeof a.MacroKeyInfo), 0);
    EXPECT_EQ(std::memcmp(a.GKey, b.GKey, sizeof a.GKey), 0);
    EXPECT_EQ(std::memcmp(a.apmLightInfo, b.apmLightInfo, sizeof a.apmLightInfo), 0);
}

TEST_F(Fixture, PlatformReadsWhatWeWrite) {
    auto block = MakeSampleBlock(21);
    ASSERT_EQ(SaveSettings(*block), 1);
    for (int p = 0; p < kProfileCount; ++p) {
        ExpectPlatformReads(block->profiles[p], ProfileFilePath(p));
    }
    auto loaded = MakeZeroBlock();
    LoadSettings(*loaded);
    const std::wstring config = ConfigIniPath();
    FlushProfileCache(config);
    EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", L"CurrentProfile", -7, config.c_str())),
              block->CurrentProfile);
    EXPECT_EQ(static_cast<int32_t>(GetPrivateProfileIntW(L"Setting", L"KeyboardPlugIn", -7, config.c_str())),
              1);
    for (int p = 0; p < kProfileCount; ++p) {
        std::wstring name = L"Default" + std::to_wstring(p);
        auto copy = MakeZeroBlock();
        ASSERT_TRUE(GetPrivateProfileStructW(name.c_str(), name.c_str(), &copy->profiles[0],
                                             sizeof(ProfileRecord), config.c_str()));
        EXPECT_EQ(std::memcmp(&copy->profiles[0], &loaded->profiles[p], sizeof(ProfileRecord)), 0) << p;
    }
}

TEST_F(Fixture, WeReadWhatThePlatformWritesKeyByKey) {
    // A new file from the platform is in the system code page: keep the names to it.
    auto block = MakeSampleBlock(22);
    SetFieldText(block->profiles[1].ProFileName, L"Caf\u00E9 \u00BD");
    WriteKeyByKey(block->profiles[1], ProfileFilePath(1));
    EXPECT_NE(folder.Read(L"config\\Default1.gkp").substr(0, 2), "\xFF\xFE");
    auto loaded = MakeZeroBlock();
    EXPECT_EQ(ReadProfileFile(loaded->profiles[1], ProfileFilePath(1)), 1);
    ExpectSameStoredFields(loaded->profiles[1], block->profiles[1]);
}

TEST_F(Fixture, UnicodeFileFromThePlatformMatchesOursByteForByte) {
    auto block = MakeSampleBlock(23);
    ASSERT_TRUE(folder.Write(L"config\\Default2.gkp", "\xFF\xFE"));
    WritePrivateProfileStringW(L"Extra", L"k", L"v", ProfileFilePath(2).c_str());
    WriteKeyByKey(block->profiles[2], ProfileFilePath(2));
    const std::string platform = folder.Read(L"config\\Default2.gkp");
    ASSERT_TRUE(folder.Write(L"config\\Default2.gkp", EncodeIniBytes(u"[Extra]\r\nk=v\r\n")));
    ASSERT_EQ(WriteProfileFile(block->profiles[2], ProfileFilePath(2)), 1);
    const std::string ours = folder.Read(L"config\\Default2.gkp");
    EXPECT_EQ(Printable(ours.substr(0, 160)), Printable(platform.substr(0, 160)));
    EXPECT_EQ(ours.size(), platform.size());
    EXPECT_TRUE(ours == platform)
        << "first difference at byte "
        << std::mismatch(ours.begin(), ours.end(), platform.begin(), platform.end()).first - ours.begin();
    auto loaded = MakeZeroBlock();
    ReadProfileFile(loaded->profiles[2], ProfileFilePath(2));
    ExpectSameStoredFields(loaded->profiles[2], block->profiles[2]);
}

// ---- differential reading of generated texts ----

uint32_t Next(uint32_t& s) {
    s = s * 1103515245u + 12345u;
    return (s >> 16) & 0x7FFF;
}

std::u16string Pick(uint32_t& s, std::initializer_list<const char16_t*> options) {
    size_t i = Next(s) % options.size();
    return *(options.begin() + i);
}

std::u16string GeneratedIni(uint32_t seed) {
    uint32_t s = seed;
    std::u16string text;
    int lines = 3 + static_cast<int>(Next(s) % 25);
    for (int i = 0; i < lines; ++i) {
        switch (Next(s) % 9) {
        case 0:
            text += Pick(s, {u"[A]", u"[a]", u"  [B]  ", u"[ A ]", u"[B", u"[A] x", u"[]", u"[B]]"});
            break;
        case 1:
            text += Pick(s, {u"; comment", u"# hash", u"", u"   ", u"\t", u"=", u"=orphan"});
            break;
        case 2:
            text += Pick(s, {u"k", u" K ", u"k2", u"\tk\t", u"num", u"st"});
            break;
        default: {
            text += Pick(s, {u"k", u" K ", u"k2", u"\tk\t", u"num", u"st", u"k=k", u"Num"});
            text += Pick(s, {u"=", u" = ", u"=\t", u"  ="});
            switch (Next(s) % 8) {
            case 0:
                text += Pick(s, {u"12", u" -5", u"0x1F", u"12abc", u"abc", u"4294967297", u"+7", u"0b11",
                                 u"0o17", u"0X10", u"\"42\"", u"'9'", u" 0x", u"--3"});
                break;
            case 1:
                text += Pick(
                    s, {u"\"quoted\"", u"'single'", u"\"half", u"\"\"", u"\"", u"'mixed\"", u"\" padded \""});
                break;
            case 2:
                text += Pick(s, {u"01ABFFAB", u"01abffab", u"01ABFFAC", u"01ABFF0AB", u"01ABFFAB0", u"0102",
                                 u"01AB FFAB", u"AB", u"00"});
                break;
            case 3:
                text += std::u16string(20 + Next(s) % 9000, static_cast<char16_t>(u'a' + Next(s) % 26));
                break;
            case 4:
                text += u"\"" + std::u16string(3 + Next(s) % 8, u'q') + u"\"";
                break;
            default:
                text += Pick(s, {u"value", u"two words  ", u"a=b", u"caf\u00E9", u"\u6210\u529F", u"x;y"});
                break;
            }
            break;
        }
        }
        text += Pick(s, {u"\r\n", u"\n", u"\r\n", u"\r\r\n"});
    }
    return text;
}

TEST_F(Fixture, DifferentialReadingOfGeneratedTexts) {
    const char16_t* sections[] = {u"A", u"a", u"B", u" A ", u"C", u"B]"};
    const char16_t* keys[] = {u"k", u"K", u"k2", u"num", u"st", u" k ", u"k=k", u"[B", u"missing"};
    const size_t buffers[] = {8192, 30, 9, 5, 4, 2};
    const std::wstring path = SettingsFolder() + L"diff.ini";
    int compared = 0;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        std::u16string text = GeneratedIni(seed);
        // The same text as UTF-16LE, in the system code page and as UTF-8, in turn.
        std::string bytes;
        if (seed % 3 == 0) {
            bytes = EncodeIniBytes(text);
        } else if (seed % 3 == 1) {
            for (char16_t c : text) {
                bytes += static_cast<char>(c < 0x100 ? c : u'?');
            }
        } else {
            bytes = "\xEF\xBB\xBF" + Utf8FromUtf16(text);
        }
        ASSERT_TRUE(folder.Write(L"diff.ini", bytes));
        FlushProfileCache(path);
        IniDocument doc;
        doc.ParseBytes(bytes);
        for (const char16_t* section : sections) {
            for (const char16_t* key : keys) {
                std::wstring ws = Utf16ToWide(section), wk = Utf16ToWide(key);
                for (size_t n : buffers) {
                    std::vector<wchar_t> buffer(n, L'#');
                    DWORD got = GetPrivateProfileStringW(ws.c_str(), wk.c_str(), L"dflt", buffer.data(),
                                                         static_cast<DWORD>(n), path.c_str());
                    std::wstring platform(buffer.data(), got);
                    EXPECT_EQ(Utf16ToWide(doc.GetString(section, key, u"dflt", n)), platform)
                        << "seed " << seed << " [" << Utf8FromUtf16(section) << "] " << Utf8FromUtf16(key)
                        << " buffer " << n;
                    ++compared;
                }
                UINT number = GetPrivateProfileIntW(ws.c_str(), wk.c_str(), -3, path.c_str());
                EXPECT_EQ(doc.GetInt(section, key, -3), static_cast<int32_t>(number))
                    << "seed " << seed << " [" << Utf8FromUtf16(section) << "] " << Utf8FromUtf16(key);
                for (size_t size = 1; size <= 4; ++size) {
                    uint8_t platformBytes[4] = {0x55, 0x55, 0x55, 0x55};
                    uint8_t ourBytes[4] = {0x55, 0x55, 0x55, 0x55};
                    BOOL platformOk = GetPrivateProfileStructW(ws.c_str(), wk.c_str(), platformBytes,
                                                               static_cast<UINT>(size), path.c_str());
                    bool ourOk = doc.GetStruct(section, key, ourBytes, size);
                    std::u16string_view raw;
                    bool exact =
                        doc.RawValue(section, key, &raw) && raw.size() == 2 * size + 2 &&
                        raw.find_first_not_of(u"0123456789ABCDEFabcdef") == std::u16string_view::npos;
                    // Where Wine takes a value that is not exactly hexadecimal digits of the
                    // right length, we refuse it; everywhere else both agree.
                    if (exact || ourOk) {
                        EXPECT_EQ(ourOk, platformOk != 0) << "seed " << seed << " [" << Utf8FromUtf16(section)
                                                          << "] " << Utf8FromUtf16(key) << " size " << size;
                    }
                    if (ourOk && platformOk) {
                        EXPECT_EQ(std::memcmp(ourBytes, platformBytes, 4), 0);
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 30000);
}

TEST_F(Fixture, DifferentialWritingIntoGeneratedTexts) {
    struct Write {
        const char16_t* section;
        const char16_t* key;
        const char16_t* value;
    };
    const Write writes[] = {
        {u"A", u"k", u"new"},       {u" a ", u"K ", u"  lead"}, {u"B", u"num", u"5"},
        {u"C", u"fresh", u"value"}, {u"A", u"k2", u"\"q\""},    {u"b", u"st", u""},
    };
    const std::wstring path = SettingsFolder() + L"write.ini";
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        std::u16string text = GeneratedIni(seed);
        ASSERT_TRUE(folder.Write(L"write.ini", EncodeIniBytes(text)));
        FlushProfileCache(path);
        IniDocument doc;
        doc.Parse(text);
        for (const Write& w : writes) {
            ASSERT_TRUE(WritePrivateProfileStringW(Utf16ToWide(w.section).c_str(), Utf16ToWide(w.key).c_str(),
                                                   Utf16ToWide(w.value).c_str(), path.c_str()));
            doc.SetString(w.section, w.key, w.value);
        }
        FlushProfileCache(path);
        const std::string platform = folder.Read(L"write.ini");
        const std::string ours = doc.SerializeBytes();
        size_t at = static_cast<size_t>(
            std::mismatch(ours.begin(), ours.end(), platform.begin(), platform.end()).first - ours.begin());
        size_t from = at > 120 ? (at - 120) & ~size_t(1) : 2;
        EXPECT_TRUE(ours == platform) << "seed " << seed << " sizes " << ours.size() << " " << platform.size()
                                      << "\nours:     " << Printable("\xFF\xFE" + ours.substr(from, 300))
                                      << "\nplatform: " << Printable("\xFF\xFE" + platform.substr(from, 300));
    }
}

} // namespace
