// Shows the control gallery: gallery.exe [SECONDS] [PAGE] [FOCUS] (SECONDS
// default 5, 0 runs until the form is closed; PAGE 1 or 2, default 1; FOCUS
// names the control given the keyboard focus: button, edit, combo on the
// first page, check, radio, track on the second).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "app/main_form.h"
#include "runtime/gdiplus_session.h"
#include "skin/skin_engine.h"
#include "tools/gallery/checks_section.h"
#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace {

HWND FocusTarget(HWND form, const char* name) {
    struct Named {
        const char* name;
        int id;
    };
    static const Named kById[] = {{"button", kGalleryPushButton}, {"edit", kGallerySingleLineEdit},
                                  {"combo", kGalleryDropDownCombo}, {"check", kGalleryCheckTall},
                                  {"radio", kGalleryRadioTwo}};
    for (const Named& named : kById) {
        if (std::strcmp(name, named.name) == 0) return ::GetDlgItem(form, named.id);
    }
    if (std::strcmp(name, "track") == 0) return ::FindWindowExA(form, nullptr, TRACKBAR_CLASSA, nullptr);
    return nullptr;
}

}  // namespace

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
    if (argc > 3) {
        HWND focus = FocusTarget(form, argv[3]);
        if (!focus) return 2;
        ::SetFocus(focus);
    }
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
