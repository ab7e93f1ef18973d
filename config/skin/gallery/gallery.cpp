// The skin gallery: every skinned control in every state on one mask-shaped
// window, for the screenshot test and for a person to look at. Not shipped.
//
// It writes gallery-state.txt beside itself once it is on screen (the window's
// screen rectangle, then "ready") and quits when gallery-quit.txt appears there.
#include "config/skin/win32/ex_menu.h"
#include "config/skin/win32/list_box_ex.h"
#include "config/skin/win32/skinned_dialog.h"
#include "config/skin/win32/slider.h"
#include "skins/skin_art_ids.h"

#include <cstdio>
#include <string>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kMenuFirst = 2005;

class GalleryWindow : public CSkinnedDialog {
public:
    GalleryWindow() : CSkinnedDialog(Setup()) {}

protected:
    void BuildControls(const SkinPictures& pictures) override {
        const wchar_t* names[] = {L"Normal", L"Hover", L"Pressed", L"Checked", L"Disabled"};
        for (int i = 0; i < 5; ++i) {
            PlaceButton(actions_[i], i + 1, pictures);
            actions_[i].caption = names[i];
            actions_[i].colours = ButtonColours{0x3B8CE8, 0xFFFFFF, 0x3B8CE8, 0x9FF0E8};
            actions_[i].fontHeight = 14;
            actions_[i].SetTooltipText(names[i]);
        }
        SendMessageW(actions_[2].Handle(), BM_SETSTATE, TRUE, 0);
        actions_[3].SetChecked(1);
        EnableWindow(actions_[4].Handle(), FALSE);

        PlaceButton(tab_, 6, pictures);
        tab_.caption = L"Lighting";
        tab_.fontHeight = 18;
        tab_.fontWidth = 7;
        tab_.SetChecked(1);
        PlaceButton(profile_, 7, pictures);
        profile_.caption = L"Profile 2";
        profile_.colours = ButtonColours{0x525252, 0xFFFFFF, 0x525252, 0xFFFFFF};
        PlaceButton(switch_, 8, pictures);
        switch_.SetChecked(1);
        PlaceButton(dropdown_, 9, pictures);
        dropdown_.caption = L"Breathing";
        PlaceButton(radio_, 10, pictures);
        radio_.caption = L"1000 HZ";
        radio_.alignment = 2;
        radio_.SetChecked(1);
        PlaceButton(close_, 12, pictures);
        PlaceButton(minimise_, 13, pictures);
        for (int i = 0; i < 6; ++i)
            PlaceButton(keys_[i], 20 + i, pictures);
        keys_[3].SetChecked(1);
        EnableWindow(keys_[5].Handle(), FALSE);

        const ButtonPos listPos = ReadButtonPos(Skin(), 11);
        list_.Create(ToRect(listPos.rect), hwnd_, 4096);
        list_.listId = 4096;
        list_.noHide = 1;
        list_.backgroundBrush = listBrush_.get();
        list_.selectedBackground = 0x1855EB;
        list_.textColour = list_.selectedTextColour = 0xFFFFFF;
        struct {
            const wchar_t* text;
            LPARAM data;
        } items[] = {{L"A", (1 << 16) + IDB_EVENT_KEY_DOWN},
                     {L"A", (1 << 16) + IDB_EVENT_KEY_UP},
                     {L"50 ms", (2 << 16) + IDB_EVENT_DELAY},
                     {L"L-Button Down", (3 << 16) + IDB_EVENT_MOUSE},
                     {L"Indented", 1},
                     {L"Plain", 0}};
        for (const auto& item : items) {
            const LRESULT at =
                SendMessageW(list_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text));
            SendMessageW(list_.Handle(), LB_SETITEMDATA, static_cast<WPARAM>(at), item.data);
        }
        SendMessageW(list_.Handle(), LB_SETCURSEL, 2, 0);

        const std::wstring below = ProgramFolder() + L"Skins\\arrow_below.bmp";
        const std::wstring left = ProgramFolder() + L"Skins\\arrow_left.bmp";
        MakeSlider(red_, below, 107, true, RECT{240, 260, 472, 271}, 255, 64, pictures);
        MakeSlider(hue_, left, 110, false, RECT{500, 180, 520, 364}, 1530, 1020, pictures);
    }

    bool OnInitDialog() override {
        SetWindowTextW(hwnd_, L"Skin gallery");
        SetWindowPos(hwnd_, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        list_.BeginAddItem();
        if (list_.EditBox())
            SetWindowTextW(list_.EditBox(), L"New macro");
        SetTimer(hwnd_, kPollTimer, 100, nullptr);
        return false;
    }

    void DrawLabels(HDC dc) override {
        DrawLabel(dc, L"Skin gallery", RECT{200, 24, 540, 50}, 18, 0, 800, 0xFFFFFF, DT_SINGLELINE);
        DrawLabel(dc, L"Hue", RECT{530, 180, 600, 200}, 15, 0, 800, 0x4D79D4, DT_SINGLELINE);
        DrawLabel(dc, L"Red", RECT{240, 240, 400, 258}, 15, 0, 800, 0x4D79D4, DT_SINGLELINE);
        DrawLabel(dc, last_, RECT{240, 300, 480, 340}, 13, 5, 600, 0xFFFFFF, DT_WORDBREAK);
    }

    bool OnCommand(WPARAM wp, LPARAM lp) override {
        if (reinterpret_cast<HWND>(lp) == dropdown_.Handle()) {
            OpenMenu();
            return true;
        }
        if (reinterpret_cast<HWND>(lp) == close_.Handle()) {
            PostQuitMessage(0);
            return true;
        }
        if (lp == 0 && LOWORD(wp) >= kMenuFirst && LOWORD(wp) < kMenuFirst + 10) {
            last_ = L"Chose menu item " + std::to_wstring(LOWORD(wp));
            InvalidateRect(hwnd_, nullptr, FALSE);
            return true;
        }
        return CSkinnedDialog::OnCommand(wp, lp);
    }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_TIMER:
            if (wp == kPollTimer)
                Poll();
            return 0;
        case kSliderValueMessage:
        case kSliderDoneMessage:
            last_ = L"Red " + std::to_wstring(red_.Thumb().Value()) + L", hue " +
                    std::to_wstring(hue_.Thumb().Value());
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case kListEditDoneMessage:
            last_ = L"Edited item " + std::to_wstring(wp);
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return CSkinnedDialog::OnMessage(msg, wp, lp);
        }
    }

private:
    static SkinnedWindowSetup Setup() {
        SkinnedWindowSetup setup;
        setup.skinFile = L"skin_gallery.ini";
        setup.filterKeys = true;
        return setup;
    }

    void MakeSlider(CClickSlider& slider, const std::wstring& thumb, int id, bool horizontal, RECT r,
                    int maximum, int value, const SkinPictures& pictures) {
        if (!slider.Create(thumb, thumb, thumb, hwnd_, id, horizontal, r))
            return;
        slider.SetRange(0, maximum);
        WindowDc dc(hwnd_);
        CutSkinPiece(dc.get(), slider.BackgroundPiece(), pictures.normal.get(), r.left, r.top, r.right,
                     r.bottom);
        slider.Thumb().SetPos(value);
    }

    void OpenMenu() {
        RECT r;
        GetWindowRect(dropdown_.Handle(), &r);
        UniqueFont font(CreateFontW(14, 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, nullptr));
        CExMenu speed(font.get());
        speed.Attach(CreatePopupMenu());
        speed.AppendItem(kMenuFirst + 5, L"3", nullptr, -1);
        speed.AppendItem(kMenuFirst + 6, L"6", nullptr, 1);
        speed.AppendItem(kMenuFirst + 7, L"9", nullptr, -1);
        speed.width = 80;
        CExMenu menu(font.get());
        menu.Attach(CreatePopupMenu());
        menu.AppendItem(kMenuFirst, L"Static", nullptr, -1);
        menu.AppendItem(kMenuFirst + 1, L"Breathing", nullptr, 1);
        menu.AppendItem(kMenuSeparatorId, L"", nullptr, -1);
        menu.AppendItem(kMenuFirst + 2, L"Wave", nullptr, -1);
        HMENU sub = speed.Handle();
        menu.AppendItem(reinterpret_cast<UINT_PTR>(sub), L"Speed", sub, -1);
        menu.width = 135;
        WriteState(L"menu " + std::to_wstring(r.left) + L" " + std::to_wstring(r.bottom));
        menu.Show(TPM_RIGHTBUTTON, r.left, r.bottom, hwnd_);
        PostMessageW(hwnd_, WM_NULL, 0, 0);
        // The submenu belongs to the main menu's handle once appended.
        speed.Attach(nullptr);
        menu.Destroy();
        SetFocus(hwnd_);
    }

    void WriteState(const std::wstring& line) {
        const std::wstring path = ProgramFolder() + L"gallery-state.txt";
        if (FILE* f = _wfopen(path.c_str(), L"a")) {
            fwprintf(f, L"%ls\n", line.c_str());
            fclose(f);
        }
    }

    void Poll() {
        if (!announced_) {
            announced_ = true;
            RECT r;
            GetWindowRect(hwnd_, &r);
            WriteState(L"window " + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                       std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
            WriteState(L"ready");
        }
        const std::wstring quit = ProgramFolder() + L"gallery-quit.txt";
        if (GetFileAttributesW(quit.c_str()) != INVALID_FILE_ATTRIBUTES)
            PostQuitMessage(0);
    }

    CBitmapBtn actions_[5], tab_, profile_, switch_, dropdown_, radio_, close_, minimise_, keys_[6];
    CListBoxEx list_;
    UniqueBrush listBrush_{CreateSolidBrush(0x121212)};
    CClickSlider red_, hue_;
    std::wstring last_ = L"Drag the thumbs, open the menu, edit the list.";
    bool announced_ = false;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    InstallMenuBorderHook();
    DeleteFileW((ProgramFolder() + L"gallery-state.txt").c_str());
    GalleryWindow window;
    DialogTemplate tpl(WS_POPUP, 100, 100, L"Skin gallery");
    if (!window.CreateChild(tpl, nullptr))
        return 1;
    return RunMessageLoop();
}
