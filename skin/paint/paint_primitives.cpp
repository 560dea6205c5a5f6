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
#include "skin/paint/background_image.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"

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

void FillPanel(HDC dc, const RECT& rect, const PanelFill& fill, bool honourRounded) {
    GdipPath path;
    path.CreatePath(0);
    if (honourRounded && fill.rounded) {
        AddRoundedRectangle(path, 0, 5, static_cast<float>(rect.right), static_cast<float>(rect.bottom - 6), 5);
    } else {
        path.AddPathRectangle(0, 0, static_cast<float>(rect.right), static_cast<float>(rect.bottom));
    }
    GdipGraphics graphics;
    graphics.CreateFromHDC(dc);
    GdipSolidBrush brush;
    brush.CreateSolidFill(ToArgb(fill.colour, fill.alpha, true));
    graphics.FillPath(brush, path);
}

RECT Shifted(RECT r, int dx, int dy) {
    r.left -= dx;
    r.right -= dx;
    r.top -= dy;
    r.bottom -= dy;
    return r;
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
        if (fill.found && fill.colour != 0) FillPanel(dc, rect, fill, true);
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
            if (fill.found && static_cast<LONG>(fill.colour) > 0) FillPanel(dc, rect, fill, own);
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
    if (fill.found && fill.colour != 0) FillPanel(dc, rect, fill, false);
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

BackgroundOwner FindBackgroundOwner(SkinState& engine, HWND window, bool honour) {
    BackgroundOwner found;
    if (honour && GetProperty(window, prop::kOwnsBackground) == 1) {
        found.owner = window;
        return found;
    }
    auto formOf = [&](HWND w) { return engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, w); }); };
    if (int form = formOf(window)) {
        found.result = 1;
        found.formIndex = form;
        found.formWindow = window;
        return found;
    }
    for (HWND c = ::GetParent(window); c; c = ::GetParent(c)) {
        if (honour && GetProperty(c, prop::kOwnsBackground) == 1) {
            found.owner = c;
            return found;
        }
        if (int form = formOf(c)) {
            found.result = 1;
            found.formIndex = form;
            found.formWindow = c;
            return found;
        }
        struct PanelPair {
            int form = 0, panel = 0;
            HWND formWindow = nullptr;
        };
        const PanelPair panel = engine.WithForms([&](FormSkinList& forms) {
            for (std::size_t f = 0; f < forms.size(); ++f) {
                const auto& panels = forms[f]->panels;
                for (std::size_t p = 0; p < panels.size(); ++p) {
                    if (panels[p].window == c) {
                        return PanelPair{static_cast<int>(f + 1), static_cast<int>(p + 1), forms[f]->window};
                    }
                }
            }
            return PanelPair{};
        });
        if (panel.form > 0) {
            HWND parentOwner = reinterpret_cast<HWND>(GetProperty(c, prop::kParentOwnsBackground));
            if (honour && parentOwner) {
                found.owner = parentOwner;
            } else {
                found.formIndex = panel.form;
                found.panelIndex = panel.panel;
                found.formWindow = panel.formWindow;
                found.panelWindow = c;
            }
            return found;
        }
    }
    return found;
}

int FindOwningForm(SkinState& engine, HWND window) {
    for (HWND w = ::GetParent(window); w; w = ::GetParent(w)) {
        int form = engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, w); });
        if (form > 0) return form;
    }
    return 0;
}

int FindControlRecord(SkinState& engine, int formIndex, HWND window, RecordList list) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
        FormSkin& form = *forms[formIndex - 1];
        auto search = [window](const auto& records) {
            for (std::size_t i = 0; i < records.size(); ++i) {
                if (records[i].window == window) return static_cast<int>(i + 1);
            }
            return 0;
        };
        switch (list) {
        case RecordList::Buttons: return search(form.buttons);
        case RecordList::Edits: return search(form.edits);
        case RecordList::Statics: return search(form.staticLabels);
        case RecordList::Panels: return search(form.panels);
        }
        return 0;
    });
}

int FindFilledAncestorPanel(SkinState& engine, int formIndex, HWND control, HWND stop) {
    for (HWND b = ::GetParent(control); b && b != stop; b = ::GetParent(b)) {
        int found = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            const auto& panels = forms[formIndex - 1]->panels;
            for (std::size_t p = 0; p < panels.size(); ++p) {
                if (panels[p].window == b && panels[p].filled) return static_cast<int>(p + 1);
            }
            return 0;
        });
        if (found) return found;
    }
    return 0;
}

RECT RectRelativeToForm(SkinState& engine, HWND control) {
    if (engine.WithForms([&](FormSkinList& forms) { return FindForm(forms, control); }) > 0) return RECT{0, 0, 0, 0};
    const int form = FindOwningForm(engine, control);
    FormSkin* entry = engine.Form(form);
    HWND formWindow = entry ? entry->window : nullptr;
    HWND top = control;
    while (top != formWindow) {
        HWND parent = ::GetParent(top);
        if (!parent) break;
        top = parent;
    }
    return RectRelativeToWindow(top, control);
}

RECT RectRelativeToWindow(HWND reference, HWND window) {
    RECT r{}, ref{};
    ::GetWindowRect(window, &r);
    ::GetWindowRect(reference, &ref);
    return Shifted(r, ref.left, ref.top);
}

RECT RectRelativeToRoot(HWND window) { return RectRelativeToWindow(::GetAncestor(window, GA_ROOT), window); }

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

void DrawSoftOutline(GdipGraphics& graphics, const GdipPath& path, int count, COLORREF colour, int alpha) {
    GdipPen pen;
    pen.CreatePen1(ToArgb(colour, alpha, true), 1.0f, Gdiplus::UnitWorld);
    for (int i = 1; i <= count; ++i) {
        pen.SetPenWidth(static_cast<float>(i));
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

void StrokeFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                         int darkAlpha, FrameOutlines which) {
    GdipPen dark, light;
    dark.CreatePen1(ToArgb(0x00000000, darkAlpha, true), 1.0f);
    light.CreatePen1(ToArgb(0x00FFFFFF, 180, true), 1.0f);
    if (which != FrameOutlines::Light) {
        GdipPath outer;
        outer.CreatePath(0);
        AddRoundedRectangle(outer, 0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1), outerRadius);
        graphics.DrawPath(dark, outer);
    }
    if (which != FrameOutlines::Dark) {
        GdipPath inner;
        inner.CreatePath(0);
        AddRoundedRectangle(inner, 1, 1, static_cast<float>(width - 3), static_cast<float>(height - 3), innerRadius);
        graphics.DrawPath(light, inner);
    }
}

namespace {

// What a frame outline lays over the pixels below it (premultiplied, as the
// stroke blends it), taken from the outlines stroked once into a transparent
// square. The square's corners are the frame's corners; its middle row and
// column hold the straight runs, the same all along a frame of any size.
// Stroking a translucent outline costs a pass over its whole bounding box;
// laying the stamp touches only the outline's own pixels.
struct FrameStampKey {
    int outerRadius = 0;
    int innerRadius = 0;
    int darkAlpha = 0;
    int smoothing = 0;
    int pixelOffset = 0;
    bool operator==(const FrameStampKey& o) const {
        return outerRadius == o.outerRadius && innerRadius == o.innerRadius && darkAlpha == o.darkAlpha &&
               smoothing == o.smoothing && pixelOffset == o.pixelOffset;
    }
};

struct StampDot {
    int x = 0;
    std::uint32_t pixel = 0;
};
using StampRows = std::vector<std::vector<StampDot>>;  // per row of the square, the pixels the outline touches

struct FrameStamp {
    FrameStampKey key;
    int side = 0;
    StampRows dark, light;
};

constexpr std::size_t kKeptStamps = 4;
std::mutex gStampLock;
std::vector<std::shared_ptr<const FrameStamp>> gStamps;  // most recent last

// Half the stamp's side: clear of the largest corner arc and its stroke.
int StampHalf(const FrameStampKey& key) {
    return std::clamp(std::max(key.outerRadius, key.innerRadius), 1, 100) + 8;
}

bool StrokeIntoStamp(const FrameStampKey& key, int side, FrameOutlines which, StampRows& rows) {
    BitmapHandle bitmap = CreateArgbBitmap(side, side);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return false;
    HGDIOBJ displaced = ::SelectObject(dc.Get(), bitmap.Get());
    {
        GdipGraphics graphics;
        if (!graphics.CreateFromHDC(dc.Get())) {
            ::SelectObject(dc.Get(), displaced);
            return false;
        }
        graphics.SetSmoothingMode(key.smoothing);
        graphics.SetPixelOffsetMode(key.pixelOffset);
        StrokeFrameOutlines(graphics, side, side, key.outerRadius, key.innerRadius, key.darkAlpha, which);
        graphics.Flush();
    }
    std::ptrdiff_t pitch = 0;
    const std::uint32_t* bits = DirectDibBits(dc.Get(), side, side, pitch);
    if (bits) {
        rows.assign(static_cast<std::size_t>(side), {});
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const std::uint32_t pixel = bits[y * pitch + x];
                if (pixel != 0) rows[static_cast<std::size_t>(y)].push_back(StampDot{x, pixel});
            }
        }
    }
    ::SelectObject(dc.Get(), displaced);
    return bits != nullptr;
}

std::shared_ptr<const FrameStamp> FindFrameStamp(const FrameStampKey& key) {
    {
        std::lock_guard<std::mutex> guard(gStampLock);
        for (const auto& stamp : gStamps) {
            if (stamp->key == key) return stamp;
        }
    }
    auto stamp = std::make_shared<FrameStamp>();
    stamp->key = key;
    stamp->side = 2 * StampHalf(key);
    if (!StrokeIntoStamp(key, stamp->side, FrameOutlines::Dark, stamp->dark) ||
        !StrokeIntoStamp(key, stamp->side, FrameOutlines::Light, stamp->light)) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(gStampLock);
    if (gStamps.size() >= kKeptStamps) gStamps.erase(gStamps.begin());
    gStamps.push_back(stamp);
    return stamp;
}

// The stamp's rows laid over a width x height area: the left and top halves
// of the square at the near edges, the right and bottom halves at the far
// ones, the middle row and column stretched between them.
void LayStamp(std::uint32_t* bits, std::ptrdiff_t pitch, int width, int height, int side, const StampRows& rows) {
    const int half = side / 2;
    for (int y = 0; y < height; ++y) {
        const int sy = y < half ? y : (y > height - half ? y - (height - side) : half);
        std::uint32_t* line = bits + y * pitch;
        for (const StampDot& dot : rows[static_cast<std::size_t>(sy)]) {
            if (dot.x < half) {
                line[dot.x] = BlendPremultipliedOver(line[dot.x], dot.pixel);
            } else if (dot.x > half) {
                const int x = dot.x + width - side;
                line[x] = BlendPremultipliedOver(line[x], dot.pixel);
            } else {
                for (int x = half; x <= width - half; ++x) line[x] = BlendPremultipliedOver(line[x], dot.pixel);
            }
        }
    }
}

bool StampFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                        int darkAlpha) {
    const FrameStampKey key{outerRadius, innerRadius, darkAlpha, graphics.GetSmoothingMode(),
                            graphics.GetPixelOffsetMode()};
    const int side = 2 * StampHalf(key);
    if (width < side || height < side || graphics.GetCompositingMode() != Gdiplus::CompositingModeSourceOver) {
        return false;
    }
    const Gdiplus::RectF clip = graphics.GetClipBounds();
    if (clip.X > 0 || clip.Y > 0 || clip.X + clip.Width < static_cast<float>(width) ||
        clip.Y + clip.Height < static_cast<float>(height)) {
        return false;
    }
    const std::shared_ptr<const FrameStamp> stamp = FindFrameStamp(key);
    if (!stamp) return false;
    graphics.Flush();
    HDC dc = graphics.GetDC();
    if (!dc) return false;
    std::ptrdiff_t pitch = 0;
    std::uint32_t* bits = DirectDibBits(dc, width, height, pitch);
    if (bits) {
        LayStamp(bits, pitch, width, height, side, stamp->dark);
        LayStamp(bits, pitch, width, height, side, stamp->light);
    }
    graphics.ReleaseDC(dc);
    return bits != nullptr;
}

}  // namespace

void DrawFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                       int darkAlpha) {
    if (StampFrameOutlines(graphics, width, height, outerRadius, innerRadius, darkAlpha)) return;
    StrokeFrameOutlines(graphics, width, height, outerRadius, innerRadius, darkAlpha, FrameOutlines::Both);
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
