#include "config/skin/win32/bitmap_btn.h"

#include "config/skin/win32/skin_loader.h"

#include <commctrl.h>

namespace {

// Shared by every button: the left button went down on one of them.
int g_pressed = 0;

HWND OwnerOrParent(HWND hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    return owner ? owner : GetParent(hwnd);
}

} // namespace

int CBitmapBtn::PressedFlag() { return g_pressed; }

CBitmapBtn::~CBitmapBtn() { g_pressed = 0; }

bool CBitmapBtn::Create(const RECT& rect, HWND parent) {
    return CreateControl(L"BUTTON", L"", 0x5000000B, rect, parent, 0);
}

void CBitmapBtn::PreSubclassWindow() {
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    SendMessageW(hwnd_, BM_SETSTYLE, (style & 0xFFFF) | BS_OWNERDRAW, TRUE);
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~WS_TABSTOP);
}

void CBitmapBtn::SetSkinImages(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled, int left,
                               int top, int right, int bottom) {
    WindowDc dc(hwnd_);
    CutSkinPiece(dc.get(), normal_, normal, left, top, right, bottom);
    CutSkinPiece(dc.get(), hover_piece_, over, left, top, right, bottom);
    CutSkinPiece(dc.get(), down_, down, left, top, right, bottom);
    CutSkinPiece(dc.get(), disabled_, disabled, left, top, right, bottom);
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~(WS_BORDER | WS_TABSTOP));
}

void CBitmapBtn::SetChecked(int checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    Repaint();
}

void CBitmapBtn::Repaint() {
    if (hwnd_) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        UpdateWindow(hwnd_);
    }
}

void CBitmapBtn::Redraw() {
    if (hwnd_)
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CBitmapBtn::EnsureTooltip() {
    if (tooltip_)
        return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tooltip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr));
    if (tooltip_)
        SendMessageW(tooltip_.get(), TTM_ACTIVATE, FALSE, 0);
}

void CBitmapBtn::SetTooltipText(const wchar_t* text) {
    if (!text || !hwnd_)
        return;
    EnsureTooltip();
    if (!tooltip_)
        return;
    SendMessageW(tooltip_.get(), TTM_ACTIVATE, FALSE, 0);
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd_;
    ti.uId = 1;
    ti.hinst = GetModuleHandleW(nullptr);
    ti.lpszText = const_cast<wchar_t*>(text);
    if (SendMessageW(tooltip_.get(), TTM_GETTOOLCOUNT, 0, 0) == 0) {
        GetClientRect(hwnd_, &ti.rect);
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
}

bool CBitmapBtn::PreTranslateMessage(MSG& msg) {
    EnsureTooltip();
    if (tooltip_ && msg.hwnd == hwnd_)
        SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    return CWindow::PreTranslateMessage(msg);
}

bool CBitmapBtn::OnReflectedMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
}

void CBitmapBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
    ButtonState state;
    state.disabled = (dis.itemState & ODS_DISABLED) != 0;
    state.selected = (dis.itemState & ODS_SELECTED) != 0;
    state.checked = checked_ != 0;
    state.hover = hover_ != 0;
    state.pressedFlag = g_pressed != 0;
    HBITMAP pieces[] = {normal_.get(), hover_piece_.get(), down_.get(), disabled_.get()};
    HBITMAP piece = pieces[static_cast<int>(ChooseButtonPiece(state))];

    RECT client;
    GetClientRect(hwnd_, &client);
    const int w = client.right, h = client.bottom;
    UniqueMemoryDc pieceDc(CreateCompatibleDC(dis.hDC));
    SelectGuard selectPiece(pieceDc.get(), piece);
    if (caption.empty()) {
        BitBlt(dis.hDC, 0, 0, w, h, pieceDc.get(), 0, 0, SRCCOPY);
        return;
    }
    UniqueMemoryDc composeDc(CreateCompatibleDC(dis.hDC));
    UniqueBitmap composeBitmap(CreateCompatibleBitmap(dis.hDC, w, h));
    SelectGuard selectCompose(composeDc.get(), composeBitmap.get());
    BitBlt(composeDc.get(), 0, 0, w, h, pieceDc.get(), 0, 0, SRCCOPY);
    SetBkMode(composeDc.get(), TRANSPARENT);
    SetTextColor(composeDc.get(), ChooseCaptionColour(state, colours));
    UniqueFont font(CreateFontW(fontHeight, fontWidth, 0, 0, fontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                FF_MODERN | DEFAULT_PITCH, fontFace.c_str()));
    {
        SelectGuard selectFont(composeDc.get(), font.get());
        const CaptionLayout layout =
            LayoutCaption({0, 0, w, h}, alignment, leftIndent, lineFlags, verticalFlags);
        RECT r = ToRect(layout.rect);
        DrawTextW(composeDc.get(), caption.c_str(), -1, &r, layout.format);
    }
    BitBlt(dis.hDC, 0, 0, w, h, composeDc.get(), 0, 0, SRCCOPY);
}

void CBitmapBtn::OnMouseMove(WPARAM wp, LPARAM lp) {
    if ((wp & MK_LBUTTON) && !hover_)
        return;
    if (GetCapture() != hwnd_ && GetActiveWindow() && OwnerOrParent(hwnd_)) {
        hover_ = 1;
        SetCapture(hwnd_);
        Repaint();
    } else {
        POINT pt{LowX(lp), HighY(lp)};
        ClientToScreen(hwnd_, &pt);
        HWND under = WindowFromPoint(pt);
        if (under && under != hwnd_) {
            if (hover_) {
                hover_ = 0;
                g_pressed = 0;
                Repaint();
            }
            if (!(wp & MK_LBUTTON))
                ReleaseCapture();
        }
    }
    POINT screen{LowX(lp), HighY(lp)};
    ClientToScreen(hwnd_, &screen);
    PostMessageW(GetParent(hwnd_), WM_MOUSEMOVE, wp, MAKELPARAM(screen.x, screen.y));
}

LRESULT CBitmapBtn::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        OnMouseMove(wp, lp);
        return r;
    }
    case WM_LBUTTONDOWN: {
        HWND owner = OwnerOrParent(hwnd_);
        if (owner && owner != GetActiveWindow())
            SetActiveWindow(owner);
        g_pressed = 1;
        Repaint();
        return DefaultProc(msg, wp, lp);
    }
    case WM_LBUTTONUP: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        PostMessageW(GetParent(hwnd_), WM_LBUTTONUP, 0, 0);
        g_pressed = 0;
        Repaint();
        return r;
    }
    case WM_CAPTURECHANGED:
        // Only our own capture is given up: another button may just have taken it.
        if (hover_) {
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            Repaint();
        }
        return DefaultProc(msg, wp, lp);
    case WM_KILLFOCUS: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        hover_ = 0;
        Repaint();
        return r;
    }
    case WM_ERASEBKGND:
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}
