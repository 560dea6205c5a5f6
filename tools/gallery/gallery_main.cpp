// Shows the control gallery: gallery.exe [SECONDS] (default 5; 0 runs until
// the form is closed).
#include <windows.h>

#include <cstdlib>

#include "app/main_form.h"
#include "runtime/gdiplus_session.h"
#include "skin/window/skin_engine.h"
#include "tools/gallery/gallery_form.h"

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? std::atol(argv[1]) : 5;
    if (seconds < 0) return 2;
    StartGdiplus();
    SkinEngine engine(LoadProgramIcon());
    HWND form = CreateGalleryForm(engine);
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
