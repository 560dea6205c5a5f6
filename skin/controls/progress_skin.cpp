#include "skin/controls/progress_skin.h"

#include <commctrl.h>

#include <algorithm>

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "runtime/allocation_failure.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"
#include "skin/model/display_scale.h"
#include "skin/model/skin_state.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kBarRadius = 3;

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

struct ProgressState {
    HWND window = nullptr;
    bool vertical = false;
};

ProgressState RecordAt(SkinState& engine, int formIndex, int index) {
    return engine.WithForms([&](FormSkinList& forms) {
        ProgressState state;
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return state;
        const auto& records = forms[formIndex - 1]->progressBars;
        if (index < 1 || index > static_cast<int>(records.size())) return state;
        state.window = records[index - 1].window;
        state.vertical = records[index - 1].kind != 0;
        return state;
    });
}

// A gradient across the thickness of the figure: downwards for a horizontal
// bar, rightwards for a vertical one.
void FillAcross(GdipGraphics& graphics, const GdipPath& path, bool vertical, int w, int h, Gdiplus::ARGB from,
                Gdiplus::ARGB to) {
    GdipLinearBrush brush;
    if (vertical) {
        brush.CreateLineBrush(0, 0, static_cast<float>(w - 1), 0, from, to);
    } else {
        brush.CreateLineBrush(0, 0, 0, static_cast<float>(h - 1), from, to);
    }
    graphics.FillPath(brush, path);
}

LRESULT HandleProgressMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    if (!engine || index < 1 || F < 1) return Forward(window, message, wParam, lParam);
    switch (message) {
    case WM_MOVE: PaintProgress(*engine, F, index); break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            PaintProgress(*engine, F, index);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT: PaintProgress(*engine, F, index, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: PaintProgress(*engine, F, index); return 1;
    default: break;
    }
    return Forward(window, message, wParam, lParam);
}

}  // namespace

void AttachProgressSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!engine.WithSettings([](SkinSettings& s) { return s.skinControls; })) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, PROGRESS_CLASSA, nullptr); child;
         child = ::FindWindowExA(parent, child, PROGRESS_CLASSA, nullptr)) {
        const bool vertical = (::GetWindowLongPtrA(child, GWL_STYLE) & PBS_VERTICAL) != 0;
        const int index = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            auto& records = forms[formIndex - 1]->progressBars;
            // A bar skinned already keeps its one record: subclassing it again
            // would make the skin its own previous procedure.
            for (const ControlRecord& r : records) {
                if (r.window == child) return -1;
            }
            const int i = TakeRecordSlot(records, child);
            records[i - 1].kind = vertical ? 1 : 0;
            return i;
        });
        if (index == 0) return;
        if (index < 0) continue;
        SetProperty(child, prop::kIndex, index);
        SetProperty(child, prop::kFormIndex, formIndex);
        SubclassWindow(child, &ProgressSkinProc);
    }
}

void PaintProgress(SkinState& engine, int formIndex, int index, HDC target) {
    const ProgressState state = RecordAt(engine, formIndex, index);
    HWND window = state.window;
    if (!window) return;
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    const COLORREF accent = engine.WithSettings([](SkinSettings& s) { return s.accentColour; });
    const DisplayScale scale = ScaleOfWindow(engine, window);
    const int position = static_cast<int>(::SendMessageA(window, PBM_GETPOS, 0, 0));
    PBRANGE range{};
    ::SendMessageA(window, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));

    HDC memory = ComposeControlBackground(engine, window, RECT{0, 0, w, h});
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);

        GdipPath outline;
        outline.CreatePath(0);
        const float d = OutlineInset(scale);
        AddRoundedRectangle(outline, d, d, w - 1 - 2 * d, h - 1 - 2 * d, scale.Px(5));
        GdipPen outlinePen;
        outlinePen.CreatePen1(ToArgb(kBlack, 50, true), static_cast<float>(scale.Line(1)));
        graphics.DrawPath(outlinePen, outline);

        GdipPath face;
        face.CreatePath(0);
        AddRoundedRectangle(face, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), scale.Px(1));
        FillAcross(graphics, face, state.vertical, w, h, ToArgb(kWhite, 160, true), ToArgb(kBlack, 30, true));

        if (range.iHigh != range.iLow) {
            const double share = static_cast<double>(position - range.iLow) / (range.iHigh - range.iLow);
            float x = 0, y = 0, bw = static_cast<float>(w), bh = static_cast<float>(h);
            double length = 0;
            if (state.vertical) {
                length = h * share;
                y = static_cast<float>(h - length);
                bh = static_cast<float>(length);
            } else {
                length = w * share;
                bw = static_cast<float>(length);
            }
            // The bar lies 1 px (at 96 DPI) inside its length and is 3 px
            // shorter; until that leaves some pixel, its corner arcs would
            // stick out of it.
            const float one = scale.Pf(1), three = scale.Pf(3);
            const float inner = std::min(bw, bh) - three;
            if (length > 0 && inner >= 1) {
                GdipPath bar;
                bar.CreatePath(0);
                AddRoundedRectangle(bar, x + one, y + one, bw - three, bh - three,
                                    std::min(scale.Px(kBarRadius), static_cast<int>(inner)));
                FillAcross(graphics, bar, state.vertical, w, h, ToArgb(kWhite, 90, true), ToArgb(accent, 255, true));
                GdipPen barPen;
                barPen.CreatePen1(ToArgb(accent, 150, true), 1.0f);
                graphics.DrawPath(barPen, bar);
            }
        }
    }
    if (target) {
        ::BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    } else {
        WindowDc dc(window, true);
        ::BitBlt(dc.Get(), 0, 0, w, h, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

LRESULT CALLBACK ProgressSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleProgressMessage(window, message, wParam, lParam); });
}
