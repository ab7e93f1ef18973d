// Helpers for the controls' tests: a parent window that records what its
// controls tell it, solid-colour pictures and pixel reads.
#pragma once

#include "config/skin/win32/handles.h"
#include "config/skin/win32/window.h"

#include <vector>

struct RecordedMessage {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class RecordingParent : public CWindow {
public:
    RecordingParent() { CreateEx(0, L"parent", WS_POPUP | WS_VISIBLE, 10, 10, 600, 400, nullptr, 0); }
    ~RecordingParent() override {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    std::vector<RecordedMessage> got;
    size_t Count(UINT msg) const {
        size_t n = 0;
        for (const auto& m : got)
            n += m.msg == msg;
        return n;
    }
    const RecordedMessage* Last(UINT msg) const {
        for (auto it = got.rbegin(); it != got.rend(); ++it)
            if (it->msg == msg)
                return &*it;
        return nullptr;
    }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COMMAND || msg == WM_LBUTTONUP || msg == WM_NCLBUTTONDOWN || msg == WM_MOUSEMOVE ||
            (msg >= WM_USER && msg < 0x8000)) {
            got.push_back({msg, wp, lp});
            return 0;
        }
        return DefaultProc(msg, wp, lp);
    }
};

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWindow::PreTranslateChain(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline UniqueBitmap SolidBitmap(int w, int h, COLORREF colour) {
    WindowDc screen(nullptr);
    UniqueBitmap bmp(CreateCompatibleBitmap(screen.get(), w, h));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectGuard select(dc.get(), bmp.get());
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT r{0, 0, w, h};
    FillRect(dc.get(), &r, brush.get());
    return bmp;
}

// A screen-compatible canvas to draw controls into and read back.
struct Canvas {
    WindowDc screen{nullptr};
    UniqueMemoryDc dc{CreateCompatibleDC(screen.get())};
    UniqueBitmap bitmap;
    HGDIOBJ old = nullptr;
    Canvas(int w, int h) : bitmap(CreateCompatibleBitmap(screen.get(), w, h)) {
        old = SelectObject(dc.get(), bitmap.get());
    }
    ~Canvas() { SelectObject(dc.get(), old); }
    COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
};
