// A thousand paints of a skinned window with captioned buttons, a slider and an
// owner-drawn list must not leave GDI objects behind; neither must building and
// destroying the window again and again.
#include "config/skin/win32/list_box_ex.h"
#include "config/skin/win32/skinned_dialog.h"
#include "config/skin/win32/slider.h"
#include "skins/skin_art_ids.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class ProbeWindow : public CSkinnedDialog {
public:
    ProbeWindow() : CSkinnedDialog(Setup()) {}
    CBitmapBtn buttons[3];
    CListBoxEx list;
    CClickSlider slider;
    UniqueBrush listBrush{CreateSolidBrush(0x121212)};

private:
    static SkinnedWindowSetup Setup() {
        SkinnedWindowSetup setup;
        setup.skinFile = L"skin_reset_warn.ini";
        return setup;
    }
    void BuildControls(const SkinPictures& pictures) override {
        const int keys[] = {1, 2, 3};
        for (int i = 0; i < 3; ++i) {
            PlaceButton(buttons[i], keys[i], pictures);
            buttons[i].caption = L"Caption " + std::to_wstring(i);
        }
        buttons[1].SetChecked(1);
        EnableWindow(buttons[2].Handle(), FALSE);
        buttons[0].SetTooltipText(L"tip");
        list.Create(RECT{10, 30, 150, 110}, hwnd_, 4096);
        list.backgroundBrush = listBrush.get();
        for (int i = 0; i < 5; ++i) {
            const LRESULT at =
                SendMessageW(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
            SendMessageW(list.Handle(), LB_SETITEMDATA, static_cast<WPARAM>(at),
                         IDB_EVENT_KEY_DOWN + (i % 2));
        }
        const std::wstring thumb = ProgramFolder() + L"Skins\\arrow_below.bmp";
        RECT track{160, 40, 290, 51};
        if (slider.Create(thumb, thumb, thumb, hwnd_, 107, true, track)) {
            slider.SetRange(0, 255);
            WindowDc dc(hwnd_);
            CutSkinPiece(dc.get(), slider.BackgroundPiece(), pictures.normal.get(), track.left, track.top,
                         track.right, track.bottom);
            slider.Thumb().SetPos(100);
        }
    }
    void DrawLabels(HDC dc) override {
        DrawLabel(dc, L"Label", RECT{21, 62, 283, 96}, 12, 0, 400, 0x525252, DT_WORDBREAK);
    }
};

DWORD GdiCount() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported)
        return reported;
    // Where the count is not reported, measure the room left in the handle table instead.
    std::vector<HRGN> probes;
    for (int i = 0; i < 200000; ++i) {
        HRGN r = CreateRectRgn(0, 0, 1, 1);
        if (!r)
            break;
        probes.push_back(r);
    }
    for (HRGN r : probes)
        DeleteObject(r);
    return 1000000 - static_cast<DWORD>(probes.size());
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(SkinGdi, ThousandPaintsLeaveNoObjectsBehind) {
    DialogTemplate tpl(WS_POPUP | WS_VISIBLE, 100, 100);
    auto window = std::make_unique<ProbeWindow>();
    ASSERT_TRUE(window->CreateChild(tpl, nullptr));
    Pump();
    for (int i = 0; i < 20; ++i) {
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }
    // Paints go to a screen-compatible bitmap: the same GDI work as on screen,
    // without waiting for the display each time.
    WindowDc screen(window->Handle());
    UniqueMemoryDc target(CreateCompatibleDC(screen.get()));
    UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), 400, 300));
    SelectGuard selectCanvas(target.get(), canvas.get());
    const DWORD before = GdiCount();
    for (int i = 0; i < 1000; ++i) {
        window->PaintInto(target.get());
        for (CBitmapBtn& b : window->buttons) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_BUTTON;
            dis.hwndItem = b.Handle();
            dis.hDC = target.get();
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = (i % 3 == 0) ? ODS_SELECTED : 0;
            GetClientRect(b.Handle(), &dis.rcItem);
            SendMessageW(window->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        }
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = 4096;
        dis.hwndItem = window->list.Handle();
        dis.hDC = target.get();
        dis.itemID = static_cast<UINT>(i % 5);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (i % 2) ? ODS_SELECTED : 0;
        dis.itemData =
            static_cast<ULONG_PTR>(SendMessageW(window->list.Handle(), LB_GETITEMDATA, dis.itemID, 0));
        SendMessageW(window->list.Handle(), LB_GETITEMRECT, dis.itemID,
                     reinterpret_cast<LPARAM>(&dis.rcItem));
        SendMessageW(window->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        window->buttons[0].SetChecked(i % 2);
        if (i % 100 == 0) {
            RedrawWindow(window->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Pump();
        }
    }
    const DWORD after = GdiCount();
    // A few one-time caches of the system may appear; a leak per paint would show a thousand.
    EXPECT_LE(after, before + 16) << "before " << before << ", after " << after;
    DestroyWindow(window->Handle());
}

TEST(SkinGdi, BuildingAndDestroyingWindowsLeavesNoObjectsBehind) {
    auto cycle = [] {
        DialogTemplate tpl(WS_POPUP | WS_VISIBLE, 100, 100);
        auto window = std::make_unique<ProbeWindow>();
        ASSERT_TRUE(window->CreateChild(tpl, nullptr));
        Pump();
        DestroyWindow(window->Handle());
        Pump();
    };
    for (int i = 0; i < 3; ++i)
        cycle();
    const DWORD before = GdiCount();
    for (int i = 0; i < 20; ++i)
        cycle();
    const DWORD after = GdiCount();
    EXPECT_LE(after, before + 16) << "before " << before << ", after " << after;
}

} // namespace
