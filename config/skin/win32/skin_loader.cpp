#include "config/skin/win32/skin_loader.h"

#include "config/skin/mask_region.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <memory>

namespace {

std::wstring& FolderBuffer() {
    static std::wstring folder;
    return folder;
}

struct ComRelease {
    void operator()(IUnknown* p) const { p->Release(); }
};

// RGNDATA header plus rectangles, as ExtCreateRegion takes it.
HRGN RegionFromBatch(const RegionBatch& batch) {
    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + batch.rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(batch.rects.size());
    data->rdh.nRgnSize = 0;
    data->rdh.rcBound = ToRect(batch.bounds);
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < batch.rects.size(); ++i)
        rects[i] = ToRect(batch.rects[i]);
    return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

HRGN RegionFromMask(HBITMAP mask, size_t batchSize) {
    Dib32 dib;
    if (!mask || !CopyToDib32(mask, dib))
        return nullptr;
    const PixelView32 view{dib.bits.data(), dib.width, dib.height, static_cast<size_t>(dib.width) * 4, true};
    const auto runs = MaskRuns(view);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (const RegionBatch& batch : BatchRuns(runs, batchSize ? batchSize : runs.size() + 1)) {
        UniqueRegion piece(RegionFromBatch(batch));
        if (piece)
            CombineRgn(result, result, piece.get(), RGN_OR);
    }
    return result;
}

} // namespace

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return L"";
    wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR];
    if (_wsplitpath_s(path, drive, _MAX_DRIVE, dir, _MAX_DIR, nullptr, 0, nullptr, 0) != 0)
        return L"";
    wchar_t folder[MAX_PATH];
    if (_wmakepath_s(folder, MAX_PATH, drive, dir, nullptr, nullptr) != 0)
        return L"";
    return folder;
}

const std::wstring& ProgramFolder() {
    if (FolderBuffer().empty())
        FolderBuffer() = ModuleFolder();
    return FolderBuffer();
}

void SetProgramFolder(const std::wstring& folder) { FolderBuffer() = folder; }

void LoadSkinPicture(const std::wstring& path, UniqueBitmap& target, SIZE& size) {
    size = SIZE{0, 0};
    target.reset();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 || length.QuadPart > 64 * 1024 * 1024)
        return;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length.QuadPart));
    if (!memory)
        return;
    void* bytes = GlobalLock(memory);
    DWORD read = 0;
    const BOOL ok = bytes && ReadFile(file.get(), bytes, static_cast<DWORD>(length.QuadPart), &read, nullptr);
    if (bytes)
        GlobalUnlock(memory);
    if (!ok || read != length.QuadPart) {
        GlobalFree(memory);
        return;
    }
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {
        GlobalFree(memory);
        return;
    }
    std::unique_ptr<IStream, ComRelease> stream(rawStream);
    IPicture* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(length.QuadPart), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture))) ||
        !rawPicture)
        return;
    std::unique_ptr<IPicture, ComRelease> picture(rawPicture);
    stream.reset();
    OLE_HANDLE handle = 0;
    SHORT type = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)))
        return;
    // The picture object owns its bitmap; keep a copy that outlives it.
    HBITMAP copy = static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return;
    target.reset(copy);
    BITMAP info{};
    if (GetObjectW(copy, sizeof info, &info))
        size = SIZE{info.bmWidth, info.bmHeight};
}

bool CopyToDib32(HBITMAP bitmap, Dib32& out) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap dib(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc source(CreateCompatibleDC(nullptr));
    if (!dc || !dib || !bits || !source)
        return false;
    {
        SelectGuard selectDib(dc.get(), dib.get());
        SelectGuard selectSource(source.get(), bitmap);
        BitBlt(dc.get(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    const auto* p = static_cast<const uint8_t*>(bits);
    out.bits.assign(p, p + static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
    return true;
}

HRGN CreateRegionFromMask(HBITMAP mask) { return RegionFromMask(mask, kRegionBatchRects); }

HRGN CreateRegionFromMaskInOnePiece(HBITMAP mask) { return RegionFromMask(mask, 0); }

void CutSkinPiece(HDC dc, UniqueBitmap& target, HBITMAP source, int left, int top, int right, int bottom) {
    if (!source)
        return;
    target.reset();
    const int w = right - left, h = bottom - top;
    target.reset(CreateCompatibleBitmap(dc, w, h));
    if (!target)
        return;
    UniqueMemoryDc to(CreateCompatibleDC(dc));
    UniqueMemoryDc from(CreateCompatibleDC(dc));
    SelectGuard selectTo(to.get(), target.get());
    SelectGuard selectFrom(from.get(), source);
    StretchBlt(to.get(), 0, 0, w, h, from.get(), left, top, w, h, SRCCOPY);
}

ButtonPos ReadButtonPos(CIniAccessor& skin, int key) {
    return ParseButtonPos(skin.ReadString(L"BUTTONPOS", std::to_wstring(key), L""));
}

void LoadSkinPictures(CIniAccessor& skin, const wchar_t* disabledKey, SkinPictures& out) {
    const std::wstring folder = ProgramFolder() + L"Skins\\";
    const wchar_t* keys[] = {L"Mask", L"Normal", L"Down", L"Over", disabledKey};
    UniqueBitmap* targets[] = {&out.mask, &out.normal, &out.down, &out.over, &out.disabled};
    std::wstring names[5];
    for (int i = 0; i < 5; ++i)
        names[i] = skin.ReadString(L"SCREEN", keys[i], L"");
    SIZE size{};
    for (int i = 0; i < 5; ++i)
        LoadSkinPicture(folder + names[i], *targets[i], size);
    LoadSkinPicture(folder + names[1], out.background, out.size);
}
