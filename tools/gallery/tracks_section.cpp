// Track bars: horizontal ones with ticks below, above, on both sides and
// none, one showing a selection range, and a vertical one.
#include <windows.h>
#include <commctrl.h>

#include "tools/gallery/gallery_form.h"

namespace {

HWND Bar(HWND form, const RECT& area, DWORD style, int x, int y, int w, int h, int position) {
    HWND bar = MakeGalleryControl(form, TRACKBAR_CLASSA, "", style, area.left + x, area.top + y, w, h);
    ::SendMessageA(bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    ::SendMessageA(bar, TBM_SETTICFREQ, 10, 0);
    ::SendMessageA(bar, TBM_SETPOS, TRUE, position);
    return bar;
}

}  // namespace

void AddTrackSection(HWND form, const RECT& area) {
    Bar(form, area, TBS_AUTOTICKS, 0, 0, 190, 32, 30);
    Bar(form, area, TBS_AUTOTICKS | TBS_TOP, 0, 40, 190, 32, 50);
    Bar(form, area, TBS_AUTOTICKS | TBS_BOTH, 0, 80, 190, 40, 70);
    Bar(form, area, TBS_NOTICKS, 0, 128, 190, 26, 20);
    HWND selection = Bar(form, area, TBS_AUTOTICKS | TBS_ENABLESELRANGE, 0, 162, 190, 36, 50);
    ::SendMessageA(selection, TBM_SETSEL, TRUE, MAKELPARAM(25, 75));
    Bar(form, area, TBS_AUTOTICKS | TBS_VERT, 205, 0, 36, 200, 40);
}
