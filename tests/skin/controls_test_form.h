// A skinned form holding the gallery's button and edit sections, for the
// control-skin tests and the controls showcase, and reading what a control
// shows on screen.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/skin_engine.h"

namespace skintest {

// Commands the form received from its buttons since it was made.
struct ButtonCommands {
    int clicked = 0;
    int doubleClicked = 0;
};
ButtonCommands& CommandsSeen();

// A form skinned like the updater's main window (translucent controls unless
// told otherwise) with the two sections below the caption, shown at (left, top).
HWND MakeControlsForm(SkinEngine& engine, bool translucent = true, int left = 60, int top = 60);
// The section control with this id.
HWND Control(HWND form, int id);

// Pixel of the whole window as on screen (window coordinates).
COLORREF WindowPixel(HWND window, int x, int y);
bool Greenish(COLORREF c);  // the updater's accent, RGB(81, 174, 81)
bool Cyanish(COLORREF c);   // the focus glow, RGB(34, 202, 221)
bool Neutral(COLORREF c, int tolerance = 6);

// Live GDI and GDI+ objects and memory DCs, for leak checks.
std::vector<long> LiveCounters(SkinEngine& engine);

}  // namespace skintest
