// Move-only owners for the platform's handles; each deleter matches how its
// handle was acquired (DeleteDC for CreateCompatibleDC, ReleaseDC for GetDC,
// EndPaint for BeginPaint), so a wrong pairing does not compile.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Deleter> class unique_any {
public:
    unique_any() = default;
    explicit unique_any(T value) : value_(value) {}
    ~unique_any() { reset(); }
    unique_any(unique_any&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.value_, T{}));
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        T old = std::exchange(value_, value);
        if (old != T{})
            Deleter{}(old);
    }

private:
    T value_{};
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct MemoryDcDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct HookDeleter {
    void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};
struct WindowDeleter {
    void operator()(HWND h) const { DestroyWindow(h); }
};

using UniqueBitmap = unique_any<HBITMAP, GdiObjectDeleter>;
using UniqueFont = unique_any<HFONT, GdiObjectDeleter>;
using UniqueBrush = unique_any<HBRUSH, GdiObjectDeleter>;
using UniquePen = unique_any<HPEN, GdiObjectDeleter>;
using UniqueRegion = unique_any<HRGN, GdiObjectDeleter>;
using UniqueMemoryDc = unique_any<HDC, MemoryDcDeleter>;
using UniqueHook = unique_any<HHOOK, HookDeleter>;
using UniqueIcon = unique_any<HICON, IconDeleter>;
using UniqueMenu = unique_any<HMENU, MenuDeleter>;
using UniqueWindow = unique_any<HWND, WindowDeleter>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
class UniqueFile {
public:
    explicit UniqueFile(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    HANDLE get() const { return h_.get(); }
    explicit operator bool() const { return static_cast<bool>(h_); }

private:
    unique_any<HANDLE, KernelHandleDeleter> h_;
};

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// GetWindowDC / ReleaseDC: the whole window, frame included.
class WholeWindowDc {
public:
    explicit WholeWindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    ~WholeWindowDc() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WholeWindowDc(const WholeWindowDc&) = delete;
    WholeWindowDc& operator=(const WholeWindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC / RestoreDC around drawing that changes colours, modes or clipping.
class DcStateGuard {
public:
    explicit DcStateGuard(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~DcStateGuard() {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    DcStateGuard(const DcStateGuard&) = delete;
    DcStateGuard& operator=(const DcStateGuard&) = delete;

private:
    HDC dc_;
    int saved_;
};
