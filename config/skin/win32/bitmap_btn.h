// The one push button of the configuration program: an owner-drawn BUTTON whose
// look in each state is a piece of the owning window's skin pictures.
#pragma once

#include "config/skin/button_look.h"
#include "config/skin/win32/handles.h"
#include "config/skin/win32/window.h"

#include <string>

class CBitmapBtn : public CWindow {
public:
    ~CBitmapBtn() override;

    // Caption "", style child + visible + owner-drawn, control id 0.
    bool Create(const RECT& rect, HWND parent);
    void SetSkinImages(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled, int left, int top,
                       int right, int bottom);
    void SetChecked(int checked);
    int Checked() const { return checked_; }
    bool Hover() const { return hover_ != 0; }
    void SetTooltipText(const wchar_t* text);
    // Repaints at once, as a caller does after changing a shown button's caption.
    void Redraw();

    static int PressedFlag();

    std::wstring caption;
    int fontHeight = 12;
    int fontWidth = 0;
    int fontWeight = 700;
    std::wstring fontFace;
    ButtonColours colours;
    int alignment = 0;
    int leftIndent = 0;
    unsigned lineFlags = kDtSingleLine;
    unsigned verticalFlags = kDtVCenter;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void PreSubclassWindow() override;
    bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& dis);
    void OnMouseMove(WPARAM wp, LPARAM lp);
    void Repaint();
    void EnsureTooltip();

    UniqueBitmap normal_, hover_piece_, down_, disabled_;
    int checked_ = 0;
    int hover_ = 0;
    UniqueWindow tooltip_;
};
