// A skinned form moving to a monitor at another display scale.
#include <algorithm>
#include <vector>

#include "skin/model/scaled_fonts.h"
#include "skin/skin_engine.h"

namespace {

// Controls that place their own inner windows (a combo's edit and list, a
// list view's header): they are moved as a whole, their insides left to them.
bool LaysOutItsOwnChildren(HWND window) {
    const Text cls = ClassNameOf(window);
    return cls == "ComboBox" || cls == "ComboBoxEx32" || cls == "SysListView32" || cls == "SysDateTimePick32" ||
           cls == "SysIPAddress32" || cls == "ListBox" || cls == "Edit" || cls == "RichEdit20A" ||
           cls == "RICHEDIT50W";
}

void CollectChildren(HWND parent, std::vector<HWND>& into) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        into.push_back(child);
        if (!LaysOutItsOwnChildren(child)) CollectChildren(child, into);
    }
}

// Each edge of the child's place in its parent, scaled from one DPI to the
// other; its font remade for the new DPI.
void RescaleChild(HWND child, int from, int to) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    const int left = ::MulDiv(r.left, to, from), top = ::MulDiv(r.top, to, from);
    const int right = ::MulDiv(r.right, to, from), bottom = ::MulDiv(r.bottom, to, from);
    ::SetWindowPos(child, nullptr, left, top, right - left, bottom - top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0));
    HFONT scaled = FontAtDpi(font, from, to);
    if (scaled != font) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
}

}  // namespace

void SkinEngine::OnDpiChanged(int formIndex, int dpi, const RECT& suggested) {
    FormSkin* form = Form(formIndex);
    if (!form || dpi <= 0) return;
    HWND window = form->window;
    const int from = form->dpi;
    // Everything made at the old scale is dropped; the next paint lays the
    // caption, the buttons and the background out again.
    WithForms([&](FormSkinList&) {
        form->dpi = dpi;
        form->needsRedraw = 1;
        form->hoverFaces.clear();
        form->baseLayerKey = 0;
        form->dressedCaptionKey = 0;
        form->regionSize = SIZE{0, 0};
        form->titleFontCache.reset();
        form->titleFontCacheSize = 0;
        form->statusFontCache.reset();
        form->statusFontCacheSize = 0;
        form->ReleaseChildBrush(nullptr);
    });
    if (from != dpi) {
        std::vector<HWND> children;
        CollectChildren(window, children);
        for (HWND child : children) {
            if (::IsWindow(child)) RescaleChild(child, from, dpi);
        }
    }
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    formIndex = FormIndexOf(window);
    if (!Form(formIndex)) return;
    LayoutCaptionButtons(formIndex);
    LayoutStatusStrip(formIndex);
    LayoutDocked(formIndex);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
