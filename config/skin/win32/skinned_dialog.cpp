#include "config/skin/win32/skinned_dialog.h"

bool CSkinnedDialog::OnCreate() {
    if (setup_.texts) {
        if (setup_.clearTexts)
            setup_.texts->clear();
        LoadWindowTexts(*setup_.texts, setup_.firstText, setup_.textCount);
    }
    CIniAccessor skin(SkinPath());
    skin_ = &skin;
    SkinPictures pictures;
    LoadSkinPictures(skin, setup_.disabledKey, pictures);
    size_ = pictures.size;
    SetWindowPos(hwnd_, nullptr, 0, 0, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    BuildControls(pictures);
    skin_ = nullptr;
    background_ = std::move(pictures.background);
    mask_ = std::move(pictures.mask);
    if (HRGN region = CreateRegionFromMask(mask_.get())) {
        // The system owns the region once it is set.
        if (!SetWindowRgn(hwnd_, region, TRUE))
            DeleteObject(region);
    }
    return true;
}

bool CSkinnedDialog::PlaceButton(CBitmapBtn& button, int key, const SkinPictures& pictures) {
    const ButtonPos pos = ReadButtonPos(Skin(), key);
    const RECT r = ToRect(pos.rect);
    if (!button.Create(r, hwnd_))
        return false;
    button.SetSkinImages(pictures.normal.get(), pictures.over.get(), pictures.down.get(),
                         pictures.disabled.get(), r.left, r.top, r.right, r.bottom);
    return true;
}

void CSkinnedDialog::DrawLabel(HDC dc, const std::wstring& text, RECT rect, int height, int width, int weight,
                               COLORREF colour, UINT format) {
    UniqueFont font(CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                FF_MODERN | DEFAULT_PITCH, nullptr));
    SelectGuard selectFont(dc, font.get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), -1, &rect, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void CSkinnedDialog::Paint() {
    PaintDc paint(hwnd_);
    PaintInto(paint.get());
}

void CSkinnedDialog::PaintInto(HDC target) {
    RECT client;
    GetClientRect(hwnd_, &client);
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    if (!memory)
        return;
    // Labels are drawn on a copy so the background picture stays clean for the next paint.
    UniqueBitmap frame(CreateCompatibleBitmap(target, client.right, client.bottom));
    SelectGuard selectFrame(memory.get(), frame.get());
    {
        UniqueMemoryDc source(CreateCompatibleDC(target));
        SelectGuard selectBackground(source.get(), background_.get());
        BitBlt(memory.get(), 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
    }
    DrawLabels(memory.get());
    BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

bool CSkinnedDialog::PreTranslateMessage(MSG& msg) {
    if (setup_.filterKeys &&
        (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN ||
         msg.message == WM_SYSKEYUP) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE))
        return true;
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CSkinnedDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_LBUTTONDOWN:
        if (setup_.draggable) {
            const bool child = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
            PostMessageW(child ? GetParent(hwnd_) : hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, lp);
        }
        return CDialog::OnMessage(msg, wp, lp);
    case WM_DESTROY:
        CDialog::OnMessage(msg, wp, lp);
        background_.reset();
        mask_.reset();
        return 0;
    default:
        return CDialog::OnMessage(msg, wp, lp);
    }
}
