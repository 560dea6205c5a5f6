// Edit boxes of a skinned form keep drawing their own text; the skin paints
// their frame band (white, with a border that turns accent-coloured on focus
// and hover), keeps the system scroll bars, and in translucent mode lets the
// form's background show through the text area under a white veil. Combo
// boxes are skinned by the same attach operation (skin/controls/combo_skin.h).
#pragma once

#include <windows.h>

#include "runtime/win_handles.h"

class SkinState;

// Skins the "Edit" and "ComboBox" children of parent, and in translucent
// mode the inner edit of each combo box (nothing while skinning of controls
// is off). An edit skinned already gets no second record.
void AttachEditSkin(SkinState& engine, int formIndex, HWND parent);
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
// The client area in window coordinates.
RECT EditClientRect(HWND window);
// The visible scroll bars in window coordinates; null when there is none.
RegionHandle ScrollBarRegion(HWND window);

// The visible scroll bar of one side (OBJID_VSCROLL with WS_VSCROLL, or
// OBJID_HSCROLL with WS_HSCROLL) in window coordinates; false when hidden.
bool ScrollBarRect(HWND window, LONG object, LONG styleBit, RECT& bar);

// A screen-compatible bitmap of the edit's veiled background.
BitmapHandle MakeEditBackgroundBitmap(SkinState& engine, HWND edit);
// The answer to a skinned edit's WM_CTLCOLOREDIT in translucent mode: text
// colour Kj_Ztys, transparent text, and a pattern brush of the veiled
// background (kept in Kj_dxjb / Kj_wtjb, replacing the previous pair).
LRESULT AnswerEditColour(SkinState& engine, HWND edit, HDC dc);
// True when the window has a record in its form's edit list.
bool IsSkinnedEdit(SkinState& engine, HWND window);
