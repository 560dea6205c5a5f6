// Track bars painted by the skin: an optional rounded, shaded plate, a thin
// rounded channel and a round thumb that is a small dot while the mouse is
// away and grows to a knob while the mouse is over the bar. Tick marks are
// not drawn.
#pragma once

#include <windows.h>

#include "skin/model/display_scale.h"

class SkinState;

// Skins every "msctls_trackbar32" child of parent for form formIndex
// (nothing while control skinning is off). A bar skinned already keeps its
// record and its procedure.
void AttachTrackBarSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK TrackBarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints track-bar record `index` of the form; into `target` when given,
// else into the bar's window DC.
void PaintTrackBar(SkinState& engine, int formIndex, int index, HDC target = nullptr);

// Where the painter puts the parts of a bar, in window coordinates.
struct TrackBarLayout {
    RECT channel{};      // along the bar's own orientation
    POINT knobCentre{};  // the knob box is centred here (size / 2 to the left and above)
    int thumbLength = 0;  // the control's thumb along the channel
};
TrackBarLayout LayoutTrackBar(HWND bar, bool vertical, int tickPlacement,
                              const DisplayScale& scale = DisplayScale());
// The pixel along the channel (x for a horizontal bar, y for a vertical one)
// where a position of the bar's range lies.
int TrackBarPositionPixel(HWND bar, const TrackBarLayout& layout, bool vertical, LONG position);
