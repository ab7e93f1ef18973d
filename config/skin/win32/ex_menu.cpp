#include "config/skin/win32/ex_menu.h"

#include "config/skin/win32/window.h"
#include "skins/skin_art_ids.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Every menu object alive: a submenu's items reach the same owner window, so an
// item is looked up in all of them.
std::vector<CExMenu*>& LiveMenus() {
    static std::vector<CExMenu*> menus;
    return menus;
}

CExMenu* MenuWithHandle(HMENU menu) {
    for (CExMenu* m : LiveMenus())
        if (m->Handle() == menu)
            return m;
    return LiveMenus().empty() ? nullptr : LiveMenus().back();
}

bool AnswerOwnerDraw(UINT msg, LPARAM lp, LRESULT& result) {
    if (LiveMenus().empty())
        return false;
    if (msg == WM_MEASUREITEM) {
        LiveMenus().back()->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    } else {
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (CExMenu* m = MenuWithHandle(reinterpret_cast<HMENU>(dis.hwndItem)))
            m->DrawItem(dis);
    }
    result = TRUE;
    return true;
}

} // namespace

CExMenu::CExMenu(HFONT font) : font_(font) {
    LiveMenus().push_back(this);
    CWindow::SetMenuOwnerDrawHandler(AnswerOwnerDraw);
}

CExMenu::~CExMenu() {
    Destroy();
    auto& menus = LiveMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
}

void CExMenu::Destroy() {
    menu_.reset();
    items_.clear();
}

void CExMenu::AppendItem(UINT_PTR id, const wchar_t* text, HMENU submenu, int mark) {
    if (id == kMenuSeparatorId)
        AppendMenuW(menu_.get(), MF_SEPARATOR | MF_OWNERDRAW, id, nullptr);
    else if (submenu)
        AppendMenuW(menu_.get(), MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(submenu), nullptr);
    else
        AppendMenuW(menu_.get(), MF_OWNERDRAW, id, nullptr);
    CMenuItemNode node;
    node.text = text ? text : L"";
    node.id = static_cast<UINT>(id);
    node.mark = mark;
    items_.push_back(node);
    width = MenuWidthAfterAppend(width, margin1, margin2, node.text.size());
}

BOOL CExMenu::Show(UINT flags, int x, int y, HWND owner) {
    return TrackPopupMenu(menu_.get(), flags, x, y, 0, owner, nullptr);
}

const CMenuItemNode* CExMenu::Find(UINT id) const {
    for (CExMenu* m : LiveMenus())
        for (const CMenuItemNode& n : m->items_)
            if (n.id == id)
                return &n;
    return nullptr;
}

void CExMenu::MeasureItem(MEASUREITEMSTRUCT& mis) {
    mis.itemHeight = static_cast<UINT>(MenuItemHeight(mis.itemID, itemHeight));
    mis.itemWidth = static_cast<UINT>(width);
    totalHeight_ += static_cast<int>(mis.itemHeight);
}

void CExMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
    HDC dc = dis.hDC;
    const RECT& r = dis.rcItem;
    const SkinRect item{r.left, r.top, r.right, r.bottom};
    if (dis.itemID == 0 || dis.itemID == kMenuSeparatorId) {
        UniqueBrush fill(CreateSolidBrush(background));
        FillRect(dc, &r, fill.get());
        UniquePen pen(CreatePen(PS_SOLID, 1, separatorLine));
        SelectGuard selectPen(dc, pen.get());
        const int middle = MenuSeparatorY(item);
        MoveToEx(dc, r.left, middle, nullptr);
        LineTo(dc, r.right, middle);
    } else {
        const bool selected = (dis.itemState & ODS_SELECTED) != 0;
        UniqueBrush fill(CreateSolidBrush(selected ? selectedBackground : background));
        FillRect(dc, &r, fill.get());
        COLORREF colour = selected ? selectedText : textColour;
        const CMenuItemNode* node = Find(dis.itemID);
        if (node && node->mark == 1)
            colour = kMarkColour;
        const std::wstring text = node ? node->text : L"";
        const COLORREF oldColour = SetTextColor(dc, colour);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        {
            SelectGuard selectFont(dc, font_);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            const SkinPoint at = MenuTextOrigin(item, extent.cy);
            TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
        }
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldColour);
        const UINT state = GetMenuState(reinterpret_cast<HMENU>(dis.hwndItem), dis.itemID, MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1) && (state & MF_POPUP)) {
            // A private copy, not the shared one LoadIconW hands out, so it can be destroyed.
            UniqueIcon arrow(
                static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SUBMENU_ARROW),
                                              IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
            const SkinPoint at = MenuArrowOrigin(item);
            if (arrow)
                DrawIcon(dc, at.x, at.y, arrow.get());
        }
    }
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

// ----------------------------------------------------------------- border hook

namespace {

const wchar_t kOldProcProperty[] = L"CoolMenu_oldProc";

struct MenuWindowRecord {
    WNDPROC previous = nullptr;
};

std::unordered_map<HWND, MenuWindowRecord>& MenuWindows() {
    static std::unordered_map<HWND, MenuWindowRecord> map(1000);
    return map;
}

UniqueHook& BorderHook() {
    static UniqueHook hook;
    return hook;
}

LRESULT CALLBACK BorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProperty));
    auto& map = MenuWindows();
    const bool known = map.count(hwnd) != 0;
    auto pass = [&] {
        return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
    };
    switch (msg) {
    case WM_SHOWWINDOW:
        if (wp != 0)
            return pass();
        [[fallthrough]];
    case WM_NCDESTROY:
        if (known && previous) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            RemovePropW(hwnd, kOldProcProperty);
            map.erase(hwnd);
        }
        return pass();
    case WM_NCPAINT:
        if (known) {
            WholeWindowDc dc(hwnd);
            RECT r;
            GetWindowRect(hwnd, &r);
            DrawMenuBorder(dc.get(), r);
            return 0;
        }
        return pass();
    case WM_PAINT: {
        // Some systems draw a popup menu's edge while painting its client area,
        // so the border goes on again afterwards.
        const LRESULT result = pass();
        if (known) {
            WholeWindowDc dc(hwnd);
            RECT r;
            GetWindowRect(hwnd, &r);
            DrawMenuBorder(dc.get(), r);
        }
        return result;
    }
    case WM_PRINT: {
        const LRESULT result = pass();
        if (known) {
            RECT r;
            GetWindowRect(hwnd, &r);
            DrawMenuBorder(reinterpret_cast<HDC>(wp), r);
        }
        return result;
    }
    default:
        return pass();
    }
}

LRESULT CALLBACK CallWndHook(int code, WPARAM wp, LPARAM lp) noexcept {
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (cwp->message == WM_CREATE || cwp->message == 0x1E2) {
            wchar_t name[10] = {};
            GetClassNameW(cwp->hwnd, name, 10);
            if (std::wstring(name) == L"#32768" && !GetPropW(cwp->hwnd, kOldProcProperty)) {
                MenuWindows()[cwp->hwnd] = MenuWindowRecord{};
                auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(cwp->hwnd, GWLP_WNDPROC));
                SetPropW(cwp->hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(old));
                if (!SetWindowLongPtrW(cwp->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BorderProc))) {
                    RemovePropW(cwp->hwnd, kOldProcProperty);
                    MenuWindows().erase(cwp->hwnd);
                } else {
                    MenuWindows()[cwp->hwnd].previous = old;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

void DrawMenuBorder(HDC dc, RECT r) {
    OffsetRect(&r, -r.left, -r.top);
    UniqueBrush orange(CreateSolidBrush(0x0160E6));
    UniqueBrush dark(CreateSolidBrush(0x121212));
    FrameRect(dc, &r, orange.get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, dark.get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, dark.get());
}

bool InstallMenuBorderHook() {
    if (BorderHook())
        return true;
    MenuWindows();
    BorderHook().reset(SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId()));
    return static_cast<bool>(BorderHook());
}
