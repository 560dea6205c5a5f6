// Up-down controls: a vertical one at the right of the edit box it counts
// in, a free vertical one and a horizontal one.
#include <windows.h>
#include <commctrl.h>

#include "tools/gallery/gallery_form.h"

namespace {

HWND UpDown(HWND form, const RECT& area, DWORD style, int x, int y, int w, int h) {
    HWND control = MakeGalleryControl(form, UPDOWN_CLASSA, "", style, area.left + x, area.top + y, w, h);
    ::SendMessageA(control, UDM_SETRANGE32, 0, 100);
    ::SendMessageA(control, UDM_SETPOS32, 0, 5);
    return control;
}

}  // namespace

void AddUpDownSection(HWND form, const RECT& area) {
    HWND edit = MakeGalleryControl(form, "Edit", "5", ES_NUMBER, area.left, area.top, 100, 24, WS_EX_CLIENTEDGE);
    HWND buddied = UpDown(form, area, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 100, 0, 18, 24);
    ::SendMessageA(buddied, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    UpDown(form, area, UDS_ARROWKEYS, 130, 0, 22, 48);
    UpDown(form, area, UDS_HORZ | UDS_ARROWKEYS, 0, 60, 48, 22);
}
