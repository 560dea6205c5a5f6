#include "skin/window/caption_parts.h"

#include <memory>
#include <utility>

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "skin/paint/background_image.h"

namespace caption {

void ClientSize(HWND window, int& width, int& height) {
    RECT r{};
    ::GetClientRect(window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

void PrepareGraphics(GdipGraphics& graphics, HDC dc) {
    graphics.CreateFromHDC(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
}

void RestoreFromCache(const FormSkin& form, const OffscreenDc& cache, int x, int y, int width, int height) {
    if (!cache.IsValid() || !form.backgroundDc) return;
    ::BitBlt(form.backgroundDc.Get(), x, y, width, height, cache.Dc(), x, y, SRCCOPY);
}

void FillVertical(GdipGraphics& graphics, const GdipPath& shape, float top, float height, Gdiplus::ARGB from,
                  Gdiplus::ARGB to) {
    GdipLinearBrush brush;
    brush.CreateLineBrush(0, top, 0, top + height, from, to, kWrapTileFlipXY);
    graphics.FillPath(brush, shape);
}

bool HasSize(const OffscreenDc& cache, int width, int height) {
    if (!cache.IsValid()) return false;
    BITMAP bitmap{};
    HGDIOBJ current = ::GetCurrentObject(cache.Dc(), OBJ_BITMAP);
    return current && ::GetObjectA(current, sizeof bitmap, &bitmap) == sizeof bitmap && bitmap.bmWidth == width &&
           bitmap.bmHeight == height;
}

}  // namespace caption

const GdipImage* DecodeCached(DecodedImage& cache, const ByteArray& bytes) {
    if (bytes.empty()) return nullptr;
    const std::size_t key = HashBytes(bytes);
    if (!cache.image || cache.key != key) {
        auto image = std::make_shared<GdipImage>();
        if (!image->LoadImageFromStream(bytes)) {
            cache = DecodedImage();
            return nullptr;
        }
        cache.image = std::move(image);
        cache.key = key;
    }
    return cache.image.get();
}
