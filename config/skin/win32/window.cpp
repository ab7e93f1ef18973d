#include "config/skin/win32/window.h"

namespace {

const wchar_t kObjectProperty[] = L"SkinWindowObject";
const wchar_t kWindowClass[] = L"SkinFrameworkWindow";

ATOM RegisterFrameworkClass(WNDPROC proc) {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        atom = RegisterClassExW(&wc);
    }
    return atom;
}

CWindow::MenuOwnerDrawHandler& MenuHandler() {
    static CWindow::MenuOwnerDrawHandler handler = nullptr;
    return handler;
}

} // namespace

void CWindow::SetMenuOwnerDrawHandler(MenuOwnerDrawHandler handler) { MenuHandler() = handler; }

bool CWindow::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWindow::ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (dis->CtlType == ODT_MENU)
            return MenuHandler() && MenuHandler()(msg, lp, result);
        child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        if (mis->CtlType == ODT_MENU)
            return MenuHandler() && MenuHandler()(msg, lp, result);
        child = GetDlgItem(parent, static_cast<int>(mis->CtlID));
        break;
    }
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lp);
        break;
    default:
        return false;
    }
    CWindow* w = child ? FromHandle(child) : nullptr;
    return w && w->OnReflectedMessage(msg, wp, lp, result);
}

CWindow::~CWindow() {
    if (hwnd_) {
        HWND h = hwnd_;
        Detach();
        DestroyWindow(h);
    }
}

CWindow* CWindow::FromHandle(HWND hwnd) { return static_cast<CWindow*>(GetPropW(hwnd, kObjectProperty)); }

void CWindow::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProperty, this);
}

void CWindow::Detach() {
    if (!hwnd_)
        return;
    RemovePropW(hwnd_, kObjectProperty);
    if (previousProc_) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        previousProc_ = nullptr;
    }
    hwnd_ = nullptr;
}

bool CWindow::CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
                       HWND parent, UINT_PTR id) {
    RegisterFrameworkClass(StaticWndProc);
    HWND created = CreateWindowExW(exStyle, kWindowClass, title, style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), this);
    return created != nullptr;
}

bool CWindow::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                            HWND parent, UINT_PTR id, DWORD exStyle) {
    HWND created = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent,
                                   reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    if (!created)
        return false;
    Attach(created);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    PreSubclassWindow();
    return true;
}

bool CWindow::PreTranslateMessage(MSG&) { return false; }

bool CWindow::PreTranslateChain(MSG& msg) {
    for (HWND h = msg.hwnd; h; h = GetParent(h)) {
        CWindow* w = FromHandle(h);
        if (w && w->PreTranslateMessage(msg))
            return true;
        if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return false;
}

LRESULT CWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT CWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (previousProc_)
        return CallWindowProcW(previousProc_, hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK CWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    CWindow* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) {
            self->Attach(hwnd);
            self->PreSubclassWindow();
        }
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT reflected = 0;
    if (ReflectToChild(hwnd, msg, wp, lp, reflected))
        return reflected;
    if (msg == WM_NCDESTROY) {
        WNDPROC previous = self->previousProc_;
        self->Detach();
        LRESULT r =
            previous ? CallWindowProcW(previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
        self->OnFinalMessage();
        return r;
    }
    return self->OnMessage(msg, wp, lp);
}

// ------------------------------------------------------------------ templates

DialogTemplate::DialogTemplate(DWORD style, int cx, int cy, const wchar_t* title) {
    DLGTEMPLATE head{};
    head.style = style;
    head.cx = static_cast<short>(cx);
    head.cy = static_cast<short>(cy);
    const WORD* raw = reinterpret_cast<const WORD*>(&head);
    data_.assign(raw, raw + sizeof head / sizeof(WORD));
    countOffset_ = static_cast<WORD>(offsetof(DLGTEMPLATE, cdit) / sizeof(WORD));
    Word(0); // no menu
    Word(0); // the system dialog class
    String(title);
}

void DialogTemplate::String(const wchar_t* s) {
    for (; *s; ++s)
        Word(static_cast<WORD>(*s));
    Word(0);
}

void DialogTemplate::Align() {
    if (data_.size() % 2)
        Word(0);
}

void DialogTemplate::AddEdit(WORD id, DWORD style, int x, int y, int cx, int cy) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.x = static_cast<short>(x);
    item.y = static_cast<short>(y);
    item.cx = static_cast<short>(cx);
    item.cy = static_cast<short>(cy);
    item.id = id;
    const WORD* raw = reinterpret_cast<const WORD*>(&item);
    data_.insert(data_.end(), raw, raw + sizeof item / sizeof(WORD));
    Word(0xFFFF);
    Word(0x0081); // edit
    Word(0);      // no text
    Word(0);      // no creation data
    ++data_[countOffset_];
}

const DLGTEMPLATE* DialogTemplate::Get() {
    Align();
    return reinterpret_cast<const DLGTEMPLATE*>(data_.data());
}

// -------------------------------------------------------------------- dialogs

bool CDialog::CreateChild(DialogTemplate& tpl, HWND parent) {
    createFailed_ = false;
    HWND h = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tpl.Get(), parent, StaticDlgProc,
                                        reinterpret_cast<LPARAM>(this));
    return h != nullptr && !createFailed_;
}

INT_PTR CDialog::RunModal(DialogTemplate& tpl, HWND parent) {
    ended_ = false;
    result_ = -1;
    if (!CreateChild(tpl, parent))
        return -1;
    modal_ = true;
    const bool parentWasEnabled = parent && IsWindowEnabled(parent);
    if (parentWasEnabled)
        EnableWindow(parent, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    MSG msg;
    bool quit = false;
    while (!ended_ && hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = true;
            break;
        }
        if (PreTranslateChain(msg))
            continue;
        if (hwnd_ && IsDialogMessageW(hwnd_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    modal_ = false;
    if (parentWasEnabled)
        EnableWindow(parent, TRUE);
    if (hwnd_) {
        if (parent)
            SetActiveWindow(parent);
        DestroyWindow(hwnd_);
    }
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
    return result_;
}

void CDialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (!modal_ && hwnd_)
        DestroyWindow(hwnd_);
    else if (hwnd_)
        PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool CDialog::OnCommand(WPARAM wp, LPARAM lp) {
    if (lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(LOWORD(wp));
        return true;
    }
    return false;
}

LRESULT CDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && OnCommand(wp, lp))
        return 0;
    if (msg == WM_CLOSE) {
        EndDialog(IDCANCEL);
        return 0;
    }
    return DefaultProc(msg, wp, lp);
}

LRESULT CDialog::DefaultProc(UINT, WPARAM, LPARAM) {
    defaultHandled_ = false;
    return 0;
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        self->Attach(hwnd);
        if (!self->OnCreate()) {
            self->createFailed_ = true;
            self->Detach();
            DestroyWindow(hwnd);
            return FALSE;
        }
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    if (!self)
        return FALSE;
    LRESULT reflected = 0;
    if (ReflectToChild(hwnd, msg, wp, lp, reflected)) {
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
            return static_cast<INT_PTR>(reflected);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, reflected);
        return TRUE;
    }
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage();
        return FALSE;
    }
    // Messages nest (a handler may send to its own dialog): keep the outer flag.
    const bool outer = self->defaultHandled_;
    self->defaultHandled_ = true;
    const LRESULT r = self->OnMessage(msg, wp, lp);
    const bool handled = self->defaultHandled_;
    self->defaultHandled_ = outer;
    if (!handled)
        return FALSE;
    switch (msg) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return static_cast<INT_PTR>(r);
    default:
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, r);
        return TRUE;
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CWindow::PreTranslateChain(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
