// Progress bars: horizontal part-way and full, an empty range, vertical ones.
#include <windows.h>
#include <commctrl.h>

#include "tools/gallery/gallery_form.h"

namespace {

HWND Bar(HWND form, const RECT& area, DWORD style, int x, int y, int w, int h, int low, int high, int position) {
    HWND bar = MakeGalleryControl(form, PROGRESS_CLASSA, "", style, area.left + x, area.top + y, w, h);
    ::SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return bar;
}

}  // namespace

void AddProgressSection(HWND form, const RECT& area) {
    Bar(form, area, 0, 0, 0, 180, 22, 0, 100, 60);
    Bar(form, area, 0, 0, 34, 180, 22, 0, 100, 100);
    Bar(form, area, 0, 0, 68, 180, 22, 0, 100, 0);
    Bar(form, area, PBS_VERTICAL, 200, 0, 22, 120, 0, 100, 50);
    Bar(form, area, PBS_VERTICAL, 228, 0, 22, 120, 0, 200, 150);
}
