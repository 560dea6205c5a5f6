#include "skin/paint/shadowed_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/string_format.h"
#include "runtime/win_handles.h"
#include "skin/paint/background_image.h"
#include "skin/paint/paint_primitives.h"

namespace {

// Room round a text layer for glyphs that overhang their layout.
constexpr int kTextLayerMargin = 8;

}  // namespace

namespace {

// Text drawn over nothing: what it blends over any background, premultiplied,
// with the layer's place in the target.
struct TextLayer {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

// A transparent DIB the text layers are drawn in, kept between titles: a
// fresh one costs its allocation and a fault on every page it is drawn over.
struct TextScratch {
    std::mutex lock;
    BitmapHandle bitmap;
    MemoryDc dc;
    HGDIOBJ displaced = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;

    bool Hold(int w, int h) {
        if (bits && width >= w && height >= h) return true;
        if (dc && displaced) ::SelectObject(dc.Get(), displaced);
        bitmap = CreateArgbBitmap(std::max(w, width), std::max(h, height));
        if (!dc) dc.Reset(::CreateCompatibleDC(nullptr));
        bits = nullptr;
        if (!bitmap || !dc) return false;
        displaced = ::SelectObject(dc.Get(), bitmap.Get());
        width = std::max(w, width);
        height = std::max(h, height);
        std::ptrdiff_t pitch = 0;
        bits = DirectDibBits(dc.Get(), width, height, pitch);
        return bits != nullptr && pitch == width;
    }
};

TextScratch& Scratch() {
    static TextScratch* scratch = new TextScratch;  // lives as long as the process
    return *scratch;
}

bool DrawTextLayer(GdipGraphics& graphics, const Text& text, const GdipFont& font, const GdipStringFormat& format,
                   const Gdiplus::RectF& layout, Gdiplus::ARGB colour, TextLayer& layer) {
    const int left = static_cast<int>(std::floor(layout.X)) - kTextLayerMargin;
    const int top = static_cast<int>(std::floor(layout.Y)) - kTextLayerMargin;
    const int width = static_cast<int>(std::ceil(layout.X + layout.Width)) + kTextLayerMargin - left;
    const int height = static_cast<int>(std::ceil(layout.Y + layout.Height)) + kTextLayerMargin - top;
    TextScratch& scratch = Scratch();
    std::lock_guard<std::mutex> guard(scratch.lock);
    if (!scratch.Hold(width, height)) return false;
    for (int y = 0; y < height; ++y) std::fill_n(scratch.bits + y * scratch.width, width, 0u);
    {
        GdipGraphics drawing;
        drawing.CreateFromHDC(scratch.dc.Get());
        drawing.SetClipRectI(0, 0, width, height);
        drawing.SetSmoothingMode(graphics.GetSmoothingMode());
        drawing.SetTextRenderingHint(graphics.GetTextRenderingHint());
        drawing.SetPixelOffsetMode(graphics.GetPixelOffsetMode());
        GdipSolidBrush brush;
        brush.CreateSolidFill(colour);
        drawing.DrawString(text, font,
                           Gdiplus::RectF(layout.X - static_cast<float>(left), layout.Y - static_cast<float>(top),
                                          layout.Width, layout.Height),
                           format, brush);
    }
    ::GdiFlush();
    // Only the box round the drawn pixels is kept.
    int fromX = width, toX = 0, fromY = height, toY = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = scratch.bits + y * scratch.width;
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0) continue;
            fromX = std::min(fromX, x), toX = std::max(toX, x + 1);
            fromY = std::min(fromY, y), toY = std::max(toY, y + 1);
        }
    }
    layer.left = left + std::min(fromX, toX);
    layer.top = top + std::min(fromY, toY);
    layer.width = std::max(0, toX - fromX);
    layer.height = std::max(0, toY - fromY);
    layer.pixels.resize(static_cast<std::size_t>(layer.width) * layer.height);
    for (int y = 0; y < layer.height; ++y) {
        std::copy_n(scratch.bits + (fromY + y) * scratch.width + fromX, layer.width,
                    layer.pixels.begin() + static_cast<std::ptrdiff_t>(y) * layer.width);
    }
    return true;
}

void LayTextLayer(std::uint32_t* bits, std::ptrdiff_t pitch, int areaWidth, int areaHeight, const TextLayer& layer,
                  int offsetX, int offsetY) {
    const int dx = layer.left + offsetX, dy = layer.top + offsetY;
    for (int ly = std::max(0, -dy); ly < std::min(layer.height, areaHeight - dy); ++ly) {
        const std::uint32_t* from = &layer.pixels[static_cast<std::size_t>(ly) * layer.width];
        std::uint32_t* to = bits + (ly + dy) * pitch + dx;
        for (int lx = std::max(0, -dx); lx < std::min(layer.width, areaWidth - dx); ++lx) {
            if (from[lx] != 0) to[lx] = BlendPremultipliedOver(to[lx], from[lx]);
        }
    }
}

// Where a glyph's coverage has 65 levels and a brush of alpha A lays
// A * level / 64 of its colour (Wine's GDI+ does), the text in one colour is
// the text in another: the shadow follows from the face drawn opaque. False
// when the face's alpha is not one of those levels somewhere.
bool RecolourText(const TextLayer& opaque, Gdiplus::ARGB colour, TextLayer& out) {
    static const std::vector<int> levels = [] {
        std::vector<int> table(256, -1);
        for (int level = 0; level <= 64; ++level) table[static_cast<std::size_t>(255 * level / 64)] = level;
        return table;
    }();
    out = opaque;
    const std::uint32_t alpha = colour >> 24;
    for (std::uint32_t& pixel : out.pixels) {
        if (pixel == 0) continue;
        const int level = levels[pixel >> 24];
        if (level < 0) return false;
        const std::uint32_t a = alpha * static_cast<std::uint32_t>(level) / 64;
        auto channel = [&](int shift) { return (((colour >> shift) & 0xFF) * a + 127) / 255; };
        pixel = a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
    }
    return true;
}

// Whether recolouring gives what drawing gives, checked once per alpha on a
// sample with many coverage levels.
bool RecolouringHolds(GdipGraphics& graphics, const GdipFont& font, const GdipStringFormat& format, int alpha) {
    static std::mutex lock;
    static std::vector<std::pair<int, bool>> known;
    {
        std::lock_guard<std::mutex> guard(lock);
        for (const auto& k : known) {
            if (k.first == alpha) return k.second;
        }
    }
    const Text sample("Wg@&%8 软件更新 xyz");
    const Gdiplus::RectF layout(0, 0, 400, 40);
    const Gdiplus::ARGB tinted = static_cast<Gdiplus::ARGB>(alpha) << 24 | 0x22CADD;
    TextLayer opaque, drawn, derived;
    bool holds = DrawTextLayer(graphics, sample, font, format, layout, 0xFFFFFFFF, opaque) &&
                 DrawTextLayer(graphics, sample, font, format, layout, tinted, drawn) &&
                 RecolourText(opaque, tinted, derived) && derived.pixels == drawn.pixels;
    if (holds) {
        std::vector<bool> seen(256);
        for (std::uint32_t pixel : opaque.pixels) seen[pixel >> 24] = true;
        holds = std::count(seen.begin(), seen.end(), true) >= 8;  // a sample of several levels
    }
    std::lock_guard<std::mutex> guard(lock);
    known.emplace_back(alpha, holds);
    return holds;
}

}  // namespace

bool DrawShadowedText(GdipGraphics& graphics, HDC dc, const Text& text, const GdipFont& font,
                      const GdipStringFormat& format, const Gdiplus::RectF& layout, Gdiplus::ARGB shadow,
                      Gdiplus::ARGB face, int offset) {
    DIBSECTION target{};
    HGDIOBJ current = dc ? ::GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    if (!current || ::GetObjectA(current, sizeof target, &target) != sizeof target) return false;
    const int areaWidth = target.dsBm.bmWidth, areaHeight = target.dsBm.bmHeight;
    TextLayer faceLayer, shadowLayer;
    const bool recolour = (face >> 24) == 0xFF && RecolouringHolds(graphics, font, format, static_cast<int>(shadow >> 24));
    if (!DrawTextLayer(graphics, text, font, format, layout, face, faceLayer)) return false;
    if (!(recolour && RecolourText(faceLayer, shadow, shadowLayer)) &&
        !DrawTextLayer(graphics, text, font, format, layout, shadow, shadowLayer)) {
        return false;
    }
    graphics.Flush();
    std::ptrdiff_t pitch = 0;
    std::uint32_t* bits = DirectDibBits(dc, areaWidth, areaHeight, pitch);
    if (!bits) return false;
    // A shadow wider than a pixel is laid at every distance up to its width,
    // so it stays a ring round the strokes rather than four separate copies.
    for (int distance = 1; distance <= std::max(offset, 1); ++distance) {
        for (const auto& o : kShadowOffsets) {
            LayTextLayer(bits, pitch, areaWidth, areaHeight, shadowLayer, static_cast<int>(o[0]) * distance,
                         static_cast<int>(o[1]) * distance);
        }
    }
    LayTextLayer(bits, pitch, areaWidth, areaHeight, faceLayer, 0, 0);
    return true;
}
