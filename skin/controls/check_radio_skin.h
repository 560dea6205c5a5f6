// Check boxes and radio buttons of a skinned form: they keep their own button
// style, go through the button skin procedure (button_skin.h attaches them)
// and paint themselves here. A check box is drawn from two 13 x 13 images (empty and ticked box), a radio button
// as anti-aliased circles with a teal dot when selected; the caption sits to
// the right in the control's own font.
#pragma once

#include <windows.h>

class SkinState;

// Which kind of check or radio control a button style is: 0 none, else the
// button record kind (kButtonCheckBox or kButtonRadio). Check boxes are types
// 2, 3 and 0xA; radio buttons type 9 (BS_AUTORADIOBUTTON) only.
int CheckRadioKindOfStyle(LONG style);

// Paint the control on its own DC (or into target when given). state holds
// ODS_* bits: ODS_DISABLED and ODS_HOTLIGHT change the look.
void PaintCheckBox(SkinState& engine, HWND window, UINT state, HDC target = nullptr);
void PaintRadioButton(SkinState& engine, HWND window, UINT state, HDC target = nullptr);

// Repaints a skinned check box or radio button with its plain (or disabled)
// look after its state changed; false when the window is none of them.
bool RefreshCheckRadio(SkinState& engine, HWND window, HDC target = nullptr);
