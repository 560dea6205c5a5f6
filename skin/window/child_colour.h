// The answer a skinned form or one of its panels gives to a child's
// WM_CTLCOLOR*: the child's text colour (Kj_Ztys), transparent text, and a
// pattern brush of what lies behind the child, or the hollow brush.
#pragma once

#include <windows.h>

#include "skin/model/skin_state.h"

// The brush is kept in the form's entry until the child asks again or goes.
LRESULT AnswerControlColour(SkinState& state, FormSkin& form, HDC dc, HWND control, bool pattern);
// The same for the form at a form index; 0 when there is none.
LRESULT AnswerChildColour(SkinState& state, int formIndex, HDC dc, HWND control, bool pattern);
