// Layer skin/model. The display scale a skinned window is laid out and
// painted at: every size the skin gives in pixels is a size at 96 DPI, and
// a form keeps the DPI of its monitor (FormSkin::dpi). Painters turn a
// 96-DPI length into device pixels with Px, once per quantity: an edge is
// scaled as an edge (Px(x + width)), not as Px(x) + Px(width), so that
// neighbouring parts still meet. At 96 DPI every value is returned as it is.
#pragma once

#include <windows.h>

class DisplayScale {
public:
    static constexpr int kBaseDpi = 96;

    DisplayScale() = default;
    explicit DisplayScale(int dpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

    int Dpi() const { return dpi_; }
    bool IsBase() const { return dpi_ == kBaseDpi; }
    // A 96-DPI length or coordinate in device pixels, rounded half away from zero.
    int Px(int length) const { return IsBase() ? length : ::MulDiv(length, dpi_, kBaseDpi); }
    // The same for lengths a painter keeps in floating point (GDI+ paths, fonts).
    float Pf(float length) const { return IsBase() ? length : length * static_cast<float>(dpi_) / kBaseDpi; }
    // A line width: scaled, and never thinner than one device pixel.
    int Line(int width) const {
        const int scaled = Px(width);
        return width > 0 && scaled < 1 ? 1 : scaled;
    }
    // A rectangle given at 96 DPI, each edge scaled on its own.
    RECT Rect(const RECT& r) const { return {Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
    // A length at `from` DPI brought to this scale (a window moving between monitors).
    int From(int length, int from) const { return from == dpi_ ? length : ::MulDiv(length, dpi_, from); }

    bool operator==(const DisplayScale& other) const { return dpi_ == other.dpi_; }
    bool operator!=(const DisplayScale& other) const { return dpi_ != other.dpi_; }

private:
    int dpi_ = kBaseDpi;
};

// The DPI of the monitor a window is on, as the system reports it to this
// process (GetDpiForWindow where the system has it, else the LOGPIXELSX of
// the window's device context).
int WindowDpi(HWND window);
// The DPI of the screen device context (the system DPI): what stock fonts
// and system metrics are sized for.
int SystemDpi();
