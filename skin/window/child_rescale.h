// Layer skin/window. Child windows laid out for one display scale, moved to
// another: each edge of a child's place in its parent scaled on its own, and
// its font remade for the new scale.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/model/form_skin_data.h"

// Moves and sizes every descendant of `parent` (except the insides of
// controls that place their own inner windows, such as a combo box's edit)
// from `fromDpi` to `toDpi`. With `origins`, a child already listed is
// placed from its origin and a new one is listed at `fromDpi`.
void RescaleChildWindows(HWND parent, int fromDpi, int toDpi, std::vector<ChildOrigin>* origins = nullptr);
// Gives every such descendant its font remade for `toDpi` (WM_SETFONT).
void RescaleChildFonts(HWND parent, int fromDpi, int toDpi);
