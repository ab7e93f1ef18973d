// The Win32 twins of the keyboard layout and the file system.
#include "settings/file_system.h"
#include "settings/key_tables.h"
#include "settings/keyboard_layout.h"
#include "settings/settings_files.h"
#include "settings/testing/temp_settings_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Win32KeyboardLayout, MapsThroughTheActiveLayout) {
    const KeyboardLayout& layout = PlatformKeyboardLayout();
    EXPECT_EQ(layout.ScanToVirtualKey(0x1E), 0x41u);
    EXPECT_EQ(layout.ScanToVirtualKey(0x2A), 0xA0u) << "left and right Shift told apart";
    EXPECT_EQ(layout.ScanToVirtualKey(0x36), 0xA1u);
    EXPECT_EQ(layout.VirtualKeyToScan(0x5A), 0x2Cu);
    SetKeyboardLayout(nullptr);
    uint32_t vk = 0, usage = 0;
    EXPECT_EQ(TanslateUID2VK(0x1D, &vk), 1);
    EXPECT_EQ(vk, 0x5Au);
    EXPECT_EQ(VkToUsage(0x5A, &usage), 1);
    EXPECT_EQ(usage, 0x1Du);
}

class Win32Files : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs.CreateFolder(SettingsFolder())); }
    std::vector<std::wstring> FolderContents() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((SettingsFolder() + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (data.cFileName[0] != L'.') {
                    names.push_back(data.cFileName);
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        return names;
    }

    TempSettingsFolder folder;
    FileSystem& fs = ActiveFileSystem();
};

TEST_F(Win32Files, ReplacesInOneStepAndLeavesNothingBeside) {
    const std::wstring path = SettingsFolder() + L"a.ini";
    EXPECT_FALSE(fs.FileExists(path));
    ASSERT_TRUE(fs.WriteFileAtomically(path, "first"));
    ASSERT_TRUE(fs.WriteFileAtomically(path, std::string("second\0x", 8)));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, std::string("second\0x", 8));
    EXPECT_TRUE(fs.FileExists(path));
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"a.ini"});
}

TEST_F(Win32Files, FailedWriteKeepsTheOldFile) {
    const std::wstring path = SettingsFolder() + L"b.ini";
    ASSERT_TRUE(fs.WriteFileAtomically(path, "old"));
    // A file that is open without delete sharing cannot be replaced.
    HANDLE held =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs.WriteFileAtomically(path, "new"));
    CloseHandle(held);
    std::string bytes;
    ASSERT_TRUE(fs.ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"b.ini"});
    EXPECT_FALSE(fs.WriteFileAtomically(SettingsFolder() + L"missing\\c.ini", "x"));
}

TEST_F(Win32Files, FoldersAndApplicationData) {
    EXPECT_FALSE(fs.CreateFolder(SettingsFolder())) << "exists already";
    EXPECT_TRUE(fs.CreateFolder(SettingsFolder() + L"config\\"));
    EXPECT_FALSE(fs.FileExists(SettingsFolder() + L"config"));
    std::wstring appData = PlatformFileSystem().AppDataFolder();
    EXPECT_FALSE(appData.empty());
    EXPECT_NE(appData.find(L"AppData\\Roaming"), std::wstring::npos)
        << std::string(appData.begin(), appData.end());
}

} // namespace
