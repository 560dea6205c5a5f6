#include "skin/window/child_skin_dispatch.h"

#include "skin/controls/button_skin.h"
#include "skin/controls/edit_skin.h"

void SkinFormChildren(SkinEngine& engine, int formIndex, HWND form) {
    AttachButtonSkin(engine, formIndex, form);
    AttachEditSkin(engine, formIndex, form);
}

void SkinPanelChildren(SkinEngine&, int, HWND) {}

void SubclassContainer(SkinEngine&, int, HWND) {}

void PaintOwnerDrawnItem(SkinEngine& engine, int, const DRAWITEMSTRUCT& item) { PaintOwnerDrawnButton(engine, item); }

void RefreshCheckBox(SkinEngine&, int, HWND) {}
