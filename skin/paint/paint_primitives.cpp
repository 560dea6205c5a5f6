#include "skin/paint/paint_primitives.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"
#include "skin/model/window_lookup.h"

namespace {

// What the composition needs of a panel, copied out under the lock. Form
// and panel are found by window each time: an index read earlier may point
// to another form's entry once a form of another thread went away.
struct PanelFill {
    bool found = false;
    int filled = 0;
    COLORREF colour = 0;
    int alpha = 255;
    int rounded = 0;
};

PanelFill PanelOf(SkinState& engine, HWND formWindow, HWND panelWindow) {
    return engine.WithForms([&](FormSkinList& forms) {
        PanelFill fill;
        const int form = FindForm(forms, formWindow);
        if (form < 1 || !panelWindow) return fill;
        for (const PanelRecord& panel : forms[form - 1]->panels) {
            if (panel.window == panelWindow) {
                return PanelFill{true, panel.filled, panel.fillColour, panel.fillAlpha, panel.rounded};
            }
        }
        return fill;
    });
}

// The background DC of a form; it is used on that form's window thread.
HDC FormBackgroundDc(SkinState& engine, HWND formWindow) {
    return engine.WithForms([&](FormSkinList& forms) -> HDC {
        const int form = FindForm(forms, formWindow);
        return form > 0 ? forms[form - 1]->backgroundDc.Get() : nullptr;
    });
}

// The nearest skinned form above the window; null when none.
HWND OwningFormWindow(SkinState& engine, HWND window) {
    for (HWND w = ::GetParent(window); w; w = ::GetParent(w)) {
        if (engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, w); }) > 0) return w;
    }
    return nullptr;
}

// The nearest ancestor below stop that is a panel of the form with its fill flag set.
HWND FilledAncestorPanel(SkinState& engine, HWND formWindow, HWND control, HWND stop) {
    for (HWND b = ::GetParent(control); b && b != stop; b = ::GetParent(b)) {
        const PanelFill fill = PanelOf(engine, formWindow, b);
        if (fill.found && fill.filled) return b;
    }
    return nullptr;
}

void CopyBackground(HDC target, int width, int height, HDC source, const RECT& offset, const RECT& rect) {
    if (source) ::BitBlt(target, 0, 0, width, height, source, offset.left + rect.left, offset.top + rect.top, SRCCOPY);
}

void FillPanel(SkinState& engine, HWND control, HDC dc, const RECT& rect, const PanelFill& fill, bool honourRounded) {
    GdipPath path;
    path.CreatePath(0);
    if (honourRounded && fill.rounded) {
        // A group box's frame: from its caption's middle down, a pixel short of the bottom.
        const DisplayScale s = ScaleOfWindow(engine, control);
        const float top = static_cast<float>(s.Px(5));
        AddRoundedRectangle(path, 0, top, static_cast<float>(rect.right),
                            static_cast<float>(rect.bottom - s.Px(1)) - top, s.Px(5));
    } else {
        path.AddPathRectangle(0, 0, static_cast<float>(rect.right), static_cast<float>(rect.bottom));
    }
    GdipGraphics graphics;
    graphics.CreateFromHDC(dc);
    GdipSolidBrush brush;
    brush.CreateSolidFill(ToArgb(fill.colour, fill.alpha, true));
    graphics.FillPath(brush, path);
}

}  // namespace

BitmapHandle CreateArgbBitmap(int width, int height, void** bits) {
    // Made directly, without the round trip through a GDI+ bitmap.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(width, 1);
    info.bmiHeader.biHeight = -std::max(height, 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

void RegisterMemoryDc(SkinState& engine, HDC dc, HBITMAP bitmap, HGDIOBJ previous) {
    engine.WithMemoryDcRegistry([&](std::vector<MemoryDcEntry>& registry) {
        for (MemoryDcEntry& entry : registry) {
            if (entry.dc.Get() == dc) {
                entry.bitmap.Reset(bitmap);
                entry.previous = previous;
                return;
            }
        }
        MemoryDcEntry entry;
        entry.dc.Reset(dc);
        entry.bitmap.Reset(bitmap);
        entry.previous = previous;
        registry.push_back(std::move(entry));
    });
}

int ReleaseMemoryDc(SkinState& engine, HDC dc) {
    if (!dc) return 0;
    return engine.WithMemoryDcRegistry([&](std::vector<MemoryDcEntry>& registry) {
        auto it = std::find_if(registry.begin(), registry.end(),
                               [dc](const MemoryDcEntry& entry) { return entry.dc.Get() == dc; });
        if (it == registry.end()) return 0;
        if (it->previous) ::SelectObject(dc, it->previous);
        it->bitmap.Reset();
        it->dc.Reset();
        registry.erase(it);
        return 1;
    });
}

HDC ComposeControlBackground(SkinState& engine, HWND control, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BitmapHandle bitmap = CreateArgbBitmap(width, height);
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc || !bitmap) {
        if (dc) ::DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = ::SelectObject(dc, bitmap.Get());
    RegisterMemoryDc(engine, dc, bitmap.Release(), previous);

    const BackgroundOwner found = FindBackgroundOwner(engine, control, true);
    if (found.result == 1) {
        const RECT offset = RectRelativeToForm(engine, control);
        CopyBackground(dc, width, height, FormBackgroundDc(engine, found.formWindow), offset, rect);
        const PanelFill fill = PanelOf(engine, found.formWindow, control);
        if (fill.found && fill.colour != 0) FillPanel(engine, control, dc, rect, fill, true);
        return dc;
    }
    if (found.owner == control) {
        HWND parentOwner = reinterpret_cast<HWND>(GetProperty(control, prop::kParentOwnsBackground));
        if (parentOwner) {
            HDC source = reinterpret_cast<HDC>(GetProperty(parentOwner, prop::kOwnerBackgroundDc));
            CopyBackground(dc, width, height, source, RectRelativeToWindow(parentOwner, control), rect);
        } else {
            CopyBackground(dc, width, height, FormBackgroundDc(engine, OwningFormWindow(engine, control)),
                           RectRelativeToRoot(control), rect);
        }
        return dc;
    }
    if (found.owner) {
        HDC source = reinterpret_cast<HDC>(GetProperty(found.owner, prop::kOwnerBackgroundDc));
        CopyBackground(dc, width, height, source, RectRelativeToWindow(found.owner, control), rect);
        HWND form = found.formWindow ? found.formWindow : OwningFormWindow(engine, control);
        if (form) {
            PanelFill fill = PanelOf(engine, form, control);
            const bool own = fill.found;
            if (!own) {
                if (HWND panel = FilledAncestorPanel(engine, form, control, found.owner)) {
                    fill = PanelOf(engine, form, panel);
                }
            }
            if (fill.found && static_cast<LONG>(fill.colour) > 0) FillPanel(engine, control, dc, rect, fill, own);
        }
        return dc;
    }
    HWND form = found.formWindow ? found.formWindow : OwningFormWindow(engine, control);
    if (!form) {
        // Nothing to compose from: the fresh DC is not kept in the registry.
        ReleaseMemoryDc(engine, dc);
        return nullptr;
    }
    PanelFill fill = PanelOf(engine, form, control);
    if (!fill.found && found.panelWindow) fill = PanelOf(engine, form, found.panelWindow);
    CopyBackground(dc, width, height, FormBackgroundDc(engine, form), RectRelativeToRoot(control), rect);
    if (fill.found && fill.colour != 0) FillPanel(engine, control, dc, rect, fill, false);
    return dc;
}

BitmapHandle ComposeControlBackgroundBitmap(SkinState& engine, HWND control, const RECT& rect) {
    HDC dc = ComposeControlBackground(engine, control, rect);
    BitmapHandle bitmap;
    if (!dc) return bitmap;
    engine.WithMemoryDcRegistry([&](std::vector<MemoryDcEntry>& registry) {
        for (MemoryDcEntry& entry : registry) {
            if (entry.dc.Get() == dc) {
                if (entry.previous) ::SelectObject(dc, entry.previous);
                entry.previous = nullptr;
                bitmap.Reset(entry.bitmap.Release());
            }
        }
    });
    ReleaseMemoryDc(engine, dc);
    return bitmap;
}

void AddRoundedRectangle(GdipPath& path, float x, float y, float width, float height, int radius) {
    const float r = static_cast<float>(std::clamp(radius, 1, 100));
    const float right = x + width;
    const float bottom = y + height;
    path.AddPathArc(right - r, y, r, r, 270, 90);
    path.AddPathArc(right - r - 1, bottom - r - 1, r + 1, r + 1, 0, 90);
    path.AddPathArc(x, bottom - r, r, r, 90, 90);
    path.AddPathArc(x, y, r, r, 180, 90);
    path.ClosePathFigure();
}

void AddRoundedTopOutline(GdipPath& path, int x, int y, int width, int height, int radius) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float w = static_cast<float>(width), h = static_cast<float>(height), r = static_cast<float>(radius);
    path.AddPathLine(fx, fy + h, fx, fy + r);
    path.AddPathArc(fx, fy, r, r, 180, 90);
    path.AddPathLine(fx + r, fy, fx + w - r, fy);
    path.AddPathArc(fx + w - r, fy, r, r, 270, 90);
    path.AddPathLine(fx + w, fy + r, fx + w, fy + h);
}

void DrawSoftOutline(GdipGraphics& graphics, const GdipPath& path, int count, COLORREF colour, int alpha,
                     const DisplayScale& scale) {
    GdipPen pen;
    pen.CreatePen1(ToArgb(colour, alpha, true), 1.0f, Gdiplus::UnitWorld);
    for (int i = 1; i <= count; ++i) {
        pen.SetPenWidth(scale.Pf(static_cast<float>(i)));
        graphics.DrawPath(pen, path);
    }
}

ControlFont ReadControlFont(HWND control) {
    ControlFont result;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    WindowDc dc(control);
    GdipFont gdipFont;
    if (!gdipFont.CreateFontFromHfont(dc.Get(), font)) return result;
    result.size = static_cast<int>(gdipFont.GetFontSize());
    result.style = gdipFont.GetFontStyle();
    GdipFontFamily family;
    if (gdipFont.GetFamily(family)) result.face = family.GetFamilyName(LANG_NEUTRAL);
    return result;
}

void DrawControlCaption(GdipGraphics& graphics, HWND window, const Text& text, const ControlFont& font,
                        int horizontalAlign, const Gdiplus::RectF& layout) {
    if (text.empty()) return;
    GdipFont gdipFont;
    if (!gdipFont.CreateFontByName(font.face, static_cast<float>(font.size), font.style, Gdiplus::UnitPixel)) return;
    GdipStringFormat format;
    format.CreateStringFormat(0);
    format.SetStringFormatAlign(horizontalAlign);
    format.SetStringFormatLineAlign(1);  // centre
    format.SetStringFormatHotkeyPrefix(Gdiplus::HotkeyPrefixHide);
    GdipSolidBrush brush;
    brush.CreateSolidFill(ToArgb(static_cast<COLORREF>(GetProperty(window, prop::kTextColour)), 255, true));
    graphics.DrawString(text, gdipFont, layout, format, brush);
}

void FillPathGradient(GdipGraphics& graphics, const GdipPath& path, float x1, float y1, float x2, float y2,
                      Gdiplus::ARGB from, Gdiplus::ARGB to) {
    GdipLinearBrush brush;
    brush.CreateLineBrush(x1, y1, x2, y2, from, to);
    graphics.FillPath(brush, path);
}

void OutlinePath(GdipGraphics& graphics, const GdipPath& path, COLORREF colour, int alpha) {
    GdipPen pen;
    pen.CreatePen1(ToArgb(colour, alpha, true), 1.0f, Gdiplus::UnitWorld);
    graphics.DrawPath(pen, path);
}
