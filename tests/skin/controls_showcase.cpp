// Shows the controls test form (the gallery's button and edit sections on a
// form skinned like the updater's main window) and puts the mouse or the
// focus where asked, so that scripts/screenshot-controls.sh can take pictures:
//   controls_showcase.exe normal|button|edit|combo|focus [SECONDS, default 4]
#include <windows.h>

#include <cstdlib>
#include <string>

#include "runtime/gdiplus_session.h"
#include "skin/window/skin_engine.h"
#include "tests/skin/controls_test_form.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace {

void MouseTo(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &in, sizeof in);
}

POINT Centre(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Serve(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string phase = argc > 1 ? argv[1] : "normal";
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 4;
    StartGdiplus();
    SkinEngine engine;
    HWND form = skintest::MakeControlsForm(engine, true, 40, 40);
    MouseTo(POINT{900, 700});
    Serve(200);
    if (phase == "button") {
        MouseTo(Centre(skintest::Control(form, kGalleryDefaultButton)));
    } else if (phase == "edit") {
        MouseTo(Centre(skintest::Control(form, kGallerySingleLineEdit)));
    } else if (phase == "combo") {
        MouseTo(Centre(skintest::Control(form, kGalleryDropDownListCombo)));
    } else if (phase == "focus") {
        HWND button = skintest::Control(form, kGalleryPushButton);
        ::SetFocus(button);
        MouseTo(Centre(button));
        Serve(200);
        MouseTo(POINT{900, 700});
    }
    Serve(seconds * 1000);
    if (::IsWindow(form)) ::DestroyWindow(form);
    return 0;
}
