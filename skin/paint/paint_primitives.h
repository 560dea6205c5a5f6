// Layer skin/paint: painting that reads the state (skin/model) and knows no
// control skin, window procedure or engine; it may include only skin/paint
// and skin/model.
//
// What every skinned control's painter shares: the composition of what lies
// behind a control into a memory DC, the registry of those DCs, the rounded
// shapes, the colour conversion and the reading of a control's font. The
// lookups by window it builds on (skin/model/window_lookup.h) come with it.
#pragma once

#include <windows.h>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"
#include "runtime/win_handles.h"
#include "skin/model/display_scale.h"
#include "skin/model/window_lookup.h"

class GdipGraphics;
class GdipPath;
class SkinState;

struct ControlFont {
    Text face;
    int size = 0;
    int style = 0;  // FontStyle bits: 1 bold, 2 italic, 4 underline, 8 strikeout
};

// Fills the path with a linear gradient from (x1, y1) to (x2, y2).
void FillPathGradient(GdipGraphics& graphics, const GdipPath& path, float x1, float y1, float x2, float y2,
                      Gdiplus::ARGB from, Gdiplus::ARGB to);
// Draws the path with a 1-pixel pen of the colour at the alpha.
void OutlinePath(GdipGraphics& graphics, const GdipPath& path, COLORREF colour, int alpha);

// A control's caption in its text colour (Kj_Ztys) and the given font,
// centred vertically and aligned horizontally (0 near, 1 centre); the "&" of
// an access key ("否(&N)") is not drawn. Nothing when the text is empty or
// the face makes no font.
void DrawControlCaption(GdipGraphics& graphics, HWND window, const Text& text, const ControlFont& font,
                        int horizontalAlign, const Gdiplus::RectF& layout);

// A registered memory DC of the rectangle's size holding what lies behind the
// control; 0 when the control belongs to no skinned form and no background owner.
HDC ComposeControlBackground(SkinState& engine, HWND control, const RECT& rect);
// The same composition as a bitmap the caller owns (null when there is none).
BitmapHandle ComposeControlBackgroundBitmap(SkinState& engine, HWND control, const RECT& rect);

// The registry owns the DC and the bitmap from here on.
void RegisterMemoryDc(SkinState& engine, HDC dc, HBITMAP bitmap, HGDIOBJ previous);
// 1 when the DC was registered and is now released, else 0.
int ReleaseMemoryDc(SkinState& engine, HDC dc);

// One closed figure; the radius (the arc box size) is clamped to 1..100.
void AddRoundedRectangle(GdipPath& path, float x, float y, float width, float height, int radius);
// One open figure: the left, top and right sides with rounded top corners.
void AddRoundedTopOutline(GdipPath& path, int x, int y, int width, int height, int radius);
// Draws the path `count` times with widths 1..count (96-DPI pixels at the scale).
void DrawSoftOutline(GdipGraphics& graphics, const GdipPath& path, int count, COLORREF colour, int alpha,
                     const DisplayScale& scale = DisplayScale());
// 0x00BBGGRR and an alpha into 0xAARRGGBB (alpha 255 unless useAlpha).
constexpr Gdiplus::ARGB ToArgb(COLORREF colour, int alpha, bool useAlpha) {
    return (static_cast<Gdiplus::ARGB>(useAlpha ? (alpha & 255) : 255) << 24) |
           (static_cast<Gdiplus::ARGB>(colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

ControlFont ReadControlFont(HWND control);

// A width x height top-down 32-bit ARGB DIB section, every pixel 0 (the
// bitmap GDI+ makes for an ARGB bitmap with background 0); its pixels in
// *bits when asked for.
BitmapHandle CreateArgbBitmap(int width, int height, void** bits = nullptr);
