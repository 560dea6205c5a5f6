#include "app/form_loader.h"

#include <commctrl.h>

#include "runtime/allocation_failure.h"
#include "runtime/comctl32_api.h"
#include "runtime/window_ops.h"
#include "skin/model/display_scale.h"
#include "skin/model/scaled_fonts.h"

namespace {

constexpr char kFormClass[] = "UpdaterForm";
constexpr UINT_PTR kFirstControlId = 1000;
constexpr UINT kRunOnFormThreadMessage = WM_APP + 0x66;

LRESULT HandleFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kDestroyFormMessage:
            ::DestroyWindow(window);
            return 0;
        case kRunOnFormThreadMessage:
            reinterpret_cast<void (*)()>(wParam)();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleFormMessage(window, message, wParam, lParam); });
}

void RegisterFormClass(HICON icon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FormProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    ::RegisterClassExA(&windowClass);
}

struct ChildClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

ChildClass ClassFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::ProgressBar: return {PROGRESS_CLASSA, 0, 0};
        // Without prefix processing, so an address with "&" shows as it is.
        case ControlKind::Label: return {"Static", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::Edit: return {"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineEdit:
            return {"Edit", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Button: return {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::Timer: break;
    }
    return {nullptr, 0, 0};
}

// The form table gives positions and sizes at 96 DPI; each edge is scaled on
// its own, so that controls that meet at 96 DPI still meet.
void CreateControl(HWND form, int formId, const ControlDescription& control, UINT_PTR id, HFONT font,
                   const DisplayScale& scale) {
    if (control.kind == ControlKind::Timer) {
        // A zero interval never fires, so no system timer is started.
        if (control.timerInterval > 0) ::SetTimer(form, id, static_cast<UINT>(control.timerInterval), nullptr);
        return;
    }
    ChildClass childClass = ClassFor(control.kind);
    const RECT place = scale.Rect({control.left, control.top, control.left + control.width,
                                   control.top + control.height});
    HWND child = ::CreateWindowExA(childClass.exStyle, childClass.className, control.caption,
                                   WS_CHILD | WS_VISIBLE | childClass.style, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, form,
                                   reinterpret_cast<HMENU>(id), ::GetModuleHandleA(nullptr), nullptr);
    if (!child) return;
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind == ControlKind::ProgressBar) {
        ::SendMessageA(child, PBM_SETRANGE32, 0, 100);
        ::SendMessageA(child, PBM_SETPOS, 0, 0);
    }
    RegisterWindow({formId, control.unitId}, child);
}

}  // namespace

HWND LoadForm(const FormDescription& form, HICON icon) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    pInitCommonControlsEx(&controls);
    RegisterFormClass(icon);
    // A popup without system frame: the client area is the whole window, so
    // the skin can draw its caption inside it.
    HWND window = ::CreateWindowExA(WS_EX_APPWINDOW, kFormClass, form.title,
                                    WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                    form.left, form.top, form.width, form.height, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (!window) return nullptr;
    RegisterWindow({form.formId, 0}, window);
    // Laid out at the DPI of the monitor the window was made on.
    const DisplayScale scale(WindowDpi(window));
    if (!scale.IsBase()) {
        const RECT place = scale.Rect({form.left, form.top, form.left + form.width, form.top + form.height});
        ::SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The stock font is made for the system DPI; a monitor at another scale
    // gets it remade for its own.
    HFONT font = FontAtDpi(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), SystemDpi(), scale.Dpi());
    UINT_PTR id = kFirstControlId;
    for (const ControlDescription& control : form.controls) {
        CreateControl(window, form.formId, control, id++, font, scale);
    }
    if (form.onCreated) form.onCreated();
    if (::IsWindow(window)) {
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
    }
    return window;
}

bool PostToFormThread(HWND form, void (*call)()) {
    return ::PostMessageA(form, kRunOnFormThreadMessage, reinterpret_cast<WPARAM>(call), 0) != 0;
}

void RunFormLoop(HWND form) {
    MSG message;
    while (::IsWindow(form)) {
        BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}
