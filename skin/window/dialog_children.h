// Where a skinned dialog hands its children to the control skins.
#pragma once

#include <windows.h>

class SkinEngine;

// The dialog's children, in this order: push buttons, check and radio boxes,
// edit and combo boxes, track bars, progress bars, list boxes, list and tree
// views, up-down controls, list-view headers (as a form's), then static
// labels and tool-bar containers.
void SkinDialogChildren(SkinEngine& engine, int formIndex, HWND dialog);
