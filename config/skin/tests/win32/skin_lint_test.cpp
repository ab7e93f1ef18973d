// Lints the shipped Skins folder: every key each window reads is there, every
// picture decodes through the system picture decoder, the five pictures of a
// window have one size, and every rectangle lies inside the picture.
#include "config/skin/skin_catalog.h"
#include "config/skin/win32/skin_loader.h"
#include "settings/factory_defaults.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kMissing[] = L"\x01missing";

std::wstring Read(const std::wstring& path, const wchar_t* section, const std::wstring& key) {
    std::vector<wchar_t> buffer(8192, L'\0');
    GetPrivateProfileStringW(section, key.c_str(), kMissing, buffer.data(), 8192, path.c_str());
    return buffer.data();
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

bool Inside(const SkinRect& r, SIZE size) {
    return r.left >= 0 && r.top >= 0 && r.right <= size.cx && r.bottom <= size.cy && r.left <= r.right &&
           r.top <= r.bottom;
}

TEST(SkinLint, EveryWindowsSkinIsComplete) {
    const std::wstring folder = ProgramFolder() + L"Skins\\";
    for (const SkinWindowEntry& window : SkinCatalog()) {
        SCOPED_TRACE(Narrow(window.file));
        const std::wstring path = folder + window.file;
        ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
        SIZE first{0, 0};
        const wchar_t* keys[] = {L"Mask", L"Normal", L"Down", L"Over", window.disabledKey};
        for (const wchar_t* key : keys) {
            const std::wstring name = Read(path, L"SCREEN", key);
            ASSERT_NE(name, kMissing) << Narrow(key);
            UniqueBitmap bmp;
            SIZE size{};
            LoadSkinPicture(folder + name, bmp, size);
            ASSERT_TRUE(bmp) << Narrow(name) << " does not decode";
            if (first.cx == 0)
                first = size;
            EXPECT_EQ(size.cx, first.cx) << Narrow(name);
            EXPECT_EQ(size.cy, first.cy) << Narrow(name);
        }
        // The other spelling of the disabled key belongs to the other kind of window only.
        const wchar_t* other = std::wstring(window.disabledKey) == L"Disable" ? L"Disabled" : L"Disable";
        EXPECT_EQ(Read(path, L"SCREEN", other), kMissing);

        for (int key : window.buttonKeys) {
            const std::wstring value = Read(path, L"BUTTONPOS", std::to_wstring(key));
            ASSERT_NE(value, kMissing) << "BUTTONPOS " << key;
            const SkinRect r = ParseButtonPos(value).rect;
            EXPECT_TRUE(Inside(r, first)) << "BUTTONPOS " << key;
            if (std::wstring(window.file) != L"skin_main.ini") {
                EXPECT_GT(r.Width() * r.Height(), 0) << "BUTTONPOS " << key;
            }
        }
        for (const SkinRect& r : window.fixedRects)
            EXPECT_TRUE(Inside(r, first)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(SkinLint, PanelsFitTheMainWindowsPanelArea) {
    const std::wstring folder = ProgramFolder() + L"Skins\\";
    for (const wchar_t* file : {L"skin_main.ini", L"Skin_Macro_control.ini", L"Skin_light_control.ini",
                                L"Skin_color_control.ini"}) {
        UniqueBitmap bmp;
        SIZE size{};
        LoadSkinPicture(folder + Read(folder + file, L"SCREEN", L"Normal"), bmp, size);
        EXPECT_EQ(size.cx, 785) << Narrow(file);
        EXPECT_EQ(size.cy, 267) << Narrow(file);
    }
}

TEST(SkinLint, KeyPanelHasAKeyExactlyWhereTheLayoutHasOne) {
    const std::wstring path = ProgramFolder() + L"Skins\\skin_main.ini";
    std::vector<SkinRect> keys;
    for (int i = 0; i < kKeyPositionCount; ++i) {
        const SkinRect r =
            ParseButtonPos(Read(path, L"BUTTONPOS", std::to_wstring(kKeyPanelFirstKey + i))).rect;
        EXPECT_EQ(r.Width() > 0 && r.Height() > 0, StandardLayout[i] != 0) << "position " << i;
        if (r.Width() > 0)
            keys.push_back(r);
    }
    for (size_t a = 0; a < keys.size(); ++a)
        for (size_t b = a + 1; b < keys.size(); ++b) {
            const bool apart = keys[a].right <= keys[b].left || keys[b].right <= keys[a].left ||
                               keys[a].bottom <= keys[b].top || keys[b].bottom <= keys[a].top;
            EXPECT_TRUE(apart) << "keys " << a << " and " << b << " overlap";
        }
}

TEST(SkinLint, ThumbPicturesFitTheirTracks) {
    const std::wstring folder = ProgramFolder() + L"Skins\\";
    struct {
        const wchar_t* name;
        int maxWidth, maxHeight;
    } thumbs[] = {{L"arrow_below.bmp", 232, 11}, {L"arrow_left.bmp", 20, 184}};
    for (const auto& t : thumbs) {
        HBITMAP raw = static_cast<HBITMAP>(LoadImageW(nullptr, (folder + t.name).c_str(), IMAGE_BITMAP, 0, 0,
                                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        UniqueBitmap bmp(raw);
        ASSERT_TRUE(bmp) << Narrow(t.name);
        BITMAP info{};
        GetObjectW(bmp.get(), sizeof info, &info);
        EXPECT_LE(info.bmWidth, t.maxWidth);
        EXPECT_LE(info.bmHeight, t.maxHeight);
    }
}

TEST(SkinLint, ResourcesAreLinked) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_TRUE(FindResourceW(self, MAKEINTRESOURCEW(128), RT_GROUP_ICON));
    EXPECT_TRUE(FindResourceW(self, MAKEINTRESOURCEW(137), RT_GROUP_ICON));
    for (int id : {138, 139, 140, 143}) {
        UniqueBitmap bmp(LoadBitmapW(self, MAKEINTRESOURCEW(id)));
        ASSERT_TRUE(bmp) << id;
        BITMAP info{};
        GetObjectW(bmp.get(), sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);
    }
}

} // namespace
