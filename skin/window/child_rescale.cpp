#include "skin/window/child_rescale.h"

#include <algorithm>
#include <vector>

#include "skin/model/form_skin_data.h"
#include "skin/model/scaled_fonts.h"

namespace {

// Controls that place their own inner windows (a combo's edit and list, a
// list view's header): they are moved as a whole, their insides left to them.
bool LaysOutItsOwnChildren(HWND window) {
    // An IP-address control's fields are placed once, when it is made: they are scaled with it.
    static const char* const kClasses[] = {"ComboBox", "ComboBoxEx32",      "SysListView32",   "SysDateTimePick32",
                                           "ListBox",  "Edit",              "RichEdit20A",     "msctls_trackbar32",
                                           "msctls_updown32", "SysTreeView32"};
    const Text cls = ClassNameOf(window);
    for (const char* name : kClasses) {
        if (cls == name) return true;
    }
    return false;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        found.push_back(child);
        if (!LaysOutItsOwnChildren(child)) {
            const std::vector<HWND> inner = Descendants(child);
            found.insert(found.end(), inner.begin(), inner.end());
        }
    }
    return found;
}

}  // namespace

void RescaleChildWindows(HWND parent, int fromDpi, int toDpi, std::vector<ChildOrigin>* origins) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
    if (origins) {
        origins->erase(std::remove_if(origins->begin(), origins->end(),
                                      [](const ChildOrigin& o) { return !::IsWindow(o.window); }),
                       origins->end());
    }
    for (HWND child : Descendants(parent)) {
        if (!::IsWindow(child)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        int from = fromDpi;
        if (origins) {
            auto known = std::find_if(origins->begin(), origins->end(),
                                      [child](const ChildOrigin& o) { return o.window == child; });
            if (known == origins->end()) {
                origins->push_back(ChildOrigin{child, r, fromDpi});
            } else {
                r = known->place;
                from = known->dpi;
            }
        }
        const int left = ::MulDiv(r.left, toDpi, from), top = ::MulDiv(r.top, toDpi, from);
        const int right = ::MulDiv(r.right, toDpi, from), bottom = ::MulDiv(r.bottom, toDpi, from);
        ::SetWindowPos(child, nullptr, left, top, right - left, bottom - top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void RescaleChildFonts(HWND parent, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
    for (HWND child : Descendants(parent)) {
        if (!::IsWindow(child)) continue;
        // Sent even when the font stays: a control skin takes the message to
        // size the fonts it makes itself for the form's new scale.
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0));
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontAtDpi(font, fromDpi, toDpi)), FALSE);
    }
}
