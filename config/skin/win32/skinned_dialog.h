// What every skinned window shares: built from its skin file when created,
// painted from its background picture through a memory DC, dragged from any
// point, and optionally deaf to Enter, Escape and Space.
#pragma once

#include "config/skin/win32/bitmap_btn.h"
#include "config/skin/win32/skin_loader.h"
#include "config/skin/win32/window.h"

#include <string>
#include <vector>

struct SkinnedWindowSetup {
    const wchar_t* skinFile = L"";            // name inside the Skins folder
    const wchar_t* disabledKey = L"Disabled"; // "Disable" for the main window
    std::vector<std::wstring>* texts = nullptr;
    UINT firstText = 0;
    int textCount = 0;
    bool clearTexts = false;
    bool filterKeys = false;
    bool draggable = true;
};

class CSkinnedDialog : public CDialog {
public:
    explicit CSkinnedDialog(SkinnedWindowSetup setup) : setup_(std::move(setup)) {}

    std::wstring SkinPath() const { return ProgramFolder() + L"Skins\\" + setup_.skinFile; }
    HBITMAP Background() const { return background_.get(); }
    SIZE BackgroundSize() const { return size_; }

    bool PreTranslateMessage(MSG& msg) override;

    // The window's picture with its labels, composed off screen and copied to dc.
    void PaintInto(HDC dc);

    // Draws one label the way every skinned window does: transparent background,
    // CreateFontW(height, width, ..., weight, DEFAULT_CHARSET, CLEARTYPE_QUALITY, FF_MODERN).
    static void DrawLabel(HDC dc, const std::wstring& text, RECT rect, int height, int width, int weight,
                          COLORREF colour, UINT format);

protected:
    bool OnCreate() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // Places the window's controls; the state pictures exist only during this call.
    virtual void BuildControls(const SkinPictures&) {}
    // Labels drawn on the background copy before it goes to the screen.
    virtual void DrawLabels(HDC) {}

    // Creates a button at "BUTTONPOS" key and gives it its four pieces.
    bool PlaceButton(CBitmapBtn& button, int key, const SkinPictures& pictures);
    // The window's skin file; read it only while the controls are built.
    CIniAccessor& Skin() { return *skin_; }

    SkinnedWindowSetup setup_;

private:
    void Paint();

    CIniAccessor* skin_ = nullptr;
    UniqueBitmap background_;
    UniqueBitmap mask_;
    SIZE size_{0, 0};
};
