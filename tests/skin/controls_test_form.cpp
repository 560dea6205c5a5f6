#include "tests/skin/controls_test_form.h"

#include <algorithm>
#include <cstdlib>

#include "gdip/gdip_object.h"
#include "resources/embedded_images.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace skintest {

namespace {

constexpr char kFormClass[] = "ControlsTestForm";

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam) {
        if (HIWORD(wParam) == BN_CLICKED) ++CommandsSeen().clicked;
        if (HIWORD(wParam) == BN_DOUBLECLICKED) ++CommandsSeen().doubleClicked;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void RegisterFormClass() {
    WNDCLASSA cls{};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), kFormClass, &cls)) return;
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = &FormProcedure;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = kFormClass;
    ::RegisterClassA(&cls);
}

int Channel(COLORREF c, int which) { return which == 0 ? GetRValue(c) : which == 1 ? GetGValue(c) : GetBValue(c); }

}  // namespace

ButtonCommands& CommandsSeen() {
    static ButtonCommands seen;
    return seen;
}

HWND MakeControlsForm(SkinEngine& engine, bool translucent, int left, int top) {
    RegisterFormClass();
    CommandsSeen() = ButtonCommands();
    HWND form = ::CreateWindowExA(WS_EX_APPWINDOW, kFormClass, "控件", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                  left, top, 600, 380, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    AddButtonSection(form, RECT{30, 130, 280, 370});
    AddEditSection(form, RECT{300, 120, 550, 370});
    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
    if (translucent) {
        engine.SetOptions(1, 80);
    } else {
        engine.SetOptions(1);
    }
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.resizable = 0;
    options.captionSheen = 1;
    options.backMode = 3;
    engine.AttachForm(form, options, background);
    FinishButtonSection(form);
    ::ShowWindow(form, SW_SHOWNORMAL);
    ::SetForegroundWindow(form);
    ::UpdateWindow(form);
    return form;
}

HWND Control(HWND form, int id) { return ::GetDlgItem(form, id); }

COLORREF WindowPixel(HWND window, int x, int y) {
    WindowDc dc(window, true);
    return ::GetPixel(dc.Get(), x, y);
}

bool Greenish(COLORREF c) { return GetGValue(c) > GetRValue(c) + 25 && GetGValue(c) > GetBValue(c) + 25; }

bool Cyanish(COLORREF c) { return GetBValue(c) > GetRValue(c) + 25 && GetGValue(c) > GetRValue(c) + 25; }

bool Neutral(COLORREF c, int tolerance) {
    int lo = 255, hi = 0;
    for (int i = 0; i < 3; ++i) {
        lo = std::min(lo, Channel(c, i));
        hi = std::max(hi, Channel(c, i));
    }
    return hi - lo <= tolerance;
}

std::vector<long> LiveCounters(SkinEngine& engine) {
    return {MemoryDc::Live(),
            BitmapHandle::Live(),
            BrushHandle::Live(),
            PenHandle::Live(),
            RegionHandle::Live(),
            FontHandle::Live(),
            GdipGraphicsHandle::Live(),
            GdipPathHandle::Live(),
            GdipBrushHandle::Live(),
            GdipPenHandle::Live(),
            GdipImageHandle::Live(),
            GdipFontHandle::Live(),
            GdipFontFamilyHandle::Live(),
            GdipStringFormatHandle::Live(),
            static_cast<long>(engine.WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }))};
}

}  // namespace skintest
