// A skinned form moving to a monitor at another display scale.
#include "skin/skin_engine.h"
#include "skin/window/child_rescale.h"

void SkinEngine::OnDpiChanged(int formIndex, int dpi, const RECT& suggested) {
    FormSkin* form = Form(formIndex);
    if (!form || dpi <= 0) return;
    HWND window = form->window;
    const int from = form->dpi;
    // The layers, faces and fonts a rebuild reuses are keyed by DPI; what is
    // not (the region, cut for a size, and the children's brushes, cut from
    // the background) is dropped here.
    WithForms([&](FormSkinList&) {
        form->dpi = dpi;
        form->needsRedraw = 1;
        form->regionSize = SIZE{0, 0};
        form->ReleaseChildBrush(nullptr);
    });
    RescaleChildWindows(window, from, dpi, &form->childOrigins);
    RescaleChildFonts(window, from, dpi);
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    formIndex = FormIndexOf(window);
    if (!Form(formIndex)) return;
    LayoutCaptionButtons(formIndex);
    LayoutStatusStrip(formIndex);
    LayoutDocked(formIndex);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
