// Push buttons of a skinned form, made owner-drawn and painted by the skin:
// a translucent rounded face over the form's background, a glossy upper half,
// the accent colour while hot, a cyan glow while focused and an inset while
// pressed. Image buttons (kinds 1 and 3) share the record list and procedure,
// and so do check boxes and radio buttons (check_radio_skin.h), which keep
// their style and paint themselves.
#pragma once

#include <windows.h>

#include "skin/model/form_skin_data.h"

class SkinState;

// Skins every push button among the direct children of parent (nothing while
// skinning of controls is off). A button skinned already is left as it is.
void AttachButtonSkin(SkinState& engine, int formIndex, HWND parent);
// Skins one push button of the form; its 1-based index in the button list,
// the existing index when it was skinned already, 0 when it is no push button.
int SkinPushButton(SkinState& engine, int formIndex, HWND button);

// Skins every check box and radio button among the direct children of parent
// with the same procedure (nothing while skinning of controls is off). A
// control skinned already keeps its one record and is not subclassed again.
void AttachCheckRadioSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK ButtonSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The button's current look painted on its own DC; state holds ODS_* bits,
// hover adds ODS_HOTLIGHT.
void PaintButton(SkinState& engine, HWND window, UINT state, bool hover);
// A kind-0 button painted into target (rect: the client rectangle).
void PaintPushButtonFace(SkinState& engine, HWND window, HDC target, UINT state, const RECT& rect);
// The parent's WM_DRAWITEM for a skinned button: the painter of its kind.
void PaintOwnerDrawnButton(SkinState& engine, const DRAWITEMSTRUCT& item);
