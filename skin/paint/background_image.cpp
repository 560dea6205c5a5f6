#include "skin/paint/background_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gdip/bitmap.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "runtime/msimg32_api.h"
#include "runtime/win_handles.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr std::size_t kKeptImages = 4;

struct KeptImage {
    std::size_t key = 0;
    std::size_t size = 0;
    std::shared_ptr<const ImagePixels> pixels;
};

std::mutex gKeptLock;
std::vector<KeptImage> gKept;  // most recent last

std::size_t BytesHash(const ByteArray& bytes) { return HashBytes(bytes); }

std::shared_ptr<const ImagePixels> Decode(const ByteArray& bytes) {
    GdipBitmap bitmap;
    if (!bitmap.CreateBitmapFromStream(bytes)) return nullptr;
    const int width = bitmap.GetImageWidth(), height = bitmap.GetImageHeight();
    if (width <= 0 || height <= 0) return nullptr;
    Gdiplus::BitmapData data{};
    if (!bitmap.BitmapLockBits(Gdiplus::Rect(0, 0, width, height), Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                               data)) {
        return nullptr;
    }
    auto pixels = std::make_shared<ImagePixels>();
    pixels->width = width;
    pixels->height = height;
    pixels->argb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(&pixels->argb[static_cast<std::size_t>(y) * width], row, static_cast<std::size_t>(width) * 4);
    }
    bitmap.BitmapUnlockBits(data);
    pixels->opaque = std::all_of(pixels->argb.begin(), pixels->argb.end(),
                                 [](std::uint32_t p) { return (p >> 24) == 0xFF; });
    return pixels;
}

// One source coordinate of a destination column or row: the two neighbours
// and the weight of the second (0..255), as GDI+ rounds it.
struct Tap {
    int first = 0;
    int second = 0;
    int weight = 0;
};

std::vector<Tap> Taps(int destFrom, int destTo, int destOrigin, int destLength, int sourceLength) {
    std::vector<Tap> taps;
    taps.reserve(static_cast<std::size_t>(std::max(0, destTo - destFrom)));
    const float step = static_cast<float>(sourceLength) / static_cast<float>(destLength);
    for (int d = destFrom; d < destTo; ++d) {
        const float point = static_cast<float>(d - destOrigin) * step;
        const float low = std::floor(point);
        Tap tap;
        tap.first = static_cast<int>(low);
        tap.second = static_cast<int>(std::ceil(point));
        tap.weight = static_cast<int>(std::floor((point - low) * 255.0f + 0.5f));
        taps.push_back(tap);
    }
    return taps;
}

// Two colours blended by weight (0..255) in proportion to their alpha;
// transparent when the blend holds almost no alpha.
std::uint32_t Blend(std::uint32_t start, std::uint32_t end, int weight) {
    const int startAlpha = static_cast<int>(start >> 24) * (weight ^ 0xFF);
    const int endAlpha = static_cast<int>(end >> 24) * weight;
    const int total = startAlpha + endAlpha;
    if (total < 0xFF) return 0;
    auto channel = [&](int shift) {
        return static_cast<std::uint32_t>(
            (static_cast<int>((start >> shift) & 0xFF) * startAlpha + static_cast<int>((end >> shift) & 0xFF) * endAlpha) /
            total);
    };
    return static_cast<std::uint32_t>(total / 0xFF) << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// The same blend for opaque colours, three channels at once: each channel in
// a 16-bit lane of a 64-bit word, floor(n / 255) as (n + 1 + (n >> 8)) >> 8,
// exact for every n up to 255 * 255.
constexpr std::uint64_t kLanes = 0x00FF00FF00FFull;
constexpr std::uint64_t kLaneOnes = 0x000100010001ull;

std::uint64_t Spread(std::uint32_t pixel) {
    return (static_cast<std::uint64_t>(pixel & 0xFF0000) << 16) | (static_cast<std::uint64_t>(pixel & 0xFF00) << 8) |
           (pixel & 0xFF);
}

std::uint64_t LerpLanes(std::uint64_t start, std::uint64_t end, int weight) {
    const std::uint64_t n = start * static_cast<std::uint64_t>(weight ^ 0xFF) + end * static_cast<std::uint64_t>(weight);
    return ((n + kLaneOnes + ((n >> 8) & kLanes)) >> 8) & kLanes;
}

std::uint32_t PackOpaque(std::uint64_t lanes) {
    return 0xFF000000u | static_cast<std::uint32_t>((lanes >> 16) & 0xFF0000) |
           static_cast<std::uint32_t>((lanes >> 8) & 0xFF00) | static_cast<std::uint32_t>(lanes & 0xFF);
}

// A pixel of the source; outside it, transparent.
std::uint32_t Sample(const ImagePixels& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0;
    return image.argb[static_cast<std::size_t>(y) * image.width + x];
}

std::uint32_t Premultiplied(std::uint32_t pixel) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0xFF) return pixel;
    auto channel = [&](int shift) { return (((pixel >> shift) & 0xFF) * alpha + 127) / 255; };
    return alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// A premultiplied pixel over an opaque one.
std::uint32_t Over(std::uint32_t source, std::uint32_t below) {
    const std::uint32_t keep = 0xFF - (source >> 24);
    auto channel = [&](int shift) {
        return std::min<std::uint32_t>(0xFF, ((source >> shift) & 0xFF) + (((below >> shift) & 0xFF) * keep + 127) / 0xFF);
    };
    return 0xFF000000u | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// A pixel of the stretched image from its four neighbours, any of which may
// lie outside the image (transparent there).
std::uint32_t BlendedSample(const ImagePixels& image, const Tap& column, const Tap& row) {
    const std::uint32_t top =
        Blend(Sample(image, column.first, row.first), Sample(image, column.second, row.first), column.weight);
    const std::uint32_t bottom =
        Blend(Sample(image, column.first, row.second), Sample(image, column.second, row.second), column.weight);
    return Blend(top, bottom, row.weight);
}

// Each column's weight and its complement, four 16-bit lanes each (one per
// channel), ready to be loaded two columns at a time.
struct StretchWeights {
    explicit StretchWeights(const std::vector<Tap>& columns) : lanes(columns.size() * 8) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            for (std::size_t k = 0; k < 4; ++k) {
                lanes[c * 4 + k] = static_cast<std::uint16_t>(columns[c].weight);
                lanes[columns.size() * 4 + c * 4 + k] = static_cast<std::uint16_t>(columns[c].weight ^ 0xFF);
            }
        }
    }
    const std::uint16_t* Weight(int column) const { return &lanes[static_cast<std::size_t>(column) * 4]; }
    const std::uint16_t* Complement(int column) const { return &lanes[lanes.size() / 2 + static_cast<std::size_t>(column) * 4]; }
    std::vector<std::uint16_t> lanes;
};

std::uint32_t StretchOpaquePixel(const std::uint32_t* upper, const std::uint32_t* lower, const Tap& column,
                                 int rowWeight) {
    const std::uint64_t top = LerpLanes(Spread(upper[column.first]), Spread(upper[column.second]), column.weight);
    const std::uint64_t bottom = LerpLanes(Spread(lower[column.first]), Spread(lower[column.second]), column.weight);
    return PackOpaque(LerpLanes(top, bottom, rowWeight));
}

#if defined(__SSE2__)
// floor(n / 255) in every 16-bit lane as (n * 0x8081) >> 23, exact for n up to 65534.
inline __m128i DivideBy255(__m128i n) {
    return _mm_srli_epi16(_mm_mulhi_epu16(n, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}
#endif

// Columns [from, to) of one destination row of an opaque image whose taps
// and the pixels right of their first neighbours all lie inside it: the same three blends as StretchOpaquePixel, two
// pixels at a time where the processor has the lanes for it.
void StretchOpaqueRun(const std::uint32_t* upper, const std::uint32_t* lower, const Tap* columns,
                      const StretchWeights& weights, int from, int to, int rowWeight, std::uint32_t* line) {
    int c = from;
#if defined(__SSE2__)
    const __m128i down = _mm_set1_epi16(static_cast<short>(rowWeight));
    const __m128i keep = _mm_set1_epi16(static_cast<short>(rowWeight ^ 0xFF));
    const __m128i zero = _mm_setzero_si128();
    for (; c + 2 <= to; c += 2) {
        // Each column's two neighbours side by side: (a0 b0) and (a1 b1) as channel lanes.
        auto neighbours = [&](const std::uint32_t* source, __m128i& firsts, __m128i& seconds) {
            const __m128i mixed =
                _mm_unpacklo_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + columns[c].first)),
                                   _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + columns[c + 1].first)));
            firsts = _mm_unpacklo_epi8(mixed, zero);
            seconds = _mm_unpackhi_epi8(mixed, zero);
        };
        const __m128i weight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights.Weight(c)));
        const __m128i complement = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights.Complement(c)));
        __m128i firsts, seconds;
        neighbours(upper, firsts, seconds);
        const __m128i top =
            DivideBy255(_mm_add_epi16(_mm_mullo_epi16(firsts, complement), _mm_mullo_epi16(seconds, weight)));
        neighbours(lower, firsts, seconds);
        const __m128i bottom =
            DivideBy255(_mm_add_epi16(_mm_mullo_epi16(firsts, complement), _mm_mullo_epi16(seconds, weight)));
        const __m128i blended = DivideBy255(_mm_add_epi16(_mm_mullo_epi16(top, keep), _mm_mullo_epi16(bottom, down)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(line + c), _mm_packus_epi16(blended, blended));
    }
#else
    (void)weights;
#endif
    for (; c < to; ++c) line[c] = StretchOpaquePixel(upper, lower, columns[c], rowWeight);
}

// White premultiplied by alpha over every channel of a row of pixels.
void LayWhiteOver(std::uint32_t* row, int width, std::uint32_t alpha) {
    int x = 0;
#if defined(__SSE2__)
    // alpha + floor((below * (255 - alpha) + 127) / 255), sixteen channels at a time.
    const __m128i keep = _mm_set1_epi16(static_cast<short>(0xFF - alpha));
    const __m128i half = _mm_set1_epi16(127);
    const __m128i white = _mm_set1_epi16(static_cast<short>(alpha));
    auto overLanes = [&](__m128i below) {
        return _mm_add_epi16(white, DivideBy255(_mm_add_epi16(_mm_mullo_epi16(below, keep), half)));
    };
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        const __m128i low = overLanes(_mm_unpacklo_epi8(pixels, _mm_setzero_si128()));
        const __m128i high = overLanes(_mm_unpackhi_epi8(pixels, _mm_setzero_si128()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_packus_epi16(low, high));
    }
#endif
    auto over = [alpha](std::uint32_t below) { return alpha + (below * (0xFF - alpha) + 127) / 0xFF; };
    for (; x < width; ++x) {
        const std::uint32_t p = row[x];
        row[x] = over(p >> 24) << 24 | over((p >> 16) & 0xFF) << 16 | over((p >> 8) & 0xFF) << 8 | over(p & 0xFF);
    }
}

}  // namespace

// GetObject reports every DIB's height as
// positive, so the row order is told by changing the first word of the bits
// and reading the pixel at (0, 0) back.
std::uint32_t* DirectDibBits(HDC dc, int width, int height, std::ptrdiff_t& pitch) {
    DIBSECTION target{};
    HGDIOBJ current = dc ? ::GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    if (!current || ::GetObjectA(current, sizeof target, &target) != sizeof target || !target.dsBm.bmBits ||
        target.dsBm.bmBitsPixel != 32 || target.dsBm.bmWidth < width || target.dsBm.bmHeight < height) {
        return nullptr;
    }
    ::GdiFlush();
    auto* bits = static_cast<std::uint32_t*>(target.dsBm.bmBits);
    const std::uint32_t kept = bits[0];
    const std::uint32_t marker = kept ^ 0x00A5A5A5u;
    bits[0] = marker;
    const COLORREF seen = ::GetPixel(dc, 0, 0);
    bits[0] = kept;
    const COLORREF expected = RGB((marker >> 16) & 0xFF, (marker >> 8) & 0xFF, marker & 0xFF);
    if (seen != expected && target.dsBm.bmHeight > 1) return nullptr;
    pitch = target.dsBm.bmWidthBytes / 4;
    return bits;
}

std::uint32_t BlendPremultipliedOver(std::uint32_t below, std::uint32_t above) {
    const std::uint32_t keep = 0xFF - (above >> 24);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t c = ((above >> shift) & 0xFF) + (((below >> shift) & 0xFF) * keep + 127) / 0xFF;
        result |= std::min<std::uint32_t>(c, 0xFF) << shift;
    }
    return result;
}

std::size_t HashBytes(const ByteArray& bytes) {
    // Eight bytes a step: images are hashed on every rebuild to tell whether they changed.
    std::uint64_t hash = 1469598103934665603ull ^ bytes.size();
    const std::size_t whole = bytes.size() / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 1099511628211ull;
        hash ^= hash >> 29;
    }
    for (std::size_t i = whole; i < bytes.size(); ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool FillOpaqueDirect(HDC dc, int width, int height, COLORREF colour) {
    if (width <= 0 || height <= 0) return true;
    std::ptrdiff_t pitch = 0;
    std::uint32_t* bits = DirectDibBits(dc, width, height, pitch);
    if (!bits) return false;
    const std::uint32_t pixel = 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
                                (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    for (int y = 0; y < height; ++y) std::fill_n(bits + y * pitch, width, pixel);
    return true;
}

bool FadeWhiteDownDirect(HDC dc, int width, int rows, int length, int alphaTop) {
    if (width <= 0 || rows <= 0 || length <= 0) return true;
    std::ptrdiff_t pitch = 0;
    std::uint32_t* bits = DirectDibBits(dc, width, rows, pitch);
    if (!bits) return false;
    for (int y = 0; y < std::min(rows, length); ++y) {
        // The row's place along the gradient, rounded to 1/255, then the two
        // ends blended by their alpha (the seconds end has none).
        const float position = static_cast<float>(y) / static_cast<float>(length);
        const int weight = static_cast<int>(std::floor(position * 255.0f + 0.5f));
        const int startAlpha = alphaTop * (weight ^ 0xFF);
        const std::uint32_t alpha = startAlpha < 0xFF ? 0 : static_cast<std::uint32_t>(startAlpha / 0xFF);
        if (alpha == 0) continue;
        LayWhiteOver(bits + y * pitch, width, alpha);
    }
    return true;
}

bool CoversOpaquely(const ImagePixels& image, int areaWidth, int areaHeight, int x, int y, int width, int height) {
    if (!image.opaque || x > 0 || y > 0 || x + width < areaWidth || y + height < areaHeight) return false;
    // The last column and row must take both neighbours from inside the image.
    const float stepX = static_cast<float>(image.width) / static_cast<float>(width);
    const float stepY = static_cast<float>(image.height) / static_cast<float>(height);
    return std::ceil(static_cast<float>(areaWidth - 1 - x) * stepX) < static_cast<float>(image.width) &&
           std::ceil(static_cast<float>(areaHeight - 1 - y) * stepY) < static_cast<float>(image.height);
}

std::shared_ptr<const ImagePixels> DecodeImagePixels(const ByteArray& bytes) {
    if (bytes.empty()) return nullptr;
    const std::size_t key = BytesHash(bytes);
    {
        std::lock_guard<std::mutex> guard(gKeptLock);
        for (const KeptImage& kept : gKept) {
            if (kept.key == key && kept.size == bytes.size()) return kept.pixels;
        }
    }
    std::shared_ptr<const ImagePixels> pixels = Decode(bytes);
    if (!pixels) return nullptr;
    std::lock_guard<std::mutex> guard(gKeptLock);
    if (gKept.size() >= kKeptImages) gKept.erase(gKept.begin());
    gKept.push_back(KeptImage{key, bytes.size(), pixels});
    return pixels;
}

bool DrawImagePixels(HDC dc, int areaWidth, int areaHeight, const ImagePixels& image, int x, int y, int width,
                     int height) {
    if (!dc || width <= 0 || height <= 0 || image.width <= 0 || image.height <= 0) return false;
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = std::min(areaWidth, x + width), bottom = std::min(areaHeight, y + height);
    if (left >= right || top >= bottom) return false;
    const int outWidth = right - left, outHeight = bottom - top;

    // An opaque image over a 32-bit top-down DIB is written straight into its
    // bits; otherwise through a DIB of its own, blended.
    std::ptrdiff_t targetPitch = 0;
    std::uint32_t* targetBits = image.opaque ? DirectDibBits(dc, right, bottom, targetPitch) : nullptr;
    const bool direct = targetBits != nullptr;
    BitmapHandle bitmap;
    MemoryDc memory;
    std::uint32_t* out = nullptr;
    std::ptrdiff_t pitch = outWidth;
    if (direct) {
        pitch = targetPitch;
        out = targetBits + static_cast<std::ptrdiff_t>(top) * pitch + left;
    } else {
        void* bits = nullptr;
        bitmap = CreateArgbBitmap(outWidth, outHeight, &bits);
        memory.Reset(::CreateCompatibleDC(nullptr));
        if (!bitmap || !memory || !bits) return false;
        out = static_cast<std::uint32_t*>(bits);
    }

    const std::vector<Tap> columns = Taps(left, right, x, width, image.width);
    const std::vector<Tap> rows = Taps(top, bottom, y, height, image.height);
    // The columns whose two neighbours both lie inside the image: one run,
    // as the taps only grow from left to right.
    int insideFrom = 0, insideTo = outWidth;
    while (insideFrom < outWidth && columns[static_cast<std::size_t>(insideFrom)].first < 0) ++insideFrom;
    // The run reads each column's first neighbour and the pixel after it (the
    // second neighbour, or unweighted where the two are one).
    while (insideTo > insideFrom && columns[static_cast<std::size_t>(insideTo - 1)].first + 1 >= image.width) --insideTo;
    const StretchWeights weights(columns);
    for (int r = 0; r < outHeight; ++r) {
        const Tap& row = rows[static_cast<std::size_t>(r)];
        std::uint32_t* line = out + static_cast<std::ptrdiff_t>(r) * pitch;
        // A pixel blending towards the transparent outside is laid over
        // what the target holds when writing into it directly.
        auto edge = [&](int c) {
            const std::uint32_t pixel = BlendedSample(image, columns[static_cast<std::size_t>(c)], row);
            line[c] = direct && (pixel >> 24) != 0xFF ? Over(Premultiplied(pixel), line[c]) : pixel;
        };
        int c = 0;
        if (image.opaque && row.first >= 0 && row.second < image.height) {
            for (; c < insideFrom; ++c) edge(c);
            StretchOpaqueRun(&image.argb[static_cast<std::size_t>(row.first) * image.width],
                             &image.argb[static_cast<std::size_t>(row.second) * image.width], columns.data(), weights,
                             insideFrom, insideTo, row.weight, line);
            c = insideTo;
        }
        for (; c < outWidth; ++c) edge(c);
    }

    if (direct) return true;
    ScopedSelect select(memory.Get(), bitmap.Get());
    bool drawn;
    const bool allOpaque = std::all_of(out, out + static_cast<std::ptrdiff_t>(outWidth) * outHeight,
                                       [](std::uint32_t p) { return (p >> 24) == 0xFF; });
    if (allOpaque) {
        drawn = ::BitBlt(dc, left, top, outWidth, outHeight, memory.Get(), 0, 0, SRCCOPY) != FALSE;
    } else {
        for (std::uint32_t* p = out; p != out + static_cast<std::ptrdiff_t>(outWidth) * outHeight; ++p) {
            *p = Premultiplied(*p);
        }
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 0xFF, AC_SRC_ALPHA};
        drawn = pAlphaBlend(dc, left, top, outWidth, outHeight, memory.Get(), 0, 0, outWidth, outHeight, blend) != FALSE;
    }
    return drawn;
}

namespace {

// An image as GDI+ draws it at a size (its natural one unless scaled) at an
// integral point, over nothing: what it blends over any background, premultiplied.
struct DrawnImage {
    std::size_t key = 0;
    int modes = 0;
    int drawnWidth = 0, drawnHeight = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Room round the image for what interpolation spreads beyond it.
constexpr int kDrawnImageMargin = 2;
constexpr std::size_t kKeptDrawnImages = 16;
std::mutex gDrawnLock;
std::vector<std::shared_ptr<const DrawnImage>> gDrawn;  // most recent last

std::shared_ptr<const DrawnImage> DrawImageOnce(const GdipGraphics& graphics, const GdipImage& image, std::size_t key,
                                                int modes, int imageWidth, int imageHeight) {
    {
        std::lock_guard<std::mutex> guard(gDrawnLock);
        for (const auto& drawn : gDrawn) {
            if (drawn->key == key && drawn->modes == modes && drawn->drawnWidth == imageWidth &&
                drawn->drawnHeight == imageHeight) {
                return drawn;
            }
        }
    }
    if (imageWidth <= 0 || imageHeight <= 0) return nullptr;
    auto drawn = std::make_shared<DrawnImage>();
    drawn->key = key;
    drawn->modes = modes;
    drawn->drawnWidth = imageWidth;
    drawn->drawnHeight = imageHeight;
    drawn->width = imageWidth + 2 * kDrawnImageMargin;
    drawn->height = imageHeight + 2 * kDrawnImageMargin;
    void* bits = nullptr;
    BitmapHandle bitmap = CreateArgbBitmap(drawn->width, drawn->height, &bits);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits) return nullptr;
    {
        ScopedSelect select(dc.Get(), bitmap.Get());
        GdipGraphics layer;
        layer.CreateFromHDC(dc.Get());
        layer.SetInterpolationMode(graphics.GetInterpolationMode());
        layer.SetSmoothingMode(graphics.GetSmoothingMode());
        layer.SetPixelOffsetMode(graphics.GetPixelOffsetMode());
        layer.DrawImageRect(image, static_cast<float>(kDrawnImageMargin), static_cast<float>(kDrawnImageMargin),
                            static_cast<float>(imageWidth), static_cast<float>(imageHeight));
    }
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    drawn->pixels.assign(first, first + static_cast<std::size_t>(drawn->width) * drawn->height);
    std::lock_guard<std::mutex> guard(gDrawnLock);
    if (gDrawn.size() >= kKeptDrawnImages) gDrawn.erase(gDrawn.begin());
    gDrawn.push_back(drawn);
    return drawn;
}

}  // namespace

bool LayImage(GdipGraphics& graphics, HDC dc, const GdipImage& image, std::size_t imageKey, float x, float y) {
    return LayImage(graphics, dc, image, imageKey, x, y, static_cast<int>(image.GetImageWidth()),
                    static_cast<int>(image.GetImageHeight()));
}

bool LayImage(GdipGraphics& graphics, HDC dc, const GdipImage& image, std::size_t imageKey, float x, float y,
              int width, int height) {
    const int left = static_cast<int>(x), top = static_cast<int>(y);
    if (static_cast<float>(left) != x || static_cast<float>(top) != y ||
        graphics.GetCompositingMode() != Gdiplus::CompositingModeSourceOver) {
        return false;
    }
    DIBSECTION target{};
    HGDIOBJ current = dc ? ::GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    if (!current || ::GetObjectA(current, sizeof target, &target) != sizeof target) return false;
    const int areaWidth = target.dsBm.bmWidth, areaHeight = target.dsBm.bmHeight;
    const Gdiplus::RectF clip = graphics.GetClipBounds();
    if (clip.X > 0 || clip.Y > 0 || clip.X + clip.Width < static_cast<float>(areaWidth) ||
        clip.Y + clip.Height < static_cast<float>(areaHeight)) {
        return false;
    }
    const int modes = graphics.GetInterpolationMode() | graphics.GetSmoothingMode() << 8 |
                      graphics.GetPixelOffsetMode() << 16;
    const std::shared_ptr<const DrawnImage> drawn = DrawImageOnce(graphics, image, imageKey, modes, width, height);
    if (!drawn) return false;
    graphics.Flush();
    std::ptrdiff_t pitch = 0;
    std::uint32_t* bits = DirectDibBits(dc, areaWidth, areaHeight, pitch);
    if (!bits) return false;
    const int dx = left - kDrawnImageMargin, dy = top - kDrawnImageMargin;
    for (int ly = std::max(0, -dy); ly < std::min(drawn->height, areaHeight - dy); ++ly) {
        const std::uint32_t* from = &drawn->pixels[static_cast<std::size_t>(ly) * drawn->width];
        std::uint32_t* to = bits + (ly + dy) * pitch + dx;
        for (int lx = std::max(0, -dx); lx < std::min(drawn->width, areaWidth - dx); ++lx) {
            if (from[lx] != 0) to[lx] = BlendPremultipliedOver(to[lx], from[lx]);
        }
    }
    return true;
}
