// Shows the controls test form (the gallery's button and edit sections on a
// form skinned like the updater's main window) and puts the mouse or the
// focus where asked, so that scripts/screenshot-controls.sh can take pictures:
//   controls_showcase.exe normal|button|edit|combo|focus|updater [SECONDS, default 4]
// ("updater": the updater's own main window, skinned as the updater does,
// with the mouse over its information box).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "resources/embedded_images.h"
#include "runtime/gdiplus_session.h"
#include "skin/skin_engine.h"
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
    if (phase == "updater") {
        HWND window = LoadMainFormWithoutEvents(nullptr);
        ::SetWindowPos(window, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SetWindowTextA(WindowHandle(MainRef(kEdit1)),
                         "更新内容:\r\n1. 修正了下载中断后无法继续的问题\r\n2. 界面调整\r\n3. 提高了稳定性");
        const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
        engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
        engine.SetOptions(1, 80);
        SkinEngine::FormOptions options;
        options.captionHeight = 110;
        options.resizable = 0;
        options.captionSheen = 1;
        options.backMode = 3;
        engine.AttachForm(window, options, background);
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        MouseTo(POINT{900, 700});
        Serve(300);
        MouseTo(Centre(WindowHandle(MainRef(kEdit1))));
        Serve(seconds * 1000);
        if (::IsWindow(window)) ::DestroyWindow(window);
        return 0;
    }
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
