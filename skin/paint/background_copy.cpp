#include "skin/paint/background_copy.h"

void CopyBackgroundToWindow(const FormSkin& form, const RECT* part, HDC paintDc) {
    if (!form.backgroundDc || !::IsWindow(form.window)) return;
    // A paint DC of a window that clips its children already leaves them out.
    const bool clipsChildren = (::GetWindowLongPtrA(form.window, GWL_STYLE) & WS_CLIPCHILDREN) != 0;
    HDC dc = paintDc && clipsChildren ? paintDc
                                      : ::GetDCEx(form.window, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
    if (!dc) return;
    RECT r{};
    if (part) {
        r = *part;
    } else {
        ::GetClientRect(form.window, &r);
    }
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, form.backgroundDc.Get(), r.left, r.top, SRCCOPY);
    if (dc != paintDc) ::ReleaseDC(form.window, dc);
}
