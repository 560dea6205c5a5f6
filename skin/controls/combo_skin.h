// Combo boxes of a skinned form: the edit frame, a gradient drop-down button
// with the arrow image, and in translucent mode a see-through inner edit.
// The combo's children are left out of the painting by a colour key.
#pragma once

#include <windows.h>

#include "skin/model/display_scale.h"

class SkinState;

// Skins the "Edit" and "ComboBox" children of parent, and in translucent
// mode the inner edit of each combo box (nothing while skinning of controls
// is off). An edit skinned already gets no second record.
void AttachEditSkin(SkinState& engine, int formIndex, HWND parent);

// Adds a combo record and installs the combo procedure; a combo attached
// again keeps its one record and one subclass. The record's index.
int SkinComboBox(SkinState& engine, int formIndex, HWND combo);

LRESULT CALLBACK ComboSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A value whose use-flag is false comes from the combo's record.
void PaintComboBox(SkinState& engine, int formIndex, int index, bool hovered, bool useHovered, bool focused,
                   bool useFocused);

// Width of the drop-down button for the combo's style: 17 for a drop-down
// list, 18 for a drop-down combo, 0 for a simple one (96-DPI pixels, scaled).
int ComboButtonWidth(LONG style, const DisplayScale& scale = DisplayScale());
