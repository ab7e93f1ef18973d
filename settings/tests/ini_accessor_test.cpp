#include "settings/ini_accessor.h"
#include "settings/settings_files.h"
#include "settings/testing/diag_capture.h"
#include "settings/testing/temp_settings_folder.h"

#include <gtest/gtest.h>

namespace {

class IniAccessor : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.Files().CreateFolder(SettingsFolder())); }
    std::wstring Path(const wchar_t* name) { return SettingsFolder() + name; }

    TempSettingsFolder folder;
    DiagCapture diag;
};

TEST_F(IniAccessor, ReadsWithThePlatformsRules) {
    folder.Write(L"skin.ini", "[SCREEN]\r\nMask = mask.bmp \r\n[BUTTONPOS]\r\n1=ok,20,300,96,28\r\nlong=" +
                                  std::string(9000, 'x') + "\r\nn=0x10\r\n");
    CIniAccessor ini(Path(L"skin.ini"));
    EXPECT_EQ(ini.ReadString(L"screen", L"MASK", L"none"), L"mask.bmp");
    EXPECT_EQ(ini.ReadString(L"BUTTONPOS", L"1", L""), L"ok,20,300,96,28");
    EXPECT_EQ(ini.ReadString(L"BUTTONPOS", L"2", L"dflt"), L"dflt");
    EXPECT_EQ(ini.ReadString(L"BUTTONPOS", L"long", L"").size(), 8191u);
    EXPECT_EQ(ini.ReadInt(L"BUTTONPOS", L"n", -1), 16);
    EXPECT_EQ(ini.ReadInt(L"BUTTONPOS", L"none", -1), -1);
    EXPECT_EQ(CIniAccessor(Path(L"absent.ini")).ReadString(L"a", L"b", L"c"), L"c");
}

TEST_F(IniAccessor, WritesKeepTheRestAndReadBack) {
    folder.Write(L"store.ini", "[A]\r\nx=1\r\n");
    CIniAccessor ini(Path(L"store.ini"));
    EXPECT_TRUE(ini.WriteString(L"B", L"name", L"\u6210\u529F"));
    EXPECT_TRUE(ini.WriteString(L"A", L"x", L"2"));
    CIniAccessor again(Path(L"store.ini"));
    EXPECT_EQ(again.ReadString(L"B", L"name", L""), L"\u6210\u529F");
    EXPECT_EQ(again.ReadString(L"A", L"x", L""), L"2");
    EXPECT_EQ(folder.Read(L"store.ini").substr(0, 2), "\xFF\xFE");

    CIniAccessor fresh(Path(L"new.ini"));
    EXPECT_TRUE(fresh.WriteString(L"S", L"k", L"v"));
    EXPECT_TRUE(folder.Exists(L"new.ini"));
}

TEST_F(IniAccessor, FailedWriteIsReported) {
    folder.Files().FailWritesContaining(L"store.ini");
    CIniAccessor ini(Path(L"store.ini"));
    EXPECT_FALSE(ini.WriteString(L"A", L"x", L"1"));
    EXPECT_FALSE(folder.Exists(L"store.ini"));
    EXPECT_EQ(diag.Lines().size(), 1u);
}

} // namespace
