#include "config/skin/win32/slider.h"

#include "config/skin/mask_region.h"
#include "config/skin/win32/skin_loader.h"

namespace {

HBITMAP LoadThumbImage(const std::wstring& path) {
    return static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

SkinRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

// ---------------------------------------------------------------------- thumb

bool CPSlider::Create(const std::wstring& image1, const std::wstring& image2, const std::wstring& image3,
                      HWND parent, int id, POINT centre, const RECT& travel) {
    images_[0].reset(LoadThumbImage(image1));
    if (!images_[0])
        return false;
    images_[1].reset(LoadThumbImage(image2));
    images_[2].reset(LoadThumbImage(image3));
    BITMAP info{};
    GetObjectW(images_[0].get(), sizeof info, &info);
    id_ = id;
    geometry_.thumbWidth = info.bmWidth;
    geometry_.thumbHeight = info.bmHeight;
    geometry_.travel = FromRect(travel);
    const int hw = info.bmWidth / 2, hh = info.bmHeight / 2;
    if (!CreateEx(0, L"", 0x50010000, centre.x - hw, centre.y - hh, 2 * hw, 2 * hh, parent,
                  static_cast<UINT_PTR>(id)))
        return false;
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_TOPMOST);
    Shape();
    return true;
}

void CPSlider::Shape() {
    Dib32 dib;
    if (!CopyToDib32(images_[0].get(), dib))
        return;
    const PixelView32 view{dib.bits.data(), dib.width, dib.height, static_cast<size_t>(dib.width) * 4, true};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const SkinRect& r : ThumbRuns(view)) {
        UniqueRegion piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        CombineRgn(region, region, piece.get(), RGN_OR);
    }
    if (!SetWindowRgn(hwnd_, region, TRUE))
        DeleteObject(region);
}

void CPSlider::SetRange(int minimum, int maximum) {
    geometry_.minimum = minimum;
    geometry_.maximum = maximum;
}

void CPSlider::SetPos(int value) {
    value_ = SliderAcceptedValue(geometry_, value);
    const SkinPoint p = SliderThumbPosition(geometry_, value_);
    MoveWindow(hwnd_, p.x, p.y, geometry_.thumbWidth, geometry_.thumbHeight, TRUE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

RECT CPSlider::RectInTrack() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CPSlider::SetState(int state) {
    if (state_ == state)
        return;
    state_ = state;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CPSlider::Paint() {
    PaintDc paint(hwnd_);
    HBITMAP image = images_[state_ == 2 ? 1 : state_ == 3 ? 2 : 0].get();
    if (!image)
        image = images_[0].get();
    UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
    SelectGuard select(memory.get(), image);
    BitBlt(paint.get(), 0, 0, geometry_.thumbWidth, geometry_.thumbHeight, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CPSlider::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (enabled_) {
            SetCapture(hwnd_);
            press_ = POINT{LowX(lp), HighY(lp)};
            dragging_ = true;
        }
        return DefaultProc(msg, wp, lp);
    case WM_MOUSEMOVE: {
        HWND track = GetParent(hwnd_);
        HWND active = GetActiveWindow();
        if (GetCapture() != hwnd_ && active && GetParent(track) == active) {
            state_ = 2;
            SetCapture(hwnd_);
            InvalidateRect(hwnd_, nullptr, FALSE);
        } else {
            POINT pt{LowX(lp), HighY(lp)};
            ClientToScreen(hwnd_, &pt);
            HWND under = WindowFromPoint(pt);
            if (under && under != hwnd_ && state_ != 1) {
                state_ = 1;
                if (!dragging_)
                    ReleaseCapture();
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
        }
        if (dragging_) {
            SetState(3);
            const RECT r = RectInTrack();
            const SkinRect before = FromRect(r);
            if (geometry_.horizontal) {
                const int dx = SliderLimitDelta(geometry_, before, LowX(lp) - press_.x);
                PostMessageW(track, kSliderDragMessage, 0, SliderDragValue(geometry_, before));
                MoveWindow(hwnd_, r.left + dx, geometry_.travel.top, geometry_.thumbWidth,
                           geometry_.thumbHeight, TRUE);
            } else {
                const int dy = SliderLimitDelta(geometry_, before, HighY(lp) - press_.y);
                PostMessageW(track, kSliderDragMessage, 0, SliderDragValue(geometry_, before));
                MoveWindow(hwnd_, geometry_.travel.left, r.top + dy, geometry_.thumbWidth,
                           geometry_.thumbHeight, TRUE);
            }
        }
        return DefaultProc(msg, wp, lp);
    }
    case WM_LBUTTONUP: {
        dragging_ = false;
        ReleaseCapture();
        SetState(1);
        value_ = SliderReleaseValue(geometry_, FromRect(RectInTrack()));
        HWND track = GetParent(hwnd_);
        PostMessageW(track, kSliderValueMessage, static_cast<WPARAM>(value_), id_);
        PostMessageW(track, WM_LBUTTONUP, 0, 0);
        return DefaultProc(msg, wp, lp);
    }
    default:
        return DefaultProc(msg, wp, lp);
    }
}

// ---------------------------------------------------------------------- track

bool CClickSlider::Create(const std::wstring& image1, const std::wstring& image2, const std::wstring& image3,
                          HWND parent, int id, bool horizontal, const RECT& rect) {
    {
        UniqueBitmap probe(LoadThumbImage(image1));
        if (!probe)
            return false;
    }
    images_[0] = image1;
    images_[1] = image2;
    images_[2] = image3;
    id_ = id;
    rect_ = rect;
    parent_ = parent;
    geometry_.horizontal = horizontal;
    geometry_.minimum = 0;
    geometry_.maximum = 10;
    return CreateEx(0, L"", 0x50000000, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    parent, static_cast<UINT_PTR>(id));
}

void CClickSlider::SetRange(int minimum, int maximum) {
    geometry_.minimum = minimum;
    geometry_.maximum = maximum;
    thumb_.SetRange(minimum, maximum);
}

LRESULT CClickSlider::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        if (DefaultProc(msg, wp, lp) == -1)
            return -1;
        const RECT travel{0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
        if (thumb_.Create(images_[0], images_[1], images_[2], hwnd_, id_, POINT{0, 0}, travel)) {
            thumb_.SetPos(0);
            thumb_.SetHorizontal(geometry_.horizontal);
            thumb_.SetEnabled(true);
        }
        return 0;
    }
    case WM_PAINT: {
        PaintDc paint(hwnd_);
        RECT client;
        GetClientRect(hwnd_, &client);
        UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
        SelectGuard select(memory.get(), background_.get());
        BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case kSliderDragMessage:
        PostMessageW(parent_, kSliderValueMessage,
                     static_cast<WPARAM>(TrackRelayValue(geometry_, static_cast<int>(lp))), id_);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case kSliderValueMessage:
        return 0;
    case WM_MOUSEMOVE:
        if (wp == MK_LBUTTON) {
            POINT pt{LowX(lp), HighY(lp)};
            MapWindowPoints(hwnd_, parent_, &pt, 1);
            PostMessageW(parent_, kSliderValueMessage,
                         static_cast<WPARAM>(TrackMouseValue(geometry_, FromRect(rect_), pt.x)), id_);
        }
        return DefaultProc(msg, wp, lp);
    case WM_LBUTTONUP:
        PostMessageW(parent_, kSliderDoneMessage, 0, id_);
        return DefaultProc(msg, wp, lp);
    default:
        return DefaultProc(msg, wp, lp);
    }
}
