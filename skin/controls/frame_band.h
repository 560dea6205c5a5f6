// The frame band edit boxes and list-like controls share: a white band over
// what lies behind the control, with a border that is dark at rest and
// accent-coloured on focus (one pixel) and on hover (two pixels). The client
// area and the system's scroll bars are left to the control.
#pragma once

#include <windows.h>

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
