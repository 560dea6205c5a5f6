#include "skin/window/container_skin.h"

#include "runtime/allocation_failure.h"
#include "runtime/msimg32_api.h"
#include "skin/paint/paint_primitives.h"
#include "skin/window/panel_skin.h"
#include "skin/model/skin_state.h"

namespace {

// The classes whose own painting is composited over the skin background.
constexpr const char* kCompositedClasses[] = {"SysMonthCal32",      "SysTabControl32", "ToolbarWindow32",
                                              "msctls_statusbar32", "Button",          "msctls_trackbar32"};

LRESULT ForwardToPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kContainerProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

bool IsComposited(HWND window) {
    const Text cls = ClassNameOf(window);
    for (const char* name : kCompositedClasses) {
        if (cls == name) return true;
    }
    return false;
}

// The key colour is the skin background's own colour at the container's
// centre, with its lowest blue bit turned: where the container leaves its
// ground unpainted the background shows, and its anti-aliased text, blended
// into a colour close to the background, has no fringe of a foreign colour.
COLORREF KeyColourFor(HDC background, const RECT& client) {
    const COLORREF centre = ::GetPixel(background, client.right / 2, client.bottom / 2);
    return (centre == CLR_INVALID ? RGB(255, 0, 255) : centre) ^ 0x00010000;
}

void StoreKeyColour(SkinState& engine, HWND window, COLORREF key) {
    const int F = static_cast<int>(GetProperty(window, prop::kContainerFormIndex));
    const int C = static_cast<int>(GetProperty(window, prop::kContainerIndex));
    engine.WithForms([&](FormSkinList& forms) {
        if (F < 1 || F > static_cast<int>(forms.size())) return;
        auto& containers = forms[F - 1]->containers;
        if (C >= 1 && C <= static_cast<int>(containers.size()) && containers[C - 1].window == window) {
            containers[C - 1].value = static_cast<int>(key);
        }
    });
}

// The container as its own procedure paints it, over the composed background.
void PaintComposited(SkinState& engine, HWND window, HDC target) {
    RECT client{};
    ::GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    HDC background = ComposeControlBackground(engine, window, client);
    if (!background) return;
    const COLORREF key = KeyColourFor(background, client);
    StoreKeyColour(engine, window, key);
    {
        OffscreenDc own;
        if (own.Create(w, h)) {
            BrushHandle keyBrush(::CreateSolidBrush(key));
            ::FillRect(own.Dc(), &client, keyBrush.Get());
            ForwardToPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(own.Dc()), 0);
            pTransparentBlt(background, 0, 0, w, h, own.Dc(), 0, 0, w, h, key);
        }
    }
    ::BitBlt(target, 0, 0, w, h, background, 0, 0, SRCCOPY);
    ReleaseMemoryDc(engine, background);
}

LRESULT HandleContainerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    if (!engine || GetProperty(window, prop::kContainerFormIndex) < 1) {
        return ForwardToPrevious(window, message, wParam, lParam);
    }
    const SkinSettings settings = engine->WithSettings([](SkinSettings& s) {
        SkinSettings copy;
        copy.skinControls = s.skinControls;
        copy.controlBackAlphaSet = s.controlBackAlphaSet;
        return copy;
    });
    switch (message) {
    case WM_MOVE:
        if (settings.controlBackAlphaSet) ::InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_PAINT:
        if (settings.skinControls && IsComposited(window)) {
            PaintScope paint(window);
            PaintComposited(*engine, window, paint.Dc());
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (settings.skinControls && IsComposited(window)) {
            PaintComposited(*engine, window, reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (settings.controlBackAlphaSet) {
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ClassNameOf(window) == "RichEdit20A") ::InvalidateRect(window, nullptr, FALSE);
        break;
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

}  // namespace

int AttachContainer(SkinState& engine, int formIndex, HWND window) {
    if (formIndex < 1 || !::IsWindow(window)) return 0;
    const int index = engine.WithForms([&](FormSkinList& forms) {
        if (formIndex > static_cast<int>(forms.size())) return 0;
        auto& containers = forms[formIndex - 1]->containers;
        for (const ControlRecord& record : containers) {
            if (record.window == window) return 0;
        }
        return TakeRecordSlot(containers, window);
    });
    if (index == 0) return 0;
    // As a panel its children are skinned and find their background; the
    // panel procedure goes under the container procedure.
    AttachPanel(engine, window, 1, 0, 255, 0, 0);
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ContainerProc)));
    SetProperty(window, prop::kContainerProc, reinterpret_cast<LONG_PTR>(previous));
    SetProperty(window, prop::kContainerIndex, index);
    SetProperty(window, prop::kContainerFormIndex, formIndex);
    return index;
}

void AttachToolbars(SkinState& engine, int formIndex, HWND parent) {
    for (HWND child = ::FindWindowExA(parent, nullptr, "ToolbarWindow32", nullptr); child;
         child = ::FindWindowExA(parent, child, "ToolbarWindow32", nullptr)) {
        AttachContainer(engine, formIndex, child);
    }
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleContainerMessage(window, message, wParam, lParam); });
}
