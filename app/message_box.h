// The update client's own message boxes, skinned by the dialog skin the
// moment they are first activated.
#pragma once

#include <windows.h>

#include "runtime/value_types.h"

// Shows a box owned by `owner` (on the calling thread) and returns the
// Windows result minus 1: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
int SkinnedMessageBox(HWND owner, const Text& text, int style, const Text& caption);

// Hooks the calling thread's window activations (WH_CBT) and keeps the hook
// in the engine as this thread's; the skinned dialog removes it when activated.
void InstallMessageBoxHook();

// Hands a "#32770" window that is about to be activated and is not skinned
// yet (no Hw_hProc) to the dialog skin; passes every call on.
LRESULT CALLBACK DialogHookProc(int code, WPARAM wParam, LPARAM lParam);
