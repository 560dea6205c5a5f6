#include "skin/window/dialog_children.h"

#include "skin/window/child_skin_dispatch.h"

namespace {

constexpr char kToolbarClass[] = "ToolbarWindow32";

void AttachToolbars(SkinEngine& engine, int formIndex, HWND parent) {
    for (HWND child = ::FindWindowExA(parent, nullptr, kToolbarClass, nullptr); child;
         child = ::FindWindowExA(parent, child, kToolbarClass, nullptr)) {
        SubclassContainer(engine, formIndex, child);
    }
}

}  // namespace

void SkinDialogChildren(SkinEngine& engine, int formIndex, HWND dialog) {
    SkinFormChildren(engine, formIndex, dialog);
    // Static labels: the static label skin's AttachStaticSkin(engine,
    // formIndex, dialog) is called here once that skin is part of the engine.
    AttachToolbars(engine, formIndex, dialog);
}
