// Shows a window skinned as the updater skins its main window, with labels,
// a progress bar and an edit box, and puts the mouse where asked, so that
// scripts/screenshot-skin.sh can take pictures of the faces:
//   skin_showcase.exe normal|close|minimise|pressed [SECONDS, default 4]
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "resources/embedded_images.h"
#include "runtime/gdiplus_session.h"
#include "skin/model/display_scale.h"
#include "skin/model/scaled_fonts.h"
#include "skin/skin_engine.h"

namespace {

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A child placed as the main form's table places it: 96-DPI edges scaled to the window's DPI.
void Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
    const DisplayScale scale(WindowDpi(parent));
    const RECT r = scale.Rect({x, y, x + w, y + h});
    HWND child = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HFONT font = FontAtDpi(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), SystemDpi(), scale.Dpi());
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (std::string(cls) == PROGRESS_CLASSA) ::SendMessageA(child, PBM_SETPOS, 40, 0);
}

void MouseTo(POINT p, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    ::SendInput(1, &in, sizeof in);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string phase = argc > 1 ? argv[1] : "normal";
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 4;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    StartGdiplus();
    SkinEngine engine(LoadProgramIcon());

    WNDCLASSA cls{};
    cls.lpfnWndProc = &PlainProcedure;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = "SkinShowcase";
    ::RegisterClassA(&cls);
    HWND window = ::CreateWindowExA(WS_EX_APPWINDOW, "SkinShowcase", "软件更新",
                                    WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 50, 50, 492, 293,
                                    nullptr, nullptr, cls.hInstance, nullptr);
    const DisplayScale scale(WindowDpi(window));
    ::SetWindowPos(window, nullptr, scale.Px(50), scale.Px(50), scale.Px(492), scale.Px(293), SWP_NOZORDER);
    Child(window, PROGRESS_CLASSA, "", 0, 38, 50, 418, 32);
    Child(window, "Static", "正在下载:", SS_NOPREFIX, 43, 89, 64, 15);
    Child(window, "Static", "下载地址:", SS_NOPREFIX, 43, 139, 64, 15);
    Child(window, "Static", "http://127.0.0.1/Norvane.exe", SS_NOPREFIX, 120, 138, 336, 12);
    Child(window, "Edit", "文件名称: Norvane.exe", ES_MULTILINE | ES_READONLY | WS_BORDER, 37, 158, 419, 79);

    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
    engine.SetOptions(1, 80);
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.resizable = 0;
    options.captionSheen = 1;
    options.backMode = 3;
    const int form = engine.AttachForm(window, options, background);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);

    if (phase != "normal" && form > 0) {
        const int button = phase == "minimise" ? 1 : 2;
        const ButtonRect& r = engine.Form(form)->captionButtons[button - 1].rect;
        POINT p{static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2)};
        ::ClientToScreen(window, &p);
        MouseTo(POINT{p.x - 60, p.y + 60}, 0);
        ::Sleep(50);
        MouseTo(p, 0);
        if (phase == "pressed") MouseTo(p, MOUSEEVENTF_LEFTDOWN);
    }
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < seconds * 1000 && ::IsWindow(window)) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (::IsWindow(window)) ::DestroyWindow(window);
    return 0;
}
