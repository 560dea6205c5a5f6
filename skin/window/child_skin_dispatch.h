// Where a form, a panel and a container hand their child windows to the
// control skins. The control skins come later: today these skin nothing, so
// the children keep the system look over the skinned background.
#pragma once

#include <windows.h>

class SkinEngine;

// The form's children, in this order: push buttons, check and radio boxes,
// edit and combo boxes, track bars, progress bars, list boxes, list and tree
// views, up-down controls, list-view headers.
void SkinFormChildren(SkinEngine& engine, int formIndex, HWND form);
// The children of a panel of the form.
void SkinPanelChildren(SkinEngine& engine, int formIndex, HWND panel);
// Installs the container procedure on a window of another class.
void SubclassContainer(SkinEngine& engine, int formIndex, HWND container);
// An owner-drawn item of the form (the button skin's owner-draw painter).
void PaintOwnerDrawnItem(SkinEngine& engine, int formIndex, const DRAWITEMSTRUCT& item);
// A command from a child that is not an edit, list or combo box (the check
// box skin repaints the box whose state changed).
void RefreshCheckBox(SkinEngine& engine, int formIndex, HWND child);
