#include "skin/controls/control_skin_common.h"

#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr int kFocusCueRadius = 5;
constexpr int kFocusCueAlpha = 150;
// Set while the control's focus cues are hidden. Kept by the skin because
// Wine's default procedure keeps no UI state (WM_QUERYUISTATE answers 0).
constexpr char kFocusHidden[] = "Kj_Jdyc";

}  // namespace

ControlSkinSettings ControlSettings(SkinState& engine) {
    return engine.WithSettings([](SkinSettings& s) {
        ControlSkinSettings copy;
        copy.skinControls = s.skinControls;
        copy.controlBackAlpha = s.controlBackAlpha;
        copy.translucent = s.skinControls != 0 && s.controlBackAlphaSet != 0;
        copy.accent = s.accentColour;
        return copy;
    });
}

LRESULT ForwardToPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

bool HasRecordOf(const std::vector<ControlRecord>& records, HWND window) {
    for (const ControlRecord& record : records) {
        if (record.window == window) return true;
    }
    return false;
}

int TakeRecordSlot(std::vector<ControlRecord>& records) {
    if (records.size() == 1 && records[0].window == nullptr) return 1;
    records.emplace_back();
    return static_cast<int>(records.size());
}

RECT WindowBounds(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

void TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
}

void FollowUiState(HWND window, WPARAM wParam) {
    if (!(HIWORD(wParam) & UISF_HIDEFOCUS)) return;
    if (LOWORD(wParam) == UIS_SET) SetProperty(window, kFocusHidden, 1);
    if (LOWORD(wParam) == UIS_CLEAR) ::RemovePropA(window, kFocusHidden);
}

bool FocusCuesShown(HWND window) {
    if (GetProperty(window, kFocusHidden) != 0) return false;
    return (::SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void DrawFocusCue(GdipGraphics& graphics, float x, float y, float width, float height, COLORREF accent,
                  const DisplayScale& scale) {
    if (width < scale.Pf(4) || height < scale.Pf(4)) return;
    GdipPath path;
    path.CreatePath(0);
    AddRoundedRectangle(path, x + scale.Pf(1), y + scale.Pf(1), width - scale.Pf(3), height - scale.Pf(3),
                        scale.Px(kFocusCueRadius));
    DrawSoftOutline(graphics, path, scale.Line(2), accent, kFocusCueAlpha);
}

float OutlineInset(const DisplayScale& scale) { return static_cast<float>(scale.Line(1) - 1) / 2; }

void DrawOutline(GdipGraphics& graphics, const GdipPath& path, COLORREF colour, int alpha, const DisplayScale& scale) {
    if (scale.IsBase()) {
        OutlinePath(graphics, path, colour, alpha);
        return;
    }
    GdipPen pen;
    pen.CreatePen1(ToArgb(colour, alpha, true), static_cast<float>(scale.Line(1)), Gdiplus::UnitWorld);
    graphics.DrawPath(pen, path);
}

void UseSmoothImageScaling(GdipGraphics& graphics, const DisplayScale& scale) {
    if (scale.IsBase()) return;
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
}

void DrawImageScaled(GdipGraphics& graphics, const GdipImage& image, float x, float y, const DisplayScale& scale) {
    const int w = image.GetImageWidth(), h = image.GetImageHeight();
    graphics.DrawImageRect(image, x, y, static_cast<float>(scale.Px(w)), static_cast<float>(scale.Px(h)));
}

void DrawInnerFrame(GdipGraphics& graphics, const GdipPen& pen, int W, int H, int width) {
    // A pen of even width centred on a pixel edge covers whole pixels on
    // both sides of it; one of odd width does so centred on a pixel.
    const int centre = width / 2;
    if (width % 2 == 0) {
        graphics.DrawRectangleI(pen, centre, centre, W - 2 * centre, H - 2 * centre);
    } else {
        graphics.DrawRectangleI(pen, centre, centre, W - 1 - 2 * centre, H - 1 - 2 * centre);
    }
}
