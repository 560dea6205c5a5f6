// Static labels painted over the skin background: text in black with a white
// halo, bitmaps and icons placed by the control's image style. An empty label
// (no text, or an image static without image) is painted by the control
// itself over the composed background.
#pragma once

#include <windows.h>

#include "skin/model/display_scale.h"
#include "skin/paint/paint_primitives.h"

class SkinState;

// What a static shows, from its style.
enum StaticKind : int { kStaticText = 1, kStaticBitmap = 2, kStaticIcon = 3 };
// Where an image static puts its image.
enum StaticPlacement : int { kPlaceTopLeft = 0, kPlaceBottomRight = 1, kPlaceCentred = 2, kPlaceStretched = 3 };

StaticKind StaticKindOf(LONG_PTR style);
StaticPlacement StaticPlacementOf(LONG_PTR style);
// The font a label is drawn in: its own; when GDI+ could not take its own
// (no face), its parent's whole font; then 宋体 and 12 for what is still
// missing (12 pixels at 96 DPI, scaled).
ControlFont LabelFont(const ControlFont& own, const ControlFont& parent, const DisplayScale& scale = DisplayScale());

// Skins every "Static" child of parent that has no record yet (nothing while
// control skinning is off).
void AttachStaticSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK StaticSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints static record `index` of the form; into `target` when given, else
// into the control's DC with its visible children left out.
void PaintStatic(SkinState& engine, int formIndex, int index, HDC target = nullptr);

// Excludes from dc's clip region the visible children of window that are not
// WS_EX_TRANSPARENT. Without haveDc the DC is the window's (GetDC), which the
// caller releases. Returns the DC.
HDC ExcludeVisibleChildren(HWND window, HDC dc, bool haveDc);
