#include "skin/window/child_skin_dispatch.h"

void SkinFormChildren(SkinEngine&, int, HWND) {}

void SkinPanelChildren(SkinEngine&, int, HWND) {}

void SubclassContainer(SkinEngine&, int, HWND) {}

void PaintOwnerDrawnItem(SkinEngine&, int, const DRAWITEMSTRUCT&) {}

void RefreshCheckBox(SkinEngine&, int, HWND) {}
