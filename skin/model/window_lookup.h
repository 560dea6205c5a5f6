// Lookups by window in the skin's state: the form or panel a control's
// background comes from, the form above a window, a control's record, and a
// control's place relative to its form or root window, the scale it is
// painted at.
#pragma once

#include <windows.h>

#include "skin/model/display_scale.h"

class SkinState;

// Where a control's background comes from.
struct BackgroundOwner {
    int result = 0;        // 1: a skinned form (formIndex)
    int formIndex = 0;     // with result 0: the form of a panel pair
    int panelIndex = 0;    // with result 0: the panel of that pair
    HWND owner = nullptr;  // with result 0: a window that supplies its own background
    // The windows of that form and panel: indexes shift when a form of
    // another thread goes away, the windows do not.
    HWND formWindow = nullptr;
    HWND panelWindow = nullptr;
};

BackgroundOwner FindBackgroundOwner(SkinState& engine, HWND window, bool honourOwnerProperties);
int FindOwningForm(SkinState& engine, HWND window);
// Lists a control record can be searched in.
enum class RecordList { Buttons, Edits, Statics, Panels };
int FindControlRecord(SkinState& engine, int formIndex, HWND window, RecordList list);
int FindFilledAncestorPanel(SkinState& engine, int formIndex, HWND control, HWND stop);

RECT RectRelativeToForm(SkinState& engine, HWND control);
// The scale a window is painted at: its form's when it is a skinned form or
// lies inside one, else its own monitor's.
DisplayScale ScaleOfWindow(SkinState& state, HWND window);
RECT RectRelativeToWindow(HWND reference, HWND window);
RECT RectRelativeToRoot(HWND window);
