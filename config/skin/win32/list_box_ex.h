// The owner-drawn list box with an optional picture before each text and
// in-place editing; it tells its owner about finished edits, the Delete key and
// right clicks with posted messages.
#pragma once

#include "config/skin/list_metrics.h"
#include "config/skin/win32/handles.h"
#include "config/skin/win32/window.h"

constexpr UINT kListEditDoneMessage = WM_USER + 500;   // 1524
constexpr UINT kListDeleteKeyMessage = WM_USER + 600;  // 1624
constexpr UINT kListRightClickMessage = WM_USER + 700; // 1724
constexpr DWORD kListBoxExStyle = 0x50200061;

class CListBoxEx : public CWindow {
public:
    CListBoxEx();
    ~CListBoxEx() override;

    bool Create(const RECT& rect, HWND parent, UINT id, DWORD style = kListBoxExStyle);
    void BeginAddItem();
    // Returns the low word of the selected item's data, -1 when nothing was opened.
    int BeginEditSelected();
    bool Editing() const { return editedItem_ >= 0; }
    HWND EditBox() const { return edit_; }

    int listId = 0;
    COLORREF selectedTextColour;
    COLORREF textColour;
    COLORREF selectedBackground;
    int iconWidth = kListIconWidth;
    int iconHeight = kListIconHeight;
    HBRUSH backgroundBrush = nullptr; // the owner's
    int noHide = 0;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& dis);
    void OpenEdit(int index, RECT rect, DWORD style, int limit);
    void Commit();
    void CancelEdit();
    void CloseEdit();
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

    HWND parent_ = nullptr;
    UniqueFont font_;
    int editedItem_ = -1;
    HWND edit_ = nullptr;
};
