#include "config/skin/win32/list_box_ex.h"

#include "config/skin/win32/skin_loader.h"

#include <string>
#include <vector>

namespace {

// The in-place edit's procedure is shared, so only one edit is open at a time.
CListBoxEx* g_editingList = nullptr;
WNDPROC g_editPrevious = nullptr;

} // namespace

CListBoxEx::CListBoxEx()
    : selectedTextColour(GetSysColor(COLOR_HIGHLIGHTTEXT)), textColour(GetSysColor(COLOR_WINDOWTEXT)),
      selectedBackground(GetSysColor(COLOR_HIGHLIGHT)) {
    font_.reset(CreateFontW(12, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L""));
}

CListBoxEx::~CListBoxEx() {
    if (g_editingList == this)
        g_editingList = nullptr;
}

bool CListBoxEx::Create(const RECT& rect, HWND parent, UINT id, DWORD style) {
    parent_ = parent;
    return CreateControl(L"LISTBOX", L"", style, rect, parent, id);
}

void CListBoxEx::OpenEdit(int index, RECT rect, DWORD style, int limit) {
    editedItem_ = index;
    const LRESULT len = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    std::vector<wchar_t> text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    if (len > 0)
        SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    edit_ = CreateWindowExW(0, L"edit", text.data(), style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!edit_) {
        editedItem_ = -1;
        return;
    }
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SendMessageW(edit_, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    g_editingList = this;
    g_editPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    SetFocus(edit_);
}

void CListBoxEx::BeginAddItem() {
    if (edit_)
        return;
    const LRESULT n = SendMessageW(hwnd_, LB_GETCOUNT, 0, 0);
    const LRESULT at =
        SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(L""));
    if (at < 0)
        return;
    SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(at), 0);
    RECT r;
    SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&r));
    InvalidateRect(hwnd_, &r, TRUE);
    const SkinRect e = ListAddEditRect({r.left, r.top, r.right, r.bottom});
    OpenEdit(static_cast<int>(at), ToRect(e), 0x50801080, kListAddLimit);
}

int CListBoxEx::BeginEditSelected() {
    if (edit_)
        return -1;
    const LRESULT sel = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (sel < 0)
        return -1;
    const auto data =
        static_cast<uintptr_t>(SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
    RECT r;
    SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&r));
    InvalidateRect(hwnd_, &r, TRUE);
    const SkinRect e = ListRenameEditRect({r.left, r.top, r.right, r.bottom}, data, iconWidth);
    OpenEdit(static_cast<int>(sel), ToRect(e), 0x50803080, kListRenameLimit);
    return ListPictureId(data);
}

void CListBoxEx::CloseEdit() {
    editedItem_ = -1;
    HWND e = edit_;
    edit_ = nullptr;
    if (g_editingList == this)
        g_editingList = nullptr;
    if (e)
        DestroyWindow(e);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CListBoxEx::Commit() {
    if (!edit_ || editedItem_ < 0)
        return;
    std::vector<wchar_t> buffer(4097, L'\0');
    GetWindowTextW(edit_, buffer.data(), 4096);
    const std::wstring text(buffer.data());
    const int index = editedItem_;
    const LRESULT data = SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    LRESULT inserted = -1;
    if (!text.empty()) {
        inserted = SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(text.c_str()));
        if (inserted >= 0)
            SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(inserted), data);
    }
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    CloseEdit();
    if (!text.empty() && inserted >= 0)
        PostMessageW(parent_, kListEditDoneMessage, static_cast<WPARAM>(inserted), listId);
}

void CListBoxEx::CancelEdit() {
    if (editedItem_ >= 0)
        SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(editedItem_), 0);
    CloseEdit();
}

LRESULT CALLBACK CListBoxEx::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    WNDPROC previous = g_editPrevious;
    CListBoxEx* list = g_editingList;
    if (list && list->edit_ == hwnd) {
        if (msg == WM_KEYUP && wp == VK_RETURN) {
            list->Commit();
            return 0;
        }
        if (msg == WM_KEYUP && wp == VK_ESCAPE) {
            list->CancelEdit();
            return 0;
        }
        if (msg == WM_KILLFOCUS) {
            // The edit box is destroyed by the commit; let it see the focus loss first.
            const LRESULT r = CallWindowProcW(previous, hwnd, msg, wp, lp);
            list->Commit();
            return r;
        }
    }
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

bool CListBoxEx::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd == hwnd_ && msg.message == WM_KEYDOWN && msg.wParam == VK_DELETE)
        PostMessageW(parent_, kListDeleteKeyMessage, 0, 0);
    return CWindow::PreTranslateMessage(msg);
}

bool CListBoxEx::OnReflectedMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kListItemHeight;
        result = TRUE;
        return true;
    case WM_CTLCOLORLISTBOX:
        if (!backgroundBrush)
            return false;
        result = reinterpret_cast<LRESULT>(backgroundBrush);
        return true;
    default:
        return false;
    }
}

void CListBoxEx::DrawItem(const DRAWITEMSTRUCT& dis) {
    if (dis.itemID == static_cast<UINT>(-1))
        return;
    HDC dc = dis.hDC;
    SelectGuard selectFont(dc, font_.get());
    const LRESULT len = SendMessageW(hwnd_, LB_GETTEXTLEN, dis.itemID, 0);
    std::vector<wchar_t> buffer(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    if (len > 0)
        SendMessageW(hwnd_, LB_GETTEXT, dis.itemID, reinterpret_cast<LPARAM>(buffer.data()));
    const std::wstring text(buffer.data());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const SkinRect item{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
    RECT textRect = ToRect(ListTextRect(item, dis.itemData, iconWidth, extent.cx));
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;

    UniqueBrush selectedBrush(CreateSolidBrush(selectedBackground));
    if (!selected && (dis.itemAction & ODA_SELECT) && backgroundBrush)
        FillRect(dc, &dis.rcItem, backgroundBrush);
    else if (!selected && (dis.itemAction & ODA_DRAWENTIRE) && backgroundBrush)
        FillRect(dc, &dis.rcItem, backgroundBrush);
    if (selected)
        FillRect(dc, &textRect, selectedBrush.get());

    COLORREF colour = textColour;
    if ((dis.itemAction & ODA_FOCUS) && selected && (dis.itemState & ODS_FOCUS))
        colour = selectedTextColour;
    if ((dis.itemAction & ODA_FOCUS) && selected && !(dis.itemState & ODS_FOCUS)) {
        FillRect(dc, &textRect, selectedBrush.get());
        colour = selectedTextColour;
    }
    if (dis.itemState & ODS_DISABLED)
        colour = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF oldColour = SetTextColor(dc, colour);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const uint16_t picture = ListPictureId(dis.itemData);
    if (picture > kListIndentOnly) {
        UniqueBitmap bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture)));
        if (bitmap) {
            BITMAP info{};
            GetObjectW(bitmap.get(), sizeof info, &info);
            UniqueMemoryDc memory(CreateCompatibleDC(dc));
            SelectGuard select(memory.get(), bitmap.get());
            const SkinPoint at = ListPictureOrigin(item);
            TransparentBlt(dc, at.x, at.y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, info.bmWidth,
                           info.bmHeight, RGB(0, 0, 0));
        }
    }
    const SkinPoint at = ListTextOrigin(item, dis.itemData, iconWidth);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}

LRESULT CListBoxEx::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFOCUS:
        if (edit_ && reinterpret_cast<HWND>(wp) == edit_)
            Commit();
        return DefaultProc(msg, wp, lp);
    case WM_KILLFOCUS:
        if (!noHide) {
            ShowWindow(parent_, SW_HIDE);
            DestroyWindow(parent_);
            return 0;
        }
        return DefaultProc(msg, wp, lp);
    case WM_RBUTTONDOWN:
        PostMessageW(parent_, kListRightClickMessage, 0, listId);
        return DefaultProc(msg, wp, lp);
    case WM_MOUSEWHEEL:
        SendMessageW(hwnd_, WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}
