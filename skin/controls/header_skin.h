// Header controls, free-standing or inside list views, painted by the skin:
// a white (or veiled) strip, gradient items with a hot and a pressed look,
// gradient separators, each item's icon and its text in black, ending in an
// ellipsis when it does not fit.
#pragma once

#include <windows.h>

class SkinState;

// Skins every "SysHeader32" child of parent and the header of every
// "SysListView32" child (nothing while control skinning is off). A header
// skinned already keeps its one record.
void AttachHeaderSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK HeaderSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The 0-based item of header record `index` whose rectangle holds the point
// (client coordinates); -1 for none.
int HeaderHitItem(SkinState& engine, int formIndex, int index, POINT position);

// Paints the whole header; a value whose use-flag is false comes from the
// record. Into `target` when given, else into the header's DC.
void PaintHeader(SkinState& engine, int formIndex, int index, int hot, bool useHot, int pressed, bool usePressed,
                 HDC target = nullptr);
