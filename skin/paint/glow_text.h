// Text with a soft halo: the text is drawn into a bitmap, shrunk by the glow
// size and enlarged again, which blurs it into a halo drawn behind the text.
#pragma once

#include <windows.h>

#include <algorithm>

#include "runtime/value_types.h"
#include "skin/model/display_scale.h"

class GdipGraphics;

struct GlowLayout {
    float x = 0, y = 0, width = 0, height = 0;
};

// Draws `text` (no prefix processing: "&" shows as it is) in textColour over
// a halo of glowColour; glowSize is the blur factor at 96 DPI. The font is
// face at `size` device pixels (12 pixels at 96 DPI unless useSize) with
// `style` (0 unless useStyle); hAlign/vAlign are GDI+ string alignments (0
// near, 1 centre, 2 far). The layout is in device pixels; the scale sizes
// the glow, its one-pixel thickening and the default font.
void DrawGlowText(GdipGraphics& graphics, const Text& text, const GlowLayout& layout, COLORREF textColour,
                  COLORREF glowColour, int glowSize, const Text& face, int style, bool useStyle, int size,
                  bool useSize, int hAlign, int vAlign, const DisplayScale& scale = DisplayScale());
// The blur factor a 96-DPI glow size becomes at the scale (at least 1).
inline int ScaledGlowSize(int glowSize, const DisplayScale& scale) { return std::max(scale.Px(glowSize), 1); }

// Where the halo bitmap is drawn for a layout origin: half the (scaled)
// glow size to the left and 0.6 glow sizes up.
inline void GlowHaloOrigin(const GlowLayout& layout, int glowSize, float& x, float& y) {
    x = layout.x - static_cast<float>(glowSize / 2);
    y = layout.y - 0.6f * static_cast<float>(glowSize);
}
