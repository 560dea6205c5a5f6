// Edit boxes of a skinned form keep drawing their own text; the skin paints
// their frame band (white, with a border that turns accent-coloured on focus
// and hover), keeps the system scroll bars, and in translucent mode lets the
// form's background show through the text area under a white veil. Edits
// are attached with the combo boxes (AttachEditSkin, skin/controls/combo_skin.h).
#pragma once

#include <windows.h>

#include "runtime/win_handles.h"
#include "skin/controls/frame_band.h"

class SkinState;

// Skins one edit of the form; its 1-based index in the edit list (the
// existing one when it was skinned already).
int SkinEdit(SkinState& engine, int formIndex, HWND edit);

LRESULT CALLBACK EditSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The frame band around the client area; a value whose use-flag is false
// comes from the edit's record.
void PaintEditFrame(SkinState& engine, HWND window, bool focused, bool useFocused, bool hovered, bool useHovered);
// A registered memory DC of the client area holding the composed background
// under the white veil; the caller releases it with ReleaseMemoryDc. 0 when
// the window has no background to compose.
HDC MakeVeiledBackground(SkinState& engine, HWND window);

// The translucent client background: the form's image under the white veil,
// into the window DC at the client's place (toWindowDc) or into dc at (0, 0).
void PaintEditBackground(SkinState& engine, HWND window, HDC dc, bool toWindowDc);
// A screen-compatible bitmap of the edit's veiled background.
BitmapHandle MakeEditBackgroundBitmap(SkinState& engine, HWND edit);
// The answer to a skinned edit's WM_CTLCOLOREDIT in translucent mode: text
// colour Kj_Ztys, transparent text, and a pattern brush of the veiled
// background (kept in Kj_dxjb / Kj_wtjb, replacing the previous pair).
LRESULT AnswerEditColour(SkinState& engine, HWND edit, HDC dc);
// True when the window has a record in its form's edit list.
bool IsSkinnedEdit(SkinState& engine, HWND window);
