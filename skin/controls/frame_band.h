// The frame band edit boxes and list-like controls share: a white band over
// what lies behind the control, with a border that is dark at rest and
// accent-coloured on focus (one pixel at 96 DPI) and on hover (two). The client
// area and the system's scroll bars are left to the control; where they lie
// in the window is found here too.
#pragma once

#include <windows.h>

#include "runtime/win_handles.h"

class SkinState;

struct FrameBandLook {
    int bandAlpha = 255;    // of the white band
    int accentAlpha = 180;  // of the focus and hover border
    COLORREF accent = 0;
    bool bordered = true;  // false: the band alone
    bool focused = false;
    bool hovered = false;
};

// Paints the band of `window` into its window DC. What lies behind it is
// composed for the window, or for `standIn` when the window has nothing to
// compose (a drop-down list floating outside its form).
void PaintFrameBand(SkinState& engine, HWND window, const FrameBandLook& look, HWND standIn = nullptr);

// The client area in window coordinates.
RECT EditClientRect(HWND window);
// The visible scroll bars in window coordinates; null when there is none.
RegionHandle ScrollBarRegion(HWND window);

// The visible scroll bar of one side (OBJID_VSCROLL with WS_VSCROLL, or
// OBJID_HSCROLL with WS_HSCROLL) in window coordinates; false when hidden.
bool ScrollBarRect(HWND window, LONG object, LONG styleBit, RECT& bar);
