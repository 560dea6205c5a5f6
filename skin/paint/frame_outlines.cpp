#include "skin/paint/frame_outlines.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "gdip/graphics.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "skin/paint/background_image.h"
#include "skin/paint/paint_primitives.h"

void StrokeFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                         int darkAlpha, FrameOutlines which, int lineWidth) {
    const int line = std::max(lineWidth, 1);
    const float pen = static_cast<float>(line);
    GdipPen dark, light;
    dark.CreatePen1(ToArgb(0x00000000, darkAlpha, true), pen);
    light.CreatePen1(ToArgb(0x00FFFFFF, 180, true), pen);
    // A pen's centre line lies half its width inside the band it covers: a
    // 1-pixel pen on the edge pixels, a wider one on as many pixels inwards.
    const float inset = 0.5f * static_cast<float>(line - 1);
    if (which != FrameOutlines::Light) {
        GdipPath outer;
        outer.CreatePath(0);
        AddRoundedRectangle(outer, inset, inset, static_cast<float>(width - 1) - 2 * inset,
                            static_cast<float>(height - 1) - 2 * inset, outerRadius);
        graphics.DrawPath(dark, outer);
    }
    if (which != FrameOutlines::Dark) {
        GdipPath inner;
        inner.CreatePath(0);
        const float in = static_cast<float>(line) + inset;
        AddRoundedRectangle(inner, in, in, static_cast<float>(width - 1) - 2 * in,
                            static_cast<float>(height - 1) - 2 * in, innerRadius);
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
    int lineWidth = 1;
    bool operator==(const FrameStampKey& o) const {
        return outerRadius == o.outerRadius && innerRadius == o.innerRadius && darkAlpha == o.darkAlpha &&
               smoothing == o.smoothing && pixelOffset == o.pixelOffset && lineWidth == o.lineWidth;
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
    return std::clamp(std::max(key.outerRadius, key.innerRadius), 1, 100) + 6 + 2 * key.lineWidth;
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
        StrokeFrameOutlines(graphics, side, side, key.outerRadius, key.innerRadius, key.darkAlpha, which,
                            key.lineWidth);
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
                        int darkAlpha, int lineWidth) {
    const FrameStampKey key{outerRadius, innerRadius, darkAlpha, graphics.GetSmoothingMode(),
                            graphics.GetPixelOffsetMode(), std::max(lineWidth, 1)};
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
                       int darkAlpha, int lineWidth) {
    if (StampFrameOutlines(graphics, width, height, outerRadius, innerRadius, darkAlpha, lineWidth)) return;
    StrokeFrameOutlines(graphics, width, height, outerRadius, innerRadius, darkAlpha, FrameOutlines::Both,
                        lineWidth);
}
