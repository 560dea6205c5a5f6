// The status strip of a skinned form: a row of text items along the bottom
// of the client area, painted into the form's background DC over what lies
// there (white "宋体" 12 unless restyled).
#pragma once

#include <windows.h>

#include "skin/model/form_skin_data.h"

class GdipGraphics;

// Space left of the first item and right of the last, at 96 DPI.
constexpr int kStatusMargin = 5;

// Places the items in the strip for the window's client size, at the form's
// scale (the strip's height, the margins and the items' widths are 96-DPI
// sizes; the rectangles are in device pixels): items with a width keep it, items of width 0 share what is left, from the left; no item
// reaches past the right margin and the strip is no taller than the client
// area. True when a rectangle changed.
bool LayoutStatusItems(FormSkin& form);

// The strip's rectangle in the client area (empty without a strip).
RECT StatusStripRect(const FormSkin& form);

// Draws every item's text. With graphics: inside a rebuild. Without: the
// strip is restored from its cache first and the result is shown.
void PaintStatusStrip(FormSkin& form, GdipGraphics* graphics);
