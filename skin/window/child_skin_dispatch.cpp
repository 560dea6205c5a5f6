#include "skin/window/child_skin_dispatch.h"

#include "skin/controls/button_skin.h"
#include "skin/controls/check_radio_skin.h"
#include "skin/controls/combo_skin.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/header_skin.h"
#include "skin/controls/list_skin.h"
#include "skin/controls/progress_skin.h"
#include "skin/controls/static_skin.h"
#include "skin/controls/track_bar_skin.h"
#include "skin/controls/up_down_skin.h"

namespace {

// The one order in which every parent hands its children to the skins.
void SkinChildrenInOrder(SkinState& engine, int formIndex, HWND parent) {
    AttachButtonSkin(engine, formIndex, parent);
    AttachCheckRadioSkin(engine, formIndex, parent);
    AttachEditSkin(engine, formIndex, parent);
    AttachTrackBarSkin(engine, formIndex, parent);
    AttachProgressSkin(engine, formIndex, parent);
    AttachListSkin(engine, formIndex, parent);
    AttachUpDownSkin(engine, formIndex, parent);
    AttachHeaderSkin(engine, formIndex, parent);
}

}  // namespace

void SkinFormChildren(SkinState& engine, int formIndex, HWND form) { SkinChildrenInOrder(engine, formIndex, form); }

void SkinPanelChildren(SkinState& engine, int formIndex, HWND panel) {
    SkinChildrenInOrder(engine, formIndex, panel);
}

void SkinDialogChildren(SkinState& engine, int formIndex, HWND dialog) {
    SkinChildrenInOrder(engine, formIndex, dialog);
    AttachStaticSkin(engine, formIndex, dialog);
}

void PaintOwnerDrawnItem(SkinState& engine, int, const DRAWITEMSTRUCT& item) { PaintOwnerDrawnButton(engine, item); }

void RefreshCheckBox(SkinState& engine, int, HWND child) { RefreshCheckRadio(engine, child); }
