#include "skin/controls/up_down_skin.h"

#include <commctrl.h>

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "resources/embedded_images.h"
#include "runtime/allocation_failure.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr int kHotClassUpDown = 8;
constexpr int kFirstPart = 1;
constexpr int kSecondPart = 2;

struct UpDownState {
    HWND window = nullptr;
    bool horizontal = false;
    bool hovered = false;
    bool down = false;
    LPARAM position = 0;
};

bool ReadUpDownAt(SkinState& engine, int formIndex, int index, UpDownState& state) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
        const auto& records = forms[formIndex - 1]->upDowns;
        if (index < 1 || index > static_cast<int>(records.size())) return false;
        const ControlRecord& r = records[index - 1];
        state.window = r.window;
        state.horizontal = r.horizontal != 0;
        state.hovered = r.hovered != 0;
        state.down = r.mouseDown != 0;
        state.position = r.lastMousePosition;
        return state.window != nullptr;
    });
}

int PartAt(bool horizontal, int width, int height, LPARAM position) {
    const int x = static_cast<short>(LOWORD(position)), y = static_cast<short>(HIWORD(position));
    if (horizontal) return x < width / 2 ? kFirstPart : kSecondPart;
    return y < height / 2 ? kFirstPart : kSecondPart;
}

enum class Look { Normal, Hot, Pressed, Disabled };

struct Half {
    int x, y, w, h;
    EmbeddedImage arrow;
};

void PaintHalf(GdipGraphics& graphics, const Half& half, bool first, bool horizontal, Look look, COLORREF accent,
               const DisplayScale& scale) {
    const float x = static_cast<float>(half.x), y = static_cast<float>(half.y);
    const float w = static_cast<float>(half.w - 1), h = static_cast<float>(half.h - 1);
    if (w <= 0 || h <= 0) return;
    GdipPath figure;
    figure.CreatePath(0);
    AddRoundedRectangle(figure, x, y, w, h, scale.Px(3));
    const float d = OutlineInset(scale);
    GdipPath edge;
    edge.CreatePath(0);
    AddRoundedRectangle(edge, x + d, y + d, w - 2 * d, h - 2 * d, scale.Px(3));
    GdipSolidBrush ground;
    ground.CreateSolidFill(ToArgb(kWhite, 160, true));
    graphics.FillPath(ground, figure);

    Gdiplus::ARGB pen = ToArgb(kBlack, 100, true), from = 0, to = 0;
    switch (look) {
    case Look::Hot:
        pen = ToArgb(accent, 200, true);
        from = ToArgb(kWhite, 100, true);
        to = ToArgb(accent, 150, true);
        break;
    case Look::Pressed:
        from = ToArgb(accent, 100, true);
        to = ToArgb(kWhite, 150, true);
        break;
    case Look::Normal:
        from = ToArgb(kWhite, first ? 60 : 20, true);
        to = ToArgb(accent, 100, true);
        break;
    case Look::Disabled:
        // Grey where the accent would be, the arrow faded.
        pen = ToArgb(kBlack, 60, true);
        from = ToArgb(kWhite, 60, true);
        to = ToArgb(kGrey, 90, true);
        break;
    }
    // Along the half: downwards in a vertical control, rightwards in a horizontal one.
    GdipLinearBrush gradient;
    if (horizontal) {
        gradient.CreateLineBrush(x - 0.5f, 0, x + w + 0.5f, 0, from, to);
    } else {
        gradient.CreateLineBrush(0, y - 0.5f, 0, y + h + 0.5f, from, to);
    }
    graphics.FillPath(gradient, figure);

    GdipImage arrow;
    if (arrow.LoadImageFromStream(EmbeddedImageBytes(half.arrow))) {
        const int aw = scale.Px(arrow.GetImageWidth()), ah = scale.Px(arrow.GetImageHeight());
        UseSmoothImageScaling(graphics, scale);
        graphics.DrawImageRectI(arrow, half.x + (half.w - aw) / 2, half.y + (half.h - ah) / 2, aw, ah);
        if (look == Look::Disabled) {
            GdipSolidBrush fade;
            fade.CreateSolidFill(ToArgb(kWhite, 120, true));
            graphics.FillPath(fade, figure);
        }
    }
    GdipPen outline;
    outline.CreatePen1(pen, static_cast<float>(scale.Line(1)));
    graphics.DrawPath(outline, edge);
}

void OnMouseMove(SkinState& engine, HWND window, int formIndex, int index, LPARAM position) {
    TrackMouseLeave(window);
    const int part = UpDownHitPart(engine, formIndex, index, position);
    bool paintHot = false;
    WithControlRecord(engine, window, &FormSkin::upDowns, [&](FormSkin& form, ControlRecord& record) {
        form.hotControl = index;
        paintHot = part != record.hotPart || form.previousHotControl != index ||
                   form.hotControlClass != kHotClassUpDown;
        // The control invalidates itself when the arrow under the mouse
        // changes; that repaint takes the position from the record, so it
        // must be where the mouse is, not where it was last pressed.
        record.lastMousePosition = position;
    });
    if (paintHot) PaintUpDown(engine, formIndex, index, true, true, false, false, position, true);
    WithControlRecord(engine, window, &FormSkin::upDowns, [&](FormSkin& form, ControlRecord& record) {
        if (paintHot) {
            record.hovered = 1;
            form.previousHotControl = index;
            form.hotControlClass = kHotClassUpDown;
        }
        record.hotPart = part;
    });
}

void OnButton(SkinState& engine, HWND window, int down, LPARAM position) {
    WithControlRecord(engine, window, &FormSkin::upDowns, [&](FormSkin&, ControlRecord& record) {
        record.mouseDown = down;
        record.lastMousePosition = position;
    });
}

void OnMouseLeave(SkinState& engine, HWND window, int formIndex, int index) {
    WithControlRecord(engine, window, &FormSkin::upDowns, [](FormSkin& form, ControlRecord& record) {
        form.previousHotControl = 0;
        record.hovered = 0;
    });
    PaintUpDown(engine, formIndex, index, false, true, false, false, 0, false);
}

LRESULT HandleUpDownMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const bool known =
        engine && WithControlRecord(*engine, window, &FormSkin::upDowns, [](FormSkin&, ControlRecord&) {});
    if (!known) return ForwardToPrevious(window, message, wParam, lParam);
    const int form = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    switch (message) {
    case WM_MOVE: PaintUpDown(*engine, form, index, false, false, false, false, 0, false); break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            PaintUpDown(*engine, form, index, false, false, false, false, 0, false);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT:
        PaintUpDown(*engine, form, index, false, false, false, false, 0, false, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: return 1;
    case WM_MOUSEMOVE: OnMouseMove(*engine, window, form, index, lParam); break;
    case WM_LBUTTONDOWN: OnButton(*engine, window, 1, lParam); break;
    case WM_LBUTTONUP: OnButton(*engine, window, 0, lParam); break;
    case WM_MOUSELEAVE: OnMouseLeave(*engine, window, form, index); break;
    case WM_ENABLE: {
        // The control repaints its own arrows when enabled or disabled.
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        PaintUpDown(*engine, form, index, false, false, false, false, 0, false);
        return result;
    }
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

}  // namespace

void AttachUpDownSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!engine.WithSettings([](SkinSettings& s) { return s.skinControls; })) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, UPDOWN_CLASSA, nullptr); child;
         child = ::FindWindowExA(parent, child, UPDOWN_CLASSA, nullptr)) {
        const bool horizontal = (::GetWindowLongPtrA(child, GWL_STYLE) & UDS_HORZ) != 0;
        const int index = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            auto& records = forms[formIndex - 1]->upDowns;
            // Installed once, found by its record: a control subclassed again
            // would have the skin as its own previous procedure, or undo
            // whatever subclassed it after the skin.
            if (HasRecordOf(records, child)) return -1;
            const int i = TakeRecordSlot(records, child);
            records[i - 1].horizontal = horizontal ? 1 : 0;
            return i;
        });
        if (index < 0) continue;
        if (index == 0) return;
        SetProperty(child, prop::kIndex, index);
        SetProperty(child, prop::kFormIndex, formIndex);
        WNDPROC previous = SubclassWindow(child, &UpDownSkinProc);
        WithControlRecord(engine, child, &FormSkin::upDowns,
                          [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
        // The control painted its own arrows before it was skinned.
        ::InvalidateRect(child, nullptr, TRUE);
    }
}

int UpDownHitPart(SkinState& engine, int formIndex, int index, LPARAM position) {
    UpDownState state;
    if (!ReadUpDownAt(engine, formIndex, index, state)) return 0;
    const RECT bounds = WindowBounds(state.window);
    return PartAt(state.horizontal, bounds.right, bounds.bottom, position);
}

void PaintUpDown(SkinState& engine, int formIndex, int index, bool hovered, bool useHovered, bool down, bool useDown,
                 LPARAM position, bool usePosition, HDC target) {
    UpDownState state;
    if (!ReadUpDownAt(engine, formIndex, index, state)) return;
    if (!useHovered) hovered = state.hovered;
    if (!useDown) down = state.down;
    if (!usePosition) position = state.position;
    HWND control = state.window;
    const RECT bounds = WindowBounds(control);
    const int W = bounds.right, H = bounds.bottom;
    if (W <= 0 || H <= 0) return;
    const COLORREF accent = engine.WithSettings([](SkinSettings& s) { return s.accentColour; });
    const DisplayScale scale = ScaleOfWindow(engine, control);
    const bool enabled = ::IsWindowEnabled(control) != FALSE;
    const int litPart = hovered && enabled ? PartAt(state.horizontal, W, H, position) : 0;
    const Look litLook = down ? Look::Pressed : Look::Hot;
    Half halves[2];
    if (state.horizontal) {
        halves[0] = Half{0, 0, W / 2, H, EmbeddedImage::ArrowLeft};
        halves[1] = Half{W / 2, 0, W - W / 2, H, EmbeddedImage::ArrowRight};
    } else {
        halves[0] = Half{0, 0, W, H / 2, EmbeddedImage::ArrowUp};
        halves[1] = Half{0, H / 2, W, H - H / 2, EmbeddedImage::ArrowDown};
    }

    HDC memory = ComposeControlBackground(engine, control, bounds);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetCompositingQuality(Gdiplus::CompositingQualityHighQuality);
        for (int part = kFirstPart; part <= kSecondPart; ++part) {
            const Look look = !enabled ? Look::Disabled : part == litPart ? litLook : Look::Normal;
            PaintHalf(graphics, halves[part - 1], part == kFirstPart, state.horizontal, look, accent, scale);
        }
    }
    if (target) {
        ::BitBlt(target, 0, 0, W, H, memory, 0, 0, SRCCOPY);
    } else {
        WindowDc dc(control, true);
        ::BitBlt(dc.Get(), 0, 0, W, H, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

LRESULT CALLBACK UpDownSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleUpDownMessage(window, message, wParam, lParam); });
}
