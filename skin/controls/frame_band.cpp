#include "skin/controls/frame_band.h"

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/pen.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kRestBorderAlpha = 80;
// The border's width at rest and on focus, and on hover.
constexpr int kBorder = 1;
constexpr int kHoverBorder = 2;

void DrawBandAndBorder(HDC memory, const RECT& client, int W, int H, const FrameBandLook& look,
                       const DisplayScale& scale) {
    GdipGraphics graphics;
    graphics.CreateFromHDC(memory);
    graphics.SetClipRectI(0, 0, W, H);
    graphics.SetClipRectI(client.left, client.top, client.right - client.left, client.bottom - client.top,
                          Gdiplus::CombineModeExclude);
    GdipSolidBrush band;
    band.CreateSolidFill(ToArgb(kWhite, look.bandAlpha, true));
    graphics.FillRectangleI(band, 0, 0, W, H);
    if (look.bordered) {
        GdipPen pen;
        const int width = scale.Line(look.hovered ? kHoverBorder : kBorder);
        const Gdiplus::ARGB colour = look.hovered || look.focused ? ToArgb(look.accent, look.accentAlpha, true)
                                                                  : ToArgb(kBlack, kRestBorderAlpha, true);
        pen.CreatePen1(colour, static_cast<float>(width), Gdiplus::UnitWorld);
        DrawInnerFrame(graphics, pen, W, H, width);
    }
    graphics.Flush();
}

void ExcludeRect(HDC dc, const RECT& r) { ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); }

}  // namespace

void PaintFrameBand(SkinState& engine, HWND window, const FrameBandLook& look, HWND standIn) {
    const RECT bounds = WindowBounds(window);
    const int W = bounds.right, H = bounds.bottom;
    if (W <= 0 || H <= 0) return;
    const RECT client = EditClientRect(window);
    RECT vertical{}, horizontal{};
    const bool hasVertical = ScrollBarRect(window, OBJID_VSCROLL, WS_VSCROLL, vertical);
    const bool hasHorizontal = ScrollBarRect(window, OBJID_HSCROLL, WS_HSCROLL, horizontal);

    HDC memory = ComposeControlBackground(engine, window, bounds);
    if (!memory && standIn) memory = ComposeControlBackground(engine, standIn, bounds);
    if (!memory) return;
    DrawBandAndBorder(memory, client, W, H, look, ScaleOfWindow(engine, standIn ? standIn : window));
    {
        WindowDc target(window, true);
        ExcludeRect(target.Get(), client);
        if (hasVertical) ExcludeRect(target.Get(), vertical);
        if (hasHorizontal) ExcludeRect(target.Get(), horizontal);
        ::BitBlt(target.Get(), 0, 0, W, H, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

RECT EditClientRect(HWND window) {
    // Where the client area really is: it need not sit centred in the frame
    // (the scroll-bar width is the system's, not a fixed 17 pixels).
    RECT windowRect{}, client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int left = origin.x - windowRect.left, top = origin.y - windowRect.top;
    return RECT{left, top, left + client.right, top + client.bottom};
}

RegionHandle ScrollBarRegion(HWND window) {
    RECT vertical{}, horizontal{};
    const bool hasVertical = ScrollBarRect(window, OBJID_VSCROLL, WS_VSCROLL, vertical);
    const bool hasHorizontal = ScrollBarRect(window, OBJID_HSCROLL, WS_HSCROLL, horizontal);
    if (hasVertical && hasHorizontal) {
        RegionHandle a(::CreateRectRgnIndirect(&vertical));
        RegionHandle b(::CreateRectRgnIndirect(&horizontal));
        RegionHandle both(::CreateRectRgn(0, 0, 0, 0));
        if (a && b && both) ::CombineRgn(both.Get(), a.Get(), b.Get(), RGN_OR);
        return both;
    }
    if (hasVertical) return RegionHandle(::CreateRectRgnIndirect(&vertical));
    if (hasHorizontal) return RegionHandle(::CreateRectRgnIndirect(&horizontal));
    return RegionHandle();
}

// The visible scroll bar of one side in window coordinates; false when hidden.
bool ScrollBarRect(HWND window, LONG object, LONG styleBit, RECT& bar) {
    if (!(::GetWindowLongPtrA(window, GWL_STYLE) & styleBit)) return false;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!::GetScrollBarInfo(window, object, &info)) return false;
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return false;
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    bar = info.rcScrollBar;
    ::OffsetRect(&bar, -windowRect.left, -windowRect.top);
    return !::IsRectEmpty(&bar);
}
