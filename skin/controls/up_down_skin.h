// Up-down controls painted by the skin: two rounded, gradient-filled halves
// with an arrow image each. The half under the mouse lights up in the accent
// colour and the half being pressed is drawn inverted. The control's own
// arrows are never drawn.
#pragma once

#include <windows.h>

class SkinState;

// Skins every "msctls_updown32" child of parent for form formIndex (nothing
// while control skinning is off). A control skinned already keeps its
// record and its procedure.
void AttachUpDownSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK UpDownSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The half a client position (x in the low word, y in the high word) falls
// in: 1 for the upper (left) half, 2 for the lower (right) one; 0 when the
// record does not exist.
int UpDownHitPart(SkinState& engine, int formIndex, int index, LPARAM position);

// Paints up-down record `index` of the form into its window DC (into
// `target` when given). A value whose use-flag is false comes from the record.
void PaintUpDown(SkinState& engine, int formIndex, int index, bool hovered, bool useHovered, bool down, bool useDown,
                 LPARAM position, bool usePosition, HDC target = nullptr);
