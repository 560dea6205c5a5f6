// Shows the control gallery: gallery.exe [SECONDS] [PAGE] (SECONDS default 5,
// 0 runs until the form is closed; PAGE 1 or 2, default 1).
#include <windows.h>

#include <cstdlib>

#include "app/main_form.h"
#include "runtime/gdiplus_session.h"
#include "skin/skin_engine.h"
#include "tools/gallery/gallery_form.h"

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? std::atol(argv[1]) : 5;
    const int page = argc > 2 ? std::atoi(argv[2]) - 1 : 0;
    if (seconds < 0 || page < 0 || page >= GalleryPageCount()) return 2;
    StartGdiplus();
    SkinEngine engine(LoadProgramIcon());
    HWND form = CreateGalleryForm(engine, page);
    if (!form) return 1;
    ::ShowWindow(form, SW_SHOWNORMAL);
    ::UpdateWindow(form);
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::IsWindow(form) && (seconds == 0 || ::GetTickCount() - start < static_cast<DWORD>(seconds) * 1000)) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (::IsWindow(form)) ::DestroyWindow(form);
    return 0;
}
