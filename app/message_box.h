// The update client's own message boxes.
#pragma once

#include <windows.h>

#include "runtime/value_types.h"

// Shows a box owned by `owner` and returns the 0-based result (OK 0 … Yes 5,
// No 6). The dialog skin hooks in here once it exists; until then the box has
// the system look.
int SkinnedMessageBox(HWND owner, const Text& text, int style, const Text& caption);
