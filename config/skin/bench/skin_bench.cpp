// Times the skin engine's per-window work on the shipped skins: picture
// decoding, the region from a mask, building the key panel with its 114 keys,
// and painting it. Run from the Windows bin folder (it reads Skins\ there).
#include "config/skin/mask_region.h"
#include "config/skin/win32/skinned_dialog.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

double Millis(const std::function<void()>& work, int rounds) {
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    for (int i = 0; i < rounds; ++i)
        work();
    QueryPerformanceCounter(&b);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart) / rounds;
}

class KeyPanel : public CSkinnedDialog {
public:
    KeyPanel() : CSkinnedDialog(Setup()) {}
    CBitmapBtn keys[114];

private:
    static SkinnedWindowSetup Setup() {
        SkinnedWindowSetup setup;
        setup.skinFile = L"skin_main.ini";
        return setup;
    }
    void BuildControls(const SkinPictures& pictures) override {
        for (int i = 0; i < 114; ++i)
            PlaceButton(keys[i], 40 + i, pictures);
    }
};

} // namespace

int main() {
    const std::wstring skins = ProgramFolder() + L"Skins\\";
    std::printf("skin bench (ms per operation)\n");
    std::printf("decode 785x480 BMP (OleLoadPicture)  %8.2f\n",
                Millis(
                    [&] {
                        UniqueBitmap bmp;
                        SIZE size;
                        LoadSkinPicture(skins + L"config_normal.bmp", bmp, size);
                    },
                    20));
    UniqueBitmap mask;
    SIZE size;
    LoadSkinPicture(skins + L"config_mask.bmp", mask, size);
    Dib32 dib;
    CopyToDib32(mask.get(), dib);
    const PixelView32 view{dib.bits.data(), dib.width, dib.height, static_cast<size_t>(dib.width) * 4, true};
    std::printf("mask runs 785x480 (pure)             %8.2f  (%zu runs)\n",
                Millis([&] { MaskRuns(view); }, 50), MaskRuns(view).size());
    std::printf("region from the main window's mask   %8.2f\n",
                Millis([&] { UniqueRegion r(CreateRegionFromMask(mask.get())); }, 20));
    std::printf("build + destroy the key panel        %8.2f\n",
                Millis(
                    [&] {
                        DialogTemplate tpl(WS_POPUP, 100, 100);
                        auto panel = std::make_unique<KeyPanel>();
                        panel->CreateChild(tpl, nullptr);
                        DestroyWindow(panel->Handle());
                    },
                    5));
    DialogTemplate tpl(WS_POPUP, 100, 100);
    auto panel = std::make_unique<KeyPanel>();
    panel->CreateChild(tpl, nullptr);
    WindowDc screen(panel->Handle());
    UniqueMemoryDc target(CreateCompatibleDC(screen.get()));
    UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), 785, 267));
    SelectGuard select(target.get(), canvas.get());
    std::printf("paint the key panel and its 114 keys %8.2f\n",
                Millis(
                    [&] {
                        panel->PaintInto(target.get());
                        for (CBitmapBtn& key : panel->keys) {
                            DRAWITEMSTRUCT dis{};
                            dis.CtlType = ODT_BUTTON;
                            dis.hwndItem = key.Handle();
                            dis.hDC = target.get();
                            GetClientRect(key.Handle(), &dis.rcItem);
                            SendMessageW(panel->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
                        }
                    },
                    100));
    DestroyWindow(panel->Handle());
    return 0;
}
