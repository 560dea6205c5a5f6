// List boxes, combo drop-down lists, list views and tree views keep drawing
// their own items; the skin gives them the edit box's frame band (white, a
// border that turns accent-coloured on hover and focus, the system's scroll
// bars) and in translucent mode lets the form's background show through
// their item area under the white veil. IP-address and date-time pickers get
// the frame only.
#pragma once

#include <windows.h>

class SkinState;

// Skins, in this order, the parent's "ListBox" children, the drop-down list
// of each "ComboBox" child, "SysListView32", "SysTreeView32",
// "SysIPAddress32" and "SysDateTimePick32" children (nothing while control
// skinning is off). A control skinned already keeps its one record and is
// not subclassed again.
void AttachListSkin(SkinState& engine, int formIndex, HWND parent);

LRESULT CALLBACK ListSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The frame band of list record `index`; a value whose use-flag is false
// comes from the record. The client area (and a drop-down list's items) and
// the scroll bars are left untouched.
void PaintListFrame(SkinState& engine, int formIndex, int index, bool focused, bool useFocused, bool hovered,
                    bool useHovered);

// A translucent list box paints itself twice over the veil, over the magenta
// key and over white, and asks its parent for its colours in each pass: true
// for that list box while it paints such a pass on this thread.
bool IsListBoxPaintPass(HWND list);
// The parent's answer in such a pass, after its usual one set the text
// colour: the pass's colour as the DC's background and as the brush.
LRESULT AnswerListBoxPass(HDC dc);

// True when the window has a record in its form's list list.
bool IsSkinnedList(SkinState& engine, HWND window);
