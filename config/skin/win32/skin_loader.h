// Skin files, pictures, regions and texts: the pieces every skinned window is built from.
#pragma once

#include "config/skin/button_pos.h"
#include "config/skin/win32/handles.h"
#include "config/skin/window_texts.h"
#include "settings/ini_accessor.h"

#include <windows.h>

#include <string>
#include <vector>

// The program's folder with a trailing backslash, set by the main window and read
// by every other skinned window. Computed on first use when nobody set it.
const std::wstring& ProgramFolder();
void SetProgramFolder(const std::wstring& folder);
// Drive and directory of this executable, with a trailing backslash.
std::wstring ModuleFolder();

// Decodes a BMP, JPEG or GIF file with the system picture decoder into target.
// A missing or undecodable file leaves an empty bitmap of size 0 x 0.
void LoadSkinPicture(const std::wstring& path, UniqueBitmap& target, SIZE& size);

// The window shape: every pixel of the mask that is not pure white. None for an empty mask.
HRGN CreateRegionFromMask(HBITMAP mask);
// The same region in one ExtCreateRegion call; only the tests compare the two.
HRGN CreateRegionFromMaskInOnePiece(HBITMAP mask);

// Copies rectangle (left, top)-(right, bottom) of source into a new bitmap
// compatible with dc. Nothing happens when source is empty.
void CutSkinPiece(HDC dc, UniqueBitmap& target, HBITMAP source, int left, int top, int right, int bottom);

// "BUTTONPOS" entry key of a skin file; a missing entry is the empty rectangle at (0, 0).
ButtonPos ReadButtonPos(CIniAccessor& skin, int key);

// The five pictures of a window, as its skin file names them.
struct SkinPictures {
    UniqueBitmap mask, normal, down, over, disabled;
    UniqueBitmap background;
    SIZE size{0, 0};
};
// disabledKey is "Disabled", or "Disable" for the main window.
void LoadSkinPictures(CIniAccessor& skin, const wchar_t* disabledKey, SkinPictures& out);

// The pixels of a bitmap as a 32-bit bottom-up DIB copy.
struct Dib32 {
    std::vector<uint8_t> bits;
    int width = 0;
    int height = 0;
};
bool CopyToDib32(HBITMAP bitmap, Dib32& out);

RECT ToRect(const SkinRect& r);
