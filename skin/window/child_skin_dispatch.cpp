#include "skin/window/child_skin_dispatch.h"

#include "skin/controls/progress_skin.h"
#include "skin/controls/static_skin.h"
#include "skin/window/container_skin.h"

#if __has_include("skin/controls/button_skin.h")
#include "skin/controls/button_skin.h"
#define HAVE_BUTTON_SKIN 1
#endif
#if __has_include("skin/controls/edit_skin.h")
#include "skin/controls/edit_skin.h"
#define HAVE_EDIT_SKIN 1
#endif

namespace {

// The one order in which every parent hands its children to the skins.
void SkinChildrenInOrder(SkinEngine& engine, int formIndex, HWND parent) {
#ifdef HAVE_BUTTON_SKIN
    AttachButtonSkin(engine, formIndex, parent);
#endif
    // Check boxes and radio buttons: their skin comes later.
#ifdef HAVE_EDIT_SKIN
    AttachEditSkin(engine, formIndex, parent);
#endif
    // Track bars: their skin comes later.
    AttachProgressSkin(engine, formIndex, parent);
    // List boxes, list views and tree views: their skin comes later.
    // Up-down controls: their skin comes later.
    // List-view headers: their skin comes later.
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

// The button skin's owner-draw painter and the check box skin come later.
void PaintOwnerDrawnItem(SkinEngine&, int, const DRAWITEMSTRUCT&) {}

void RefreshCheckBox(SkinEngine&, int, HWND) {}
