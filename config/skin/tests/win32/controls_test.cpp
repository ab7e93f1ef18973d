#include "config/skin/win32/bitmap_btn.h"
#include "config/skin/win32/ex_menu.h"
#include "config/skin/win32/list_box_ex.h"
#include "config/skin/win32/skinned_dialog.h"
#include "config/skin/win32/slider.h"
#include "config/skin/tests/win32/test_windows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr COLORREF kNormal = RGB(10, 20, 30), kOver = RGB(40, 50, 60), kDown = RGB(70, 80, 90),
                   kDisabled = RGB(100, 110, 120);

struct SkinnedButton {
    UniqueBitmap normal = SolidBitmap(200, 100, kNormal), over = SolidBitmap(200, 100, kOver),
                 down = SolidBitmap(200, 100, kDown), disabled = SolidBitmap(200, 100, kDisabled);
    CBitmapBtn button;
    SkinnedButton(HWND parent, RECT r) {
        button.Create(r, parent);
        button.SetSkinImages(normal.get(), over.get(), down.get(), disabled.get(), r.left, r.top, r.right,
                             r.bottom);
    }
    COLORREF Paint(UINT state) {
        Canvas canvas(100, 40);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = button.Handle();
        dis.hDC = canvas.dc.get();
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        GetClientRect(button.Handle(), &dis.rcItem);
        SendMessageW(GetParent(button.Handle()), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return canvas.At(3, 3);
    }
};

TEST(SkinButton, PieceForEachState) {
    RecordingParent parent;
    SkinnedButton b(parent.Handle(), RECT{10, 10, 60, 30});
    EXPECT_EQ(b.Paint(0), kNormal);
    EXPECT_EQ(b.Paint(ODS_SELECTED), kDown);
    b.button.SetChecked(1);
    EXPECT_EQ(b.Paint(0), kDown);
    EXPECT_EQ(b.Paint(ODS_DISABLED), kDisabled); // disabled wins over checked
    b.button.SetChecked(0);
    b.button.caption = L"Caption";
    EXPECT_EQ(b.Paint(0), kNormal); // a corner pixel away from the caption
    EXPECT_EQ(GetWindowLongW(b.button.Handle(), GWL_STYLE) & (WS_TABSTOP | WS_BORDER), 0);
    EXPECT_EQ(GetWindowLongW(b.button.Handle(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
}

TEST(SkinButton, HoverIsNotTakenWhileTheLeftButtonIsHeldAndFocusLossDropsIt) {
    RecordingParent parent;
    SetActiveWindow(parent.Handle());
    SkinnedButton a(parent.Handle(), RECT{10, 10, 60, 30});
    SkinnedButton b(parent.Handle(), RECT{70, 10, 120, 30});
    SendMessageW(b.button.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(b.button.Hover());
    EXPECT_EQ(parent.Count(WM_MOUSEMOVE), 0u);
    SendMessageW(a.button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    if (GetActiveWindow()) {
        EXPECT_TRUE(a.button.Hover());
        EXPECT_EQ(a.Paint(0), kOver);
        EXPECT_EQ(GetCapture(), a.button.Handle());
    }
    SendMessageW(a.button.Handle(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(a.button.Hover());
    ReleaseCapture();
    PumpMessages();
    // Every processed move is forwarded in screen coordinates.
    ASSERT_EQ(parent.Count(WM_MOUSEMOVE), 1u);
    POINT expected{5, 5};
    ClientToScreen(a.button.Handle(), &expected);
    EXPECT_EQ(LowX(parent.Last(WM_MOUSEMOVE)->lp), expected.x);
    EXPECT_EQ(HighY(parent.Last(WM_MOUSEMOVE)->lp), expected.y);
}

TEST(SkinButton, ClickNotifiesByHandleAndReleasesArePosted) {
    RecordingParent parent;
    SkinnedButton b(parent.Handle(), RECT{10, 10, 60, 30});
    SendMessageW(b.button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(CBitmapBtn::PressedFlag(), 1);
    SendMessageW(b.button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(CBitmapBtn::PressedFlag(), 0);
    PumpMessages();
    const RecordedMessage* click = parent.Last(WM_COMMAND);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->wp, 0u);
    EXPECT_EQ(reinterpret_cast<HWND>(click->lp), b.button.Handle());
    ASSERT_NE(parent.Last(WM_LBUTTONUP), nullptr);
    EXPECT_EQ(parent.Last(WM_LBUTTONUP)->lp, 0);
}

// ------------------------------------------------------------------- list box

struct ListFixture {
    RecordingParent parent;
    CListBoxEx list;
    ListFixture() {
        list.Create(RECT{10, 10, 210, 110}, parent.Handle(), 4096);
        list.listId = 77;
        list.noHide = 1;
        for (const wchar_t* t : {L"one", L"two", L"three"})
            SendMessageW(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
        SendMessageW(list.Handle(), LB_SETITEMDATA, 1, (5 << 16) + 140);
    }
    int Count() { return static_cast<int>(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0)); }
    std::wstring Text(int i) {
        wchar_t buffer[64] = {};
        SendMessageW(list.Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    void Type(const wchar_t* text) { SetWindowTextW(list.EditBox(), text); }
    void Key(WPARAM vk) { SendMessageW(list.EditBox(), WM_KEYUP, vk, 0); }
};

TEST(SkinList, AddingCommitsWithEnterAndNotifies) {
    ListFixture f;
    EXPECT_EQ(SendMessageW(f.list.Handle(), LB_GETITEMHEIGHT, 0, 0), 18);
    f.list.BeginAddItem();
    ASSERT_TRUE(f.list.EditBox());
    EXPECT_EQ(f.Count(), 4);
    EXPECT_EQ(SendMessageW(f.list.EditBox(), EM_GETLIMITTEXT, 0, 0), 15);
    f.list.BeginAddItem(); // a second edit is refused while one is open
    EXPECT_EQ(f.Count(), 4);
    f.Type(L"four");
    f.Key(VK_RETURN);
    EXPECT_FALSE(f.list.EditBox());
    EXPECT_EQ(f.Text(3), L"four");
    EXPECT_EQ(SendMessageW(f.list.Handle(), LB_GETCURSEL, 0, 0), 3);
    PumpMessages();
    const RecordedMessage* done = f.parent.Last(kListEditDoneMessage);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->wp, 3u);
    EXPECT_EQ(done->lp, 77);
}

TEST(SkinList, EmptyCommitRemovesTheItemWithoutNotice) {
    ListFixture f;
    f.list.BeginAddItem();
    f.Type(L"");
    f.Key(VK_RETURN);
    EXPECT_EQ(f.Count(), 3);
    PumpMessages();
    EXPECT_EQ(f.parent.Count(kListEditDoneMessage), 0u);
}

TEST(SkinList, RenameIsDigitsOnlyKeepsItemDataAndEscapeRemovesTheItem) {
    ListFixture f;
    EXPECT_EQ(f.list.BeginEditSelected(), -1); // nothing selected
    EXPECT_FALSE(f.list.EditBox());
    SendMessageW(f.list.Handle(), LB_SETCURSEL, 1, 0);
    EXPECT_EQ(f.list.BeginEditSelected(), 140);
    ASSERT_TRUE(f.list.EditBox());
    EXPECT_TRUE(GetWindowLongW(f.list.EditBox(), GWL_STYLE) & ES_NUMBER);
    EXPECT_EQ(SendMessageW(f.list.EditBox(), EM_GETLIMITTEXT, 0, 0), 20);
    RECT edit;
    GetWindowRect(f.list.EditBox(), &edit);
    MapWindowPoints(nullptr, f.list.Handle(), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_EQ(edit.left, 16 + 5);
    f.Type(L"25");
    f.Key(VK_RETURN);
    EXPECT_EQ(f.Text(1), L"25");
    EXPECT_EQ(SendMessageW(f.list.Handle(), LB_GETITEMDATA, 1, 0), (5 << 16) + 140);

    SendMessageW(f.list.Handle(), LB_SETCURSEL, 0, 0);
    f.list.BeginEditSelected();
    f.Key(VK_ESCAPE);
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(f.Text(0), L"25");
    PumpMessages();
    EXPECT_EQ(f.parent.Count(kListEditDoneMessage), 1u);
}

TEST(SkinList, FocusLeavingTheEditCommitsAndFocusLeavingTheListHidesItsParent) {
    auto f = std::make_unique<ListFixture>();
    f->list.BeginAddItem();
    f->Type(L"five");
    SendMessageW(f->list.EditBox(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(f->list.EditBox());
    EXPECT_EQ(f->Text(3), L"five");

    HWND parent = f->parent.Handle();
    SendMessageW(f->list.Handle(), WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(IsWindow(parent)); // the no-hide flag keeps it
    f->list.noHide = 0;
    SendMessageW(f->list.Handle(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(IsWindow(parent));
}

TEST(SkinList, WheelScrollsOneLineAndRightClickAndDeleteNotify) {
    ListFixture f;
    for (int i = 0; i < 20; ++i)
        SendMessageW(f.list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"more"));
    SendMessageW(f.list.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(SendMessageW(f.list.Handle(), LB_GETTOPINDEX, 0, 0), 1);
    SendMessageW(f.list.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(SendMessageW(f.list.Handle(), LB_GETTOPINDEX, 0, 0), 0);

    SendMessageW(f.list.Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    MSG del{f.list.Handle(), WM_KEYDOWN, VK_DELETE, 0, 0, {0, 0}};
    CWindow::PreTranslateChain(del);
    PumpMessages();
    ASSERT_NE(f.parent.Last(kListRightClickMessage), nullptr);
    EXPECT_EQ(f.parent.Last(kListRightClickMessage)->lp, 77);
    EXPECT_EQ(f.parent.Count(kListDeleteKeyMessage), 1u);
}

// --------------------------------------------------------------------- slider

std::wstring Thumb() { return ProgramFolder() + L"Skins\\arrow_below.bmp"; }

TEST(SkinSlider, MissingThumbPictureCreatesNothing) {
    RecordingParent parent;
    CClickSlider slider;
    EXPECT_FALSE(
        slider.Create(L"Z:\\no\\such.bmp", L"", L"", parent.Handle(), 107, true, RECT{0, 0, 232, 11}));
    EXPECT_EQ(slider.Handle(), nullptr);
}

TEST(SkinSlider, SetPosAndDragToTheLeftEndReleasesAtTheMaximum) {
    RecordingParent parent;
    CClickSlider slider;
    ASSERT_TRUE(slider.Create(Thumb(), Thumb(), Thumb(), parent.Handle(), 107, true, RECT{20, 20, 252, 31}));
    slider.SetRange(0, 255);
    CPSlider& thumb = slider.Thumb();
    const int w = thumb.Geometry().thumbWidth;
    auto thumbLeft = [&] {
        RECT r;
        GetWindowRect(thumb.Handle(), &r);
        MapWindowPoints(nullptr, slider.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r.left;
    };
    thumb.SetPos(255);
    EXPECT_EQ(thumbLeft(), 0);
    thumb.SetPos(-1);
    EXPECT_EQ(thumbLeft(), 232 - w);
    EXPECT_EQ(thumb.Value(), 0);

    thumb.SetPos(100);
    SendMessageW(thumb.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(thumb.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-498), 2));
    EXPECT_EQ(thumbLeft(), 0);
    EXPECT_EQ(thumb.VisualState(), 3);
    SendMessageW(thumb.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(thumb.Value(), 255);
    EXPECT_EQ(thumb.VisualState(), 1);
    PumpMessages();
    // The track relays the drag value (from before the move) turned round, then reports the release.
    const RecordedMessage* value = parent.Last(kSliderValueMessage);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->lp, 107);
    const int before = (232 - w) * (255 - 100) / 255;
    EXPECT_EQ(static_cast<int>(value->wp), 255 - 255 * before / (232 - w));
    ASSERT_NE(parent.Last(kSliderDoneMessage), nullptr);
    EXPECT_EQ(parent.Last(kSliderDoneMessage)->lp, 107);
}

TEST(SkinSlider, PressOnTheTrackLeavesTheThumbButStillReportsTheRelease) {
    RecordingParent parent;
    CClickSlider slider;
    ASSERT_TRUE(slider.Create(Thumb(), Thumb(), Thumb(), parent.Handle(), 108, true, RECT{20, 60, 252, 71}));
    slider.SetRange(0, 255);
    slider.Thumb().SetPos(200);
    SendMessageW(slider.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 5));
    SendMessageW(slider.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(0, 5));
    PumpMessages();
    EXPECT_EQ(slider.Thumb().Value(), 200);
    ASSERT_NE(parent.Last(kSliderValueMessage), nullptr);
    EXPECT_EQ(parent.Last(kSliderValueMessage)->wp, 255u); // the track's left end
    EXPECT_EQ(parent.Count(kSliderDoneMessage), 1u);
}

// ---------------------------------------------------------------------- menus

TEST(SkinMenu, WidthHeightsAndMarkedSelectedItem) {
    RecordingParent owner;
    CExMenu menu(nullptr);
    menu.Attach(CreatePopupMenu());
    menu.AppendItem(2005, L"abc", nullptr, -1);
    menu.AppendItem(2006, L"abcde", nullptr, 1);
    menu.AppendItem(2007, L"abcdefgh", nullptr, -1);
    EXPECT_EQ(menu.width, 64);
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 3);
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 1, 0, 0, 0};
    menu.MeasureItem(mis);
    EXPECT_EQ(mis.itemHeight, 0u);
    mis.itemID = 2006;
    menu.MeasureItem(mis);
    EXPECT_EQ(mis.itemHeight, 20u);
    EXPECT_EQ(mis.itemWidth, 64u);
    EXPECT_EQ(menu.TotalHeight(), 20);

    Canvas canvas(64, 20);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 2006;
    dis.itemState = ODS_SELECTED;
    dis.hDC = canvas.dc.get();
    dis.hwndItem = reinterpret_cast<HWND>(menu.Handle());
    dis.rcItem = RECT{0, 0, 64, 20};
    menu.DrawItem(dis);
    EXPECT_EQ(canvas.At(60, 1), static_cast<COLORREF>(0x0160E6));
}

TEST(SkinMenu, BorderIsOneOrangeAndTwoDarkFrames) {
    Canvas canvas(40, 40);
    DrawMenuBorder(canvas.dc.get(), RECT{100, 100, 140, 140});
    EXPECT_EQ(canvas.At(0, 0), static_cast<COLORREF>(0x0160E6));
    EXPECT_EQ(canvas.At(39, 39), static_cast<COLORREF>(0x0160E6));
    EXPECT_EQ(canvas.At(1, 1), static_cast<COLORREF>(0x121212));
    EXPECT_EQ(canvas.At(2, 20), static_cast<COLORREF>(0x121212));
    EXPECT_TRUE(InstallMenuBorderHook());
    EXPECT_TRUE(InstallMenuBorderHook());
}

// --------------------------------------------------- dialogs and the modal loop

class ProbeDialog : public CSkinnedDialog {
public:
    explicit ProbeDialog(bool filter) : CSkinnedDialog(Setup(filter)) {}
    int preTranslated = 0;
    std::vector<std::wstring> texts;

protected:
    bool OnInitDialog() override {
        PostMessageW(hwnd_, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(hwnd_, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(hwnd_, WM_APP + 1, 0, 0);
        return true;
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_APP + 1) {
            EndDialog(7);
            return 0;
        }
        return CSkinnedDialog::OnMessage(msg, wp, lp);
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_APP + 1)
            ++preTranslated;
        return CSkinnedDialog::PreTranslateMessage(msg);
    }

private:
    SkinnedWindowSetup Setup(bool filter) {
        SkinnedWindowSetup setup;
        setup.skinFile = L"skin_reset_warn.ini";
        setup.filterKeys = filter;
        setup.texts = &texts;
        setup.firstText = 700;
        setup.textCount = 5;
        setup.clearTexts = true;
        return setup;
    }
};

TEST(SkinDialog, ModalLoopRunsPreTranslateAndSwallowsEnterAndEscape) {
    RecordingParent parent;
    ProbeDialog dialog(true);
    DialogTemplate tpl(WS_POPUP, 100, 60);
    EXPECT_EQ(dialog.RunModal(tpl, parent.Handle()), 7);
    EXPECT_EQ(dialog.preTranslated, 1);
    EXPECT_EQ(dialog.texts.size(), 5u);
    EXPECT_TRUE(IsWindowEnabled(parent.Handle()));
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(SkinDialog, WithoutTheFilterEnterEndsTheDialog) {
    RecordingParent parent;
    ProbeDialog dialog(false);
    DialogTemplate tpl(WS_POPUP, 100, 60);
    EXPECT_EQ(dialog.RunModal(tpl, parent.Handle()), IDOK);
}

TEST(SkinDialog, SizedToItsPictureShapedAndDraggedThroughItsParent) {
    RecordingParent parent;
    ProbeDialog panel(true);
    DialogTemplate tpl(WS_CHILD | WS_VISIBLE, 100, 60);
    ASSERT_TRUE(panel.CreateChild(tpl, parent.Handle()));
    RECT r;
    GetWindowRect(panel.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 305);
    EXPECT_EQ(r.bottom - r.top, 164);
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(GetWindowRgn(panel.Handle(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0)); // rounded corner
    EXPECT_TRUE(PtInRegion(region.get(), 150, 80));
    SendMessageW(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    PumpMessages();
    const RecordedMessage* drag = parent.Last(WM_NCLBUTTONDOWN);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->wp, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(drag->lp, MAKELPARAM(30, 40));
    DestroyWindow(panel.Handle());
}

} // namespace
