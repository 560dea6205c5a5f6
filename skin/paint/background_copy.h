// Showing a skinned form's composed background: its background DC, or a
// part of it, copied to the window.
#pragma once

#include <windows.h>

#include "skin/model/form_skin_data.h"

// Copies the background DC (or the given part of it) to the window, its
// visible children excluded; through the paint DC when one is given.
void CopyBackgroundToWindow(const FormSkin& form, const RECT* part = nullptr, HDC paintDc = nullptr);
