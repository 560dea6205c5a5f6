#include "skin/paint/glow_text.h"

#include <algorithm>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/string_format.h"
#include "skin/paint/paint_primitives.h"

namespace {

void SetBlurModes(GdipGraphics& graphics, int compositingQuality) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetCompositingQuality(compositingQuality);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeNone);
}

// A line break is drawn from "\n" alone: Wine's GDI+ draws the "\r" of
// "\r\n" as a glyph of its own. (0x0D is never a trail byte of a GBK pair.)
Text WithoutCarriageReturns(const Text& text) {
    Text lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    return lines;
}

}  // namespace

void DrawGlowText(GdipGraphics& graphics, const Text& rawText, const GlowLayout& layout, COLORREF textColour,
                  COLORREF glowColour, int glowSize, const Text& face, int style, bool useStyle, int size,
                  bool useSize, int hAlign, int vAlign, const DisplayScale& scale) {
    const Text text = WithoutCarriageReturns(rawText);
    const int g = ScaledGlowSize(glowSize, scale);
    const float h2 = static_cast<float>(g / 2);
    const int w = std::max(static_cast<int>(layout.width), 1);
    const int h = std::max(static_cast<int>(layout.height), 1);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);

    GdipFont font;
    if (!font.CreateFontByName(face, useSize ? static_cast<float>(size) : scale.Pf(12), useStyle ? style : 0)) return;
    GdipStringFormat format;
    format.CreateStringFormat();
    format.SetStringFormatAlign(hAlign);
    format.SetStringFormatLineAlign(vAlign);
    format.SetStringFormatHotkeyPrefix(Gdiplus::HotkeyPrefixNone);
    GdipSolidBrush glow;
    glow.CreateSolidFill(ToArgb(glowColour, 255, true));

    // The text in the glow colour, shrunk and enlarged into a blur.
    GdipBitmap sharp;
    sharp.CreateBitmapFromScan0(w, h);
    {
        GdipGraphics onSharp;
        onSharp.GetImageGraphicsContext(sharp);
        SetBlurModes(onSharp, Gdiplus::CompositingQualityGammaCorrected);
        onSharp.DrawString(text, font, Gdiplus::RectF(h2, h2, fw + h2, fh + h2), format, glow);
    }
    GdipBitmap small;
    const int sw = std::max(w / g, 1), sh = std::max(h / g, 1);
    small.CreateBitmapFromScan0(sw, sh);
    {
        GdipGraphics onSmall;
        onSmall.GetImageGraphicsContext(small);
        SetBlurModes(onSmall, Gdiplus::CompositingQualityHighQuality);
        onSmall.DrawImageRect(sharp, 0, 0, static_cast<float>(sw), static_cast<float>(sh));
    }
    GdipBitmap halo;
    halo.CreateBitmapFromScan0(w, h);
    {
        GdipGraphics onHalo;
        onHalo.GetImageGraphicsContext(halo);
        SetBlurModes(onHalo, Gdiplus::CompositingQualityGammaCorrected);
        onHalo.DrawImageRect(small, 0, 0, fw, fh);
        // A faint copy one pixel off in each direction thickens the halo.
        GdipSolidBrush faint;
        faint.CreateSolidFill(ToArgb(glowColour, 60, true));
        const float top = 0.7f * static_cast<float>(g);
        const float one = static_cast<float>(scale.Px(1));
        const float offsets[4][2] = {{h2 - one, top}, {h2 + one, top}, {h2, top - one}, {h2, top + one}};
        for (const auto& o : offsets) onHalo.DrawString(text, font, Gdiplus::RectF(o[0], o[1], fw, fh), format, faint);
    }

    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    float haloX = 0, haloY = 0;
    GlowHaloOrigin(layout, g, haloX, haloY);
    graphics.DrawImageRect(halo, haloX, haloY, fw, fh);
    GdipSolidBrush ink;
    ink.CreateSolidFill(ToArgb(textColour, 255, true));
    graphics.DrawString(text, font, Gdiplus::RectF(layout.x, layout.y, layout.width, layout.height), format, ink);
}
