// Where a form, a dialog and a panel hand their child windows to the
// control skins.
#pragma once

#include <windows.h>

class SkinState;

// The form's children, in this order: push buttons, check and radio boxes,
// edit and combo boxes, track bars, progress bars, list boxes, list and tree
// views, up-down controls, list-view headers.
void SkinFormChildren(SkinState& engine, int formIndex, HWND form);
// The same order for a panel's children.
void SkinPanelChildren(SkinState& engine, int formIndex, HWND panel);
// A dialog's children: the form's order, then static labels (its tool bars
// are containers, attached by the dialog skin).
void SkinDialogChildren(SkinState& engine, int formIndex, HWND dialog);
// An owner-drawn item of the form (the button skin's owner-draw painter).
void PaintOwnerDrawnItem(SkinState& engine, int formIndex, const DRAWITEMSTRUCT& item);
// A command from a child that is not an edit, list or combo box (the check
// box skin repaints the box whose state changed).
void RefreshCheckBox(SkinState& engine, int formIndex, HWND child);
