// The window framework: one C++ object per window, reached from one static
// window procedure (our own classes and subclassed system controls) or one
// static dialog procedure. The object pointer is a window property set at
// WM_NCCREATE (from lpCreateParams) or WM_INITDIALOG (from lParam) and removed
// at WM_NCDESTROY, so no message after that reaches a dead object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Handle() const { return hwnd_; }

    // A window of the framework's own class (plain child or popup windows).
    bool CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h, HWND parent,
                  UINT_PTR id);
    // A system control (BUTTON, LISTBOX, EDIT...) whose messages this object sees first.
    bool CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                       HWND parent, UINT_PTR id, DWORD exStyle = 0);

    // Gives the object a look at a message before it is dispatched; true = handled.
    virtual bool PreTranslateMessage(MSG& msg);

    // Runs PreTranslateMessage of the target window and each of its ancestors.
    static bool PreTranslateChain(MSG& msg);
    static CWindow* FromHandle(HWND hwnd);

    // Owner-drawn menus report to their owner window; the menu code answers them.
    using MenuOwnerDrawHandler = bool (*)(UINT msg, LPARAM lp, LRESULT& result);
    static void SetMenuOwnerDrawHandler(MenuOwnerDrawHandler handler);

protected:
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // What the window would do without this object: the subclassed procedure or DefWindowProc.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called once the handle is known and before WM_CREATE is handled.
    virtual void PreSubclassWindow() {}
    virtual void OnFinalMessage() {}
    // WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR* sent to the parent, handed
    // back to the control they are about; true = answered with result.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Routes those messages of a parent window to their control; true = answered.
    static bool ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    void Attach(HWND hwnd);
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    friend class CDialog;
};

// An in-memory dialog template (DLGTEMPLATE with no controls, or a few edits).
class DialogTemplate {
public:
    DialogTemplate(DWORD style, int cx, int cy, const wchar_t* title = L"");
    void AddEdit(WORD id, DWORD style, int x, int y, int cx, int cy);
    const DLGTEMPLATE* Get();

private:
    void Align();
    void Word(WORD w) { data_.push_back(w); }
    void String(const wchar_t* s);
    std::vector<WORD> data_;
    WORD countOffset_ = 0;
};

// A dialog from an in-memory template: child (modeless) or modal with our own loop.
class CDialog : public CWindow {
public:
    bool CreateChild(DialogTemplate& tpl, HWND parent);
    // The modal loop: the parent is disabled, every message goes through the
    // PreTranslateMessage chain and IsDialogMessage, until EndDialog.
    INT_PTR RunModal(DialogTemplate& tpl, HWND parent);
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return modal_; }

protected:
    // The window's own creation (skin, controls); runs at WM_INITDIALOG before
    // OnInitDialog. Returning false fails the creation.
    virtual bool OnCreate() { return true; }
    virtual bool OnInitDialog() { return true; }
    virtual bool OnCommand(WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    bool modal_ = false;
    bool ended_ = false;
    bool createFailed_ = false;
    INT_PTR result_ = 0;
    bool defaultHandled_ = false;
};

// The application's own message loop with the PreTranslateMessage chain.
int RunMessageLoop();

inline int LowX(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
inline int HighY(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }
