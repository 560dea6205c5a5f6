// Progress bars painted by the skin: a rounded, lightly shaded track over
// the background and a rounded accent bar whose length follows the position.
#pragma once

#include <windows.h>

class SkinState;

// Skins every "msctls_progress32" child of parent for form formIndex
// (nothing while control skinning is off).
void AttachProgressSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK ProgressSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints progress record `index` of the form; into `target` when given,
// else into the control's window DC.
void PaintProgress(SkinState& engine, int formIndex, int index, HDC target = nullptr);
