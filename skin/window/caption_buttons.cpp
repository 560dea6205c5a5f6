#include "skin/window/caption_buttons.h"

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "skin/paint/background_copy.h"
#include "skin/paint/background_image.h"
#include "skin/paint/paint_primitives.h"
#include "skin/window/caption_parts.h"

using namespace caption;

namespace {

// Hover faces kept per button: alpha 0, 30, ... 240.
constexpr int kHoverAlphaStep = 30;
constexpr int kHoverFaceSlots = 9;

void ButtonShape(GdipPath& path, bool close, float x, float y, float width, float height, const DisplayScale& s) {
    path.CreatePath(0);
    if (close) {
        AddRoundedRectangle(path, x, y, width, height, s.Px(5));
    } else {
        AddRoundedTopOutline(path, static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                             static_cast<int>(height), s.Px(1));
    }
}

// A caption button's glyph: at 96 DPI at its natural size, as the graphics
// draws images; above, at its scaled size with high-quality interpolation.
void DrawGlyph(GdipGraphics& graphics, HDC dc, const GdipImage& glyph, std::size_t key, float x, float y,
               const DisplayScale& s) {
    const int width = static_cast<int>(glyph.GetImageWidth()), height = static_cast<int>(glyph.GetImageHeight());
    if (s.IsBase()) {
        if (!LayImage(graphics, dc, glyph, key, x, y)) {
            graphics.DrawImageRect(glyph, x, y, static_cast<float>(width), static_cast<float>(height));
        }
        return;
    }
    const int interpolation = graphics.GetInterpolationMode(), pixelOffset = graphics.GetPixelOffsetMode();
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const int scaledWidth = s.Px(width), scaledHeight = s.Px(height);
    if (!LayImage(graphics, dc, glyph, key, x, y, scaledWidth, scaledHeight)) {
        graphics.DrawImageRect(glyph, x, y, static_cast<float>(scaledWidth), static_cast<float>(scaledHeight));
    }
    graphics.SetInterpolationMode(interpolation);
    graphics.SetPixelOffsetMode(pixelOffset);
}

}  // namespace

void LayOutCaptionStrip(FormSkin& form) {
    const DisplayScale s = form.Scale();
    int clientWidth = 0, clientHeight = 0;
    ClientSize(form.window, clientWidth, clientHeight);
    // At 96 DPI the buttons are 27 pixels apart from 3 pixels inside the
    // strip, the strip ends a pixel beyond the client area. Every position is
    // kept as a 96-DPI distance from the right edge and scaled as one, so the
    // strip stays flush with the edge at any scale.
    int strip = 2;
    for (const CaptionButton& button : form.captionButtons) strip += button.width + 1;
    form.buttonStripX = clientWidth - s.Px(strip - 1);
    form.buttonStripWidth = clientWidth + s.Px(1) - form.buttonStripX;
    form.buttonStripHeight = s.Px(22);
    const int top = form.buttonStripY + s.Px(1), bottom = form.buttonStripY + s.Px(19);
    for (std::size_t i = 0; i < form.captionButtons.size(); ++i) {
        CaptionButton& button = form.captionButtons[i];
        const int fromRight = strip - 3 - 27 * static_cast<int>(i);
        const int width = button.command == kCommandClose ? 40 : 26;
        const int left = clientWidth - s.Px(fromRight), right = clientWidth - s.Px(fromRight - width);
        button.rect = ButtonRect{static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
                                 static_cast<float>(bottom - top)};
    }
}

void PaintCaptionButton(FormSkin& form, const PaintContext& context, int index, GdipGraphics* graphics,
                        ButtonFace face, int alpha) {
    if (index < 1 || index > static_cast<int>(form.captionButtons.size()) || !form.backgroundDc) return;
    CaptionButton& button = form.captionButtons[index - 1];
    const bool close = button.command == kCommandClose;
    const bool restoreGlyph = button.command == kCommandMaximise && form.maximised && !button.altImage.empty();
    const GdipImage* glyph =
        restoreGlyph ? DecodeCached(button.decodedAlt, button.altImage) : DecodeCached(button.decoded, button.image);
    const ButtonRect& b = button.rect;
    const DisplayScale s = form.Scale();
    const int bx = static_cast<int>(b.x), by = static_cast<int>(b.y);
    const int bw = static_cast<int>(b.width), bh = static_cast<int>(b.height);
    // The hover face: a pixel (at 96 DPI) left of the rectangle, the button's own size.
    const int hoverX = bx - s.Px(1), hoverWidth = s.Px(button.width), hoverHeight = s.Px(button.height);

    // A hover face reaches a pixel beyond the rectangle on each side: every
    // hover frame, the last one (alpha 0) included, restores that area.
    RECT touched{bx, by, bx + bw, by + bh};
    if (face == ButtonFace::Hover) {
        touched = RECT{hoverX - s.Px(1), by, hoverX + hoverWidth + s.Px(2), by + hoverHeight + s.Px(1)};
    }
    const int touchedWidth = touched.right - touched.left, touchedHeight = touched.bottom - touched.top;

    // A hover frame outside a rebuild is the same picture every time for the
    // same step, accent and glyph: after the first fade it is copied.
    HoverFaceCache* cache = nullptr;
    const int slot = alpha / kHoverAlphaStep;
    if (face == ButtonFace::Hover && !graphics && alpha % kHoverAlphaStep == 0 && slot >= 0 &&
        slot < kHoverFaceSlots) {
        if (form.hoverFaces.size() < form.captionButtons.size()) form.hoverFaces.resize(form.captionButtons.size());
        cache = &form.hoverFaces[index - 1];
        // Faces of another size were made at another scale.
        if (cache->faces.IsValid() && (cache->accent != context.accentColour || cache->maximised != form.maximised ||
                                       !HasSize(cache->faces, touchedWidth * kHoverFaceSlots, touchedHeight))) {
            *cache = HoverFaceCache();
        }
        if (cache->filled & (1u << slot)) {
            ::BitBlt(form.backgroundDc.Get(), touched.left, touched.top, touchedWidth, touchedHeight,
                     cache->faces.Dc(), slot * touchedWidth, 0, SRCCOPY);
            CopyBackgroundToWindow(form, &touched);
            return;
        }
    }
    RestoreFromCache(form, form.captionCache, touched.left, touched.top, touchedWidth, touchedHeight);

    GdipGraphics own;
    if (!graphics) {
        PrepareGraphics(own, form.backgroundDc.Get());
        graphics = &own;
    }
    float glyphX = b.x, glyphY = b.y;
    if (face == ButtonFace::Hover && alpha > 0) {
        const float x = static_cast<float>(hoverX), y = b.y, w = static_cast<float>(hoverWidth),
                    h = static_cast<float>(hoverHeight);
        GdipPath shape;
        ButtonShape(shape, close, x, y, w, h, s);
        FillVertical(*graphics, shape, y, h, ToArgb(kBlack, alpha / 5, true), ToArgb(kWhite, 0, true));
        FillVertical(*graphics, shape, y, h, ToArgb(close ? kRed : context.accentColour, alpha, true),
                     ToArgb(kWhite, 0, true));
        GdipPath gloss;
        ButtonShape(gloss, close, x, y, w - static_cast<float>(s.Px(1)), static_cast<float>(static_cast<int>(0.8f * h)),
                    s);
        GdipLinearBrush glossBrush;
        glossBrush.CreateLineBrush(0, y, 0, y + 0.8f * h, ToArgb(kWhite, static_cast<int>(0.8 * alpha), true),
                                   ToArgb(kWhite, 0, true), kWrapTileFlipXY);
        GdipPen glossPen;
        glossPen.CreatePen2(glossBrush, static_cast<float>(s.Line(1)));
        graphics->DrawPath(glossPen, gloss);
    } else if (face == ButtonFace::Pressed) {
        GdipPath shape;
        shape.CreatePath(0);
        AddRoundedRectangle(shape, b.x, b.y, b.width, b.height, s.Px(5));
        FillVertical(*graphics, shape, b.y, b.height, close ? ToArgb(kRed, 255, true) : ToArgb(kBlack, 80, true),
                     close ? ToArgb(kWhite, 30, true) : ToArgb(kWhite, 5, true));
        FillVertical(*graphics, shape, b.y, b.height, ToArgb(kWhite, 50, true), ToArgb(kBlack, 0, true));
        glyphX += static_cast<float>(s.Px(1));
        glyphY += static_cast<float>(s.Px(1));
    }
    if (glyph) {
        DrawGlyph(*graphics, form.backgroundDc.Get(), *glyph, restoreGlyph ? button.decodedAlt.key : button.decoded.key,
                  glyphX, glyphY, s);
    }
    if (graphics == &own) {
        own.DeleteGraphics();
        if (cache) {
            if (!cache->faces.IsValid() && cache->faces.Create(touchedWidth * kHoverFaceSlots, touchedHeight)) {
                cache->accent = context.accentColour;
                cache->maximised = form.maximised;
            }
            if (cache->faces.IsValid()) {
                ::BitBlt(cache->faces.Dc(), slot * touchedWidth, 0, touchedWidth, touchedHeight,
                         form.backgroundDc.Get(), touched.left, touched.top, SRCCOPY);
                cache->filled |= 1u << slot;
            }
        }
        CopyBackgroundToWindow(form, &touched);
    }
}
