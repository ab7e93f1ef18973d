// The owner-drawn popup menu in the program's dark colours, and the thread-wide
// hook that gives every popup-menu window a thin orange-and-dark border.
#pragma once

#include "config/skin/menu_metrics.h"
#include "config/skin/win32/handles.h"

#include <windows.h>

#include <string>
#include <vector>

struct CMenuItemNode {
    std::wstring text;
    UINT id = 0;
    int mark = -1; // 1: drawn in the mark colour
};

class CExMenu {
public:
    explicit CExMenu(HFONT font);
    ~CExMenu();
    CExMenu(const CExMenu&) = delete;
    CExMenu& operator=(const CExMenu&) = delete;

    void Attach(HMENU menu) { menu_.reset(menu); }
    HMENU Handle() const { return menu_.get(); }
    // id 2048 appends a separator; a submenu handle appends a submenu opener
    // (the caller passes the same handle as id).
    void AppendItem(UINT_PTR id, const wchar_t* text, HMENU submenu, int mark);
    // TrackPopupMenu; the chosen id reaches the owner as WM_COMMAND.
    BOOL Show(UINT flags, int x, int y, HWND owner);
    void Destroy();

    int width = 0;
    int margin1 = 0;
    int margin2 = 0;
    int itemHeight = kMenuDefaultItemHeight;
    COLORREF background = 0x121212;
    COLORREF selectedBackground = 0x0160E6;
    COLORREF separatorLine = 0x0160E6;
    COLORREF textColour = 0xDCDCDC;
    COLORREF selectedText = 0xFFFFFF;
    static constexpr COLORREF kMarkColour = 0x0160E6;
    int TotalHeight() const { return totalHeight_; }
    int ItemCount() const { return static_cast<int>(items_.size()); }

    void MeasureItem(MEASUREITEMSTRUCT& mis);
    void DrawItem(const DRAWITEMSTRUCT& dis);

private:
    const CMenuItemNode* Find(UINT id) const;

    HFONT font_;
    UniqueMenu menu_;
    std::vector<CMenuItemNode> items_;
    int totalHeight_ = 0;
};

// Installs the menu border hook for the calling thread; once per run. Returns false when it could not.
bool InstallMenuBorderHook();
// The border drawn over a popup menu's frame.
void DrawMenuBorder(HDC dc, RECT windowRect);
