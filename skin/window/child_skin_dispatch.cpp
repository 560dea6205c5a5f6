#include "skin/window/child_skin_dispatch.h"

#include "skin/controls/button_skin.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/header_skin.h"
#include "skin/controls/list_skin.h"
#include "skin/controls/progress_skin.h"
#include "skin/controls/static_skin.h"
#include "skin/window/container_skin.h"

namespace {

// The one order in which every parent hands its children to the skins.
void SkinChildrenInOrder(SkinEngine& engine, int formIndex, HWND parent) {
    AttachButtonSkin(engine, formIndex, parent);
    // Check boxes and radio buttons: their skin comes later.
    AttachEditSkin(engine, formIndex, parent);
    // Track bars: their skin comes later.
    AttachProgressSkin(engine, formIndex, parent);
    AttachListSkin(engine, formIndex, parent);
    // Up-down controls: their skin comes later.
    AttachHeaderSkin(engine, formIndex, parent);
}

}  // namespace

void SkinFormChildren(SkinEngine& engine, int formIndex, HWND form) { SkinChildrenInOrder(engine, formIndex, form); }

void SkinPanelChildren(SkinEngine& engine, int formIndex, HWND panel) {
    SkinChildrenInOrder(engine, formIndex, panel);
}

void SkinDialogChildren(SkinEngine& engine, int formIndex, HWND dialog) {
    SkinChildrenInOrder(engine, formIndex, dialog);
    AttachStaticSkin(engine, formIndex, dialog);
    AttachToolbars(engine, formIndex, dialog);
}

void SubclassContainer(SkinEngine& engine, int formIndex, HWND container) {
    AttachContainer(engine, formIndex, container);
}

void PaintOwnerDrawnItem(SkinEngine& engine, int, const DRAWITEMSTRUCT& item) { PaintOwnerDrawnButton(engine, item); }

// The check box skin comes later.
void RefreshCheckBox(SkinEngine&, int, HWND) {}
