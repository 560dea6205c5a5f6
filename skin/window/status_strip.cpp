#include "skin/window/status_strip.h"

#include <algorithm>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/string_format.h"
#include "skin/paint/background_copy.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr int kNoWrap = 0x1000;
constexpr int kCentred = 1;

RECT ClientOf(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return r;
}

// The status font, made again only when its face, size or scale changed.
const GdipFont* StatusFont(FormSkin& form) {
    const DisplayScale s = form.Scale();
    const int key = form.statusFontSize + (s.Dpi() << 16);
    if (!form.statusFontCache || form.statusFontCacheFace != form.statusFont || form.statusFontCacheSize != key) {
        auto font = std::make_shared<GdipFont>();
        const float size = s.Pf(static_cast<float>(form.statusFontSize));
        if (!font->CreateFontByName(form.statusFont, size, 0, Gdiplus::UnitPixel)) {
            GdipFontFamily family;
            if (!family.GetGenericFontFamilySansSerif() || !font->CreateFont(family, size)) return nullptr;
        }
        form.statusFontCache = std::move(font);
        form.statusFontCacheFace = form.statusFont;
        form.statusFontCacheSize = key;
    }
    return form.statusFontCache.get();
}

}  // namespace

RECT StatusStripRect(const FormSkin& form) {
    if (form.statusHeight <= 0) return RECT{0, 0, 0, 0};
    const RECT client = ClientOf(form.window);
    return RECT{0, std::max(0L, client.bottom - form.Scale().Px(form.statusHeight)), client.right, client.bottom};
}

bool LayoutStatusItems(FormSkin& form) {
    const RECT strip = StatusStripRect(form);
    const DisplayScale s = form.Scale();
    const int margin = s.Px(kStatusMargin);
    const int right = std::max(static_cast<int>(strip.left) + margin, static_cast<int>(strip.right) - margin);
    int fixed = 0, shared = 0;
    for (const StatusItem& item : form.statusItems) {
        if (item.width > 0) {
            fixed += s.Px(item.width);
        } else {
            ++shared;
        }
    }
    const int spare = std::max(0, right - margin - fixed);
    bool changed = false;
    int x = margin, sharedSeen = 0;
    for (StatusItem& item : form.statusItems) {
        int w = item.width > 0 ? s.Px(item.width) : item.width;
        if (w <= 0) {
            // The last sharing item takes what division leaves over.
            ++sharedSeen;
            w = sharedSeen == shared ? spare - (spare / shared) * (shared - 1) : spare / shared;
        }
        const int left = std::min(x, right);
        const RECT r{left, strip.top, std::min(left + w, right), strip.bottom};
        if (!::EqualRect(&r, &item.rect)) changed = true;
        item.rect = r;
        x = left + w;
    }
    return changed;
}

void PaintStatusStrip(FormSkin& form, GdipGraphics* graphics) {
    if (form.statusHeight <= 0 || !form.backgroundDc) return;
    const RECT strip = StatusStripRect(form);
    const int stripHeight = strip.bottom - strip.top;
    GdipGraphics own;
    if (!graphics) {
        if (form.statusCache.IsValid()) {
            ::BitBlt(form.backgroundDc.Get(), 0, strip.top, strip.right, stripHeight, form.statusCache.Dc(), 0,
                     form.Scale().Px(form.statusHeight) - stripHeight, SRCCOPY);
        }
        own.CreateFromHDC(form.backgroundDc.Get());
        own.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        own.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        graphics = &own;
    }
    if (const GdipFont* font = StatusFont(form)) {
        GdipStringFormat format;
        format.CreateStringFormat(kNoWrap);
        format.SetStringFormatLineAlign(kCentred);
        GdipSolidBrush brush;
        brush.CreateSolidFill(ToArgb(form.statusTextColour, 255, true));
        for (const StatusItem& item : form.statusItems) {
            const RECT& r = item.rect;
            if (r.right <= r.left || item.text.empty()) continue;
            graphics->DrawString(item.text, *font,
                                 Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top),
                                                static_cast<float>(r.right - r.left),
                                                static_cast<float>(r.bottom - r.top)),
                                 format, brush);
        }
    }
    if (graphics == &own) {
        own.DeleteGraphics();
        CopyBackgroundToWindow(form, &strip);
    }
}
