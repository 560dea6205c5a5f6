#include "skin/controls/track_bar_skin.h"

#include <commctrl.h>

#include <utility>

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "runtime/allocation_failure.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// A disabled bar's knob: flat grey instead of the white, shaded one.
constexpr COLORREF kDisabledKnob = RGB(150, 150, 150);
constexpr int kHotClassTrackBar = 2;
constexpr int kDotSize = 4;
constexpr int kKnobSize = 11;
// The hover rectangle reaches this far beyond the knob on each side along the channel.
constexpr int kHoverMargin = 5;

enum TickPlacement : int { kTicksTopLeft = 0, kTicksBottomRight = 1, kTicksBoth = 2, kTicksNone = 3 };

struct TrackBarState {
    HWND window = nullptr;
    bool vertical = false;
    int tickPlacement = kTicksBottomRight;
    bool selectionRange = false;
    bool hovered = false;
    bool focused = false;
};

bool ReadTrackBarAt(SkinState& engine, int formIndex, int index, TrackBarState& state) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
        const auto& records = forms[formIndex - 1]->trackBars;
        if (index < 1 || index > static_cast<int>(records.size())) return false;
        const ControlRecord& r = records[index - 1];
        state.window = r.window;
        state.vertical = r.vertical != 0;
        state.tickPlacement = r.tickPlacement;
        state.selectionRange = r.selectionRange != 0;
        state.hovered = r.hovered != 0;
        state.focused = r.focused != 0;
        return state.window != nullptr;
    });
}

int TickPlacementOf(LONG_PTR style) {
    if (style & TBS_NOTICKS) return kTicksNone;
    if (style & TBS_TOP) return kTicksTopLeft;
    if (style & TBS_BOTH) return kTicksBoth;
    return kTicksBottomRight;
}

// Where the client area starts inside the window (a bordered bar).
POINT ClientOrigin(HWND window) {
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    return POINT{origin.x - bounds.left, origin.y - bounds.top};
}

// A gradient across the thickness of the box: downwards for a horizontal
// bar, rightwards for a vertical one.
void FillAcross(GdipGraphics& graphics, const GdipPath& path, bool vertical, float x, float y, float w, float h,
                Gdiplus::ARGB from, Gdiplus::ARGB to) {
    GdipLinearBrush brush;
    if (vertical) {
        brush.CreateLineBrush(x - 0.5f, 0, x + w + 0.5f, 0, from, to);
    } else {
        brush.CreateLineBrush(0, y - 0.5f, 0, y + h + 0.5f, from, to);
    }
    graphics.FillPath(brush, path);
}

void PaintPlate(GdipGraphics& graphics, bool vertical, int w, int h, const DisplayScale& scale) {
    GdipPath outline;
    outline.CreatePath(0);
    const float d = OutlineInset(scale);
    AddRoundedRectangle(outline, d, d, w - 1 - 2 * d, h - 1 - 2 * d, scale.Px(5));
    GdipPen pen;
    pen.CreatePen1(ToArgb(kBlack, 30, true), static_cast<float>(scale.Line(1)));
    graphics.DrawPath(pen, outline);

    GdipPath face;
    face.CreatePath(0);
    AddRoundedRectangle(face, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), scale.Px(3));
    FillAcross(graphics, face, vertical, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2),
               ToArgb(kWhite, 160, true), ToArgb(kBlack, 30, true));
}

void PaintChannel(GdipGraphics& graphics, bool vertical, const RECT& c, bool enabled, const DisplayScale& scale) {
    const float x = static_cast<float>(c.left), y = static_cast<float>(c.top);
    const float w = static_cast<float>(c.right - c.left), h = static_cast<float>(c.bottom - c.top);
    if (w <= 0 || h <= 0) return;
    GdipPath channel;
    channel.CreatePath(0);
    AddRoundedRectangle(channel, x, y, w, h, scale.Px(1));
    if (enabled) {
        FillAcross(graphics, channel, vertical, x, y, w, h, ToArgb(kBlack, 50, true), ToArgb(kBlack, 30, true));
    } else {
        FillAcross(graphics, channel, vertical, x, y, w, h, ToArgb(kBlack, 25, true), ToArgb(kBlack, 15, true));
    }
}

void PaintKnob(GdipGraphics& graphics, bool vertical, POINT centre, int size, bool enabled, float line) {
    const float x = static_cast<float>(centre.x - size / 2), y = static_cast<float>(centre.y - size / 2);
    const float s = static_cast<float>(size);
    if (!enabled) {
        GdipSolidBrush grey;
        grey.CreateSolidFill(ToArgb(kDisabledKnob, 255, true));
        graphics.FillEllipse(grey, x, y, s, s);
        GdipPen pen;
        pen.CreatePen1(ToArgb(kBlack, 40, true), line);
        graphics.DrawEllipse(pen, x, y, s, s);
        return;
    }
    GdipSolidBrush white;
    white.CreateSolidFill(ToArgb(kWhite, 255, true));
    graphics.FillEllipse(white, x, y, s, s);
    GdipPath knob;
    knob.CreatePath(0);
    knob.AddPathEllipse(x, y, s, s);
    FillAcross(graphics, knob, vertical, x, y, s, s, ToArgb(kWhite, 0, true), ToArgb(kBlack, 90, true));
    GdipPen pen;
    pen.CreatePen1(ToArgb(kBlack, 50, true), line);
    graphics.DrawEllipse(pen, x, y, s, s);
}

void PaintSelection(GdipGraphics& graphics, HWND bar, const TrackBarLayout& layout, bool vertical) {
    const LONG start = static_cast<LONG>(::SendMessageA(bar, TBM_GETSELSTART, 0, 0));
    const LONG end = static_cast<LONG>(::SendMessageA(bar, TBM_GETSELEND, 0, 0));
    if (end <= start) return;  // no selection: nothing to outline
    const int from = TrackBarPositionPixel(bar, layout, vertical, start);
    const int to = TrackBarPositionPixel(bar, layout, vertical, end);
    const RECT& c = layout.channel;
    GdipPen pen;
    pen.CreatePen1(ToArgb(kWhite, 160, true), 1.0f);
    if (vertical) {
        graphics.DrawRectangleI(pen, c.left, from, c.right - c.left - 1, to - from);
    } else {
        graphics.DrawRectangleI(pen, from, c.top, to - from, c.bottom - c.top - 1);
    }
}

void PaintHoverFrame(GdipGraphics& graphics, bool vertical, POINT centre, COLORREF accent, const DisplayScale& scale) {
    const int knob = scale.Px(kKnobSize), margin = scale.Px(kHoverMargin);
    const int left = centre.x - knob / 2, top = centre.y - knob / 2;
    GdipPen pen;
    pen.CreatePen1(ToArgb(accent, 200, true), static_cast<float>(scale.Line(1)));
    if (vertical) {
        graphics.DrawRectangleI(pen, left, top - margin, knob, knob + 2 * margin);
    } else {
        graphics.DrawRectangleI(pen, left - margin, top, knob + 2 * margin, knob);
    }
}

void OnMouseMove(SkinState& engine, HWND window, int formIndex, int index) {
    TrackMouseLeave(window);
    bool paintHot = false;
    WithControlRecord(engine, window, &FormSkin::trackBars, [&](FormSkin& form, ControlRecord& record) {
        form.hotControl = index;
        paintHot = form.previousHotControl != index || form.hotControlClass != kHotClassTrackBar;
        if (paintHot) record.hovered = 1;
    });
    if (!paintHot) return;
    PaintTrackBar(engine, formIndex, index);
    WithControlRecord(engine, window, &FormSkin::trackBars, [&](FormSkin& form, ControlRecord&) {
        form.previousHotControl = index;
        form.hotControlClass = kHotClassTrackBar;
    });
}

void OnFocus(SkinState& engine, HWND window, int formIndex, int index, bool focused) {
    WithControlRecord(engine, window, &FormSkin::trackBars,
                      [&](FormSkin&, ControlRecord& record) { record.focused = focused ? 1 : 0; });
    PaintTrackBar(engine, formIndex, index);
}

void OnMouseLeave(SkinState& engine, HWND window, int formIndex, int index) {
    WithControlRecord(engine, window, &FormSkin::trackBars, [](FormSkin& form, ControlRecord& record) {
        form.previousHotControl = 0;
        record.hovered = 0;
    });
    PaintTrackBar(engine, formIndex, index);
}

LRESULT HandleTrackBarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const bool known =
        engine && WithControlRecord(*engine, window, &FormSkin::trackBars, [](FormSkin&, ControlRecord&) {});
    if (!known) return ForwardToPrevious(window, message, wParam, lParam);
    const int form = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    switch (message) {
    case WM_MOVE: PaintTrackBar(*engine, form, index); break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            PaintTrackBar(*engine, form, index);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT: PaintTrackBar(*engine, form, index, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT: PaintTrackBar(*engine, form, index); return 1;
    case WM_MOUSEMOVE: OnMouseMove(*engine, window, form, index); break;
    case WM_MOUSELEAVE: OnMouseLeave(*engine, window, form, index); break;
    // The bar draws (or hides) its own focus rectangle on these; the skin's
    // look is painted over it afterwards.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: {
        if (message == WM_UPDATEUISTATE) FollowUiState(window, wParam);
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            OnFocus(*engine, window, form, index, message == WM_SETFOCUS);
        } else {
            PaintTrackBar(*engine, form, index);
        }
        return result;
    }
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

}  // namespace

TrackBarLayout LayoutTrackBar(HWND bar, bool vertical, int tickPlacement, const DisplayScale& scale) {
    const POINT origin = ClientOrigin(bar);
    TrackBarLayout layout;
    RECT c{};
    ::SendMessageA(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    // Some versions of the control report a vertical bar's channel in
    // horizontal orientation; turn it when it lies across the bar.
    if (vertical && c.right - c.left > c.bottom - c.top) c = RECT{c.top, c.left, c.bottom, c.right};
    ::OffsetRect(&c, origin.x, origin.y);
    layout.channel = c;

    RECT t{};
    ::SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
    ::OffsetRect(&t, origin.x, origin.y);
    layout.thumbLength = vertical ? t.bottom - t.top : t.right - t.left;
    // Toward the tick side: two pixels with ticks above (left), one with ticks on both sides.
    const int shift = scale.Px(tickPlacement == kTicksTopLeft ? 2 : tickPlacement == kTicksBoth ? 1 : 0);
    layout.knobCentre = POINT{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    // The channel keeps the control's length and thickness but runs through
    // the knob's centre line, so the knob always sits on it.
    if (vertical) {
        layout.knobCentre.x -= shift;
        const int thickness = c.right - c.left;
        layout.channel.left = layout.knobCentre.x - thickness / 2;
        layout.channel.right = layout.channel.left + thickness;
    } else {
        layout.knobCentre.y -= shift;
        const int thickness = c.bottom - c.top;
        layout.channel.top = layout.knobCentre.y - thickness / 2;
        layout.channel.bottom = layout.channel.top + thickness;
    }
    return layout;
}

int TrackBarPositionPixel(HWND bar, const TrackBarLayout& layout, bool vertical, LONG position) {
    const LONG low = static_cast<LONG>(::SendMessageA(bar, TBM_GETRANGEMIN, 0, 0));
    const LONG high = static_cast<LONG>(::SendMessageA(bar, TBM_GETRANGEMAX, 0, 0));
    const int start = vertical ? layout.channel.top : layout.channel.left;
    const int length = (vertical ? layout.channel.bottom - layout.channel.top : layout.channel.right - layout.channel.left);
    // The thumb's centre travels the channel less half a thumb at each end.
    const int travel = length - layout.thumbLength;
    const int first = start + layout.thumbLength / 2;
    if (high <= low || travel <= 0) return first;
    if (position < low) position = low;
    if (position > high) position = high;
    return first + static_cast<int>(static_cast<long long>(position - low) * travel / (high - low));
}

void AttachTrackBarSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!engine.WithSettings([](SkinSettings& s) { return s.skinControls; })) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, TRACKBAR_CLASSA, nullptr); child;
         child = ::FindWindowExA(parent, child, TRACKBAR_CLASSA, nullptr)) {
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        const int focused = ::GetFocus() == child ? 1 : 0;
        const int index = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            auto& records = forms[formIndex - 1]->trackBars;
            // Installed once, found by its record: a bar subclassed again
            // would have the skin as its own previous procedure, or undo
            // whatever subclassed it after the skin.
            if (HasRecordOf(records, child)) return -1;
            const int i = TakeRecordSlot(records, child);
            ControlRecord& r = records[i - 1];
            r.vertical = (style & TBS_VERT) ? 1 : 0;
            r.tickPlacement = TickPlacementOf(style);
            r.selectionRange = (style & TBS_ENABLESELRANGE) ? 1 : 0;
            r.focused = focused;
            return i;
        });
        if (index < 0) continue;
        if (index == 0) return;
        SetProperty(child, prop::kIndex, index);
        SetProperty(child, prop::kFormIndex, formIndex);
        WNDPROC previous = SubclassWindow(child, &TrackBarSkinProc);
        WithControlRecord(engine, child, &FormSkin::trackBars,
                          [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
        // The bar painted itself before it was skinned.
        ::InvalidateRect(child, nullptr, TRUE);
    }
}

void PaintTrackBar(SkinState& engine, int formIndex, int index, HDC target) {
    TrackBarState state;
    if (!ReadTrackBarAt(engine, formIndex, index, state)) return;
    HWND bar = state.window;
    const RECT bounds = WindowBounds(bar);
    const int w = bounds.right, h = bounds.bottom;
    if (w <= 0 || h <= 0) return;
    const auto [trackOption, accent] =
        engine.WithSettings([](SkinSettings& s) { return std::make_pair(s.trackOption, s.accentColour); });
    const DisplayScale scale = ScaleOfWindow(engine, bar);
    const TrackBarLayout layout = LayoutTrackBar(bar, state.vertical, state.tickPlacement, scale);
    const bool enabled = ::IsWindowEnabled(bar) != FALSE;
    const bool focusCue = enabled && state.focused && FocusCuesShown(bar);
    const bool hovered = enabled && state.hovered;

    HDC memory = ComposeControlBackground(engine, bar, bounds);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        if (trackOption != 0) PaintPlate(graphics, state.vertical, w, h, scale);
        PaintChannel(graphics, state.vertical, layout.channel, enabled, scale);
        PaintKnob(graphics, state.vertical, layout.knobCentre, scale.Px(hovered ? kKnobSize : kDotSize), enabled,
                  scale.Pf(1));
        if (state.selectionRange) PaintSelection(graphics, bar, layout, state.vertical);
        if (hovered) PaintHoverFrame(graphics, state.vertical, layout.knobCentre, accent, scale);
        if (focusCue) DrawFocusCue(graphics, 0, 0, static_cast<float>(w), static_cast<float>(h), accent, scale);
    }
    if (target) {
        ::BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    } else {
        WindowDc dc(bar, true);
        ::BitBlt(dc.Get(), 0, 0, w, h, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

LRESULT CALLBACK TrackBarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleTrackBarMessage(window, message, wParam, lParam); });
}
