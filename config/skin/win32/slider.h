// A skinned slider: the track (CClickSlider), a child of the owning panel showing
// a piece of the panel's skin, and the thumb (CPSlider), a child of the track
// shaped by its picture's key colour and dragged along the track.
#pragma once

#include "config/skin/slider_math.h"
#include "config/skin/win32/handles.h"
#include "config/skin/win32/window.h"

#include <string>

constexpr UINT kSliderValueMessage = WM_USER + 10; // 1034
constexpr UINT kSliderDragMessage = WM_USER + 11;  // 1035
constexpr UINT kSliderDoneMessage = WM_USER + 12;  // 1036

class CPSlider : public CWindow {
public:
    bool Create(const std::wstring& image1, const std::wstring& image2, const std::wstring& image3,
                HWND parent, int id, POINT centre, const RECT& travel);
    void SetPos(int value);
    void SetRange(int minimum, int maximum);
    int Value() const { return value_; }
    int VisualState() const { return state_; }
    void SetHorizontal(bool horizontal) { geometry_.horizontal = horizontal; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    const SliderGeometry& Geometry() const { return geometry_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    RECT RectInTrack() const;
    void SetState(int state);
    void Shape();
    void Paint();

    int id_ = 0;
    UniqueBitmap images_[3];
    SliderGeometry geometry_;
    int value_ = 0;
    bool enabled_ = true;
    int state_ = 1;
    bool dragging_ = false;
    POINT press_{0, 0};
};

class CClickSlider : public CWindow {
public:
    bool Create(const std::wstring& image1, const std::wstring& image2, const std::wstring& image3,
                HWND parent, int id, bool horizontal, const RECT& rect);
    void SetRange(int minimum, int maximum);
    void SetBackground(UniqueBitmap piece) { background_ = std::move(piece); }
    UniqueBitmap& BackgroundPiece() { return background_; }
    void Enable(bool on) { EnableWindow(hwnd_, on ? TRUE : FALSE); }
    CPSlider& Thumb() { return thumb_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int id_ = 0;
    std::wstring images_[3];
    RECT rect_{};
    HWND parent_ = nullptr;
    SliderGeometry geometry_;
    UniqueBitmap background_;
    CPSlider thumb_;
};
