// Layer skin/model. Fonts for windows at another display scale: a child's
// font made for one DPI, remade for another. The fonts are kept for the life
// of the process (one per font and DPI met, a handful), so a window may hold
// one without owning it.
#pragma once

#include <windows.h>

// `font` (sized for `fontDpi`) at `dpi`: the font itself when the two are
// equal, else a font of the same face and style whose height is scaled. A
// font made here is scaled from the font it was made from, so going back and
// forth between monitors never drifts. Null stays null (the system font).
HFONT FontAtDpi(HFONT font, int fontDpi, int dpi);
