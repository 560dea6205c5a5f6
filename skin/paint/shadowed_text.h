// A title's text with its shadow, laid straight into a 32-bit DIB: the text
// is drawn once (or twice) into a layer over nothing and that layer is laid
// at the shadow's offsets and then as the face.
#pragma once

#include <windows.h>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"

class GdipGraphics;
class GdipFont;
class GdipStringFormat;

// Where a title's four shadow copies lie, in the order they are laid.
inline constexpr float kShadowOffsets[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// A title: its shadow (the text in the shadow colour at the offsets (-1, 0),
// (1, 0), (0, -1) and (0, 1) from the layout, and as many times again at
// each further pixel up to `offset` device pixels), then its face, blended as five DrawString calls would blend them,
// from one or two drawings of the text (the graphics' clip and transform are
// not applied). False, with nothing done, when the DC holds no 32-bit
// top-down DIB.
bool DrawShadowedText(GdipGraphics& graphics, HDC dc, const Text& text, const GdipFont& font,
                      const GdipStringFormat& format, const Gdiplus::RectF& layout, Gdiplus::ARGB shadow,
                      Gdiplus::ARGB face, int offset = 1);
