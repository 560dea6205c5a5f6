#include "gdip/bitmap.h"

#include <cmath>

#include "gdip/brush.h"
#include "gdip/gdip_api.h"
#include "gdip/graphics.h"
#include "gdip/text_convert.h"

using namespace Gdiplus;

GdipBitmap GdipBitmap::Clone() const {
    GdipBitmap copy;
    copy.ShareImageFrom(*this);
    return copy;
}

bool GdipBitmap::CreateBitmapFromFile(const Text& fileName, bool useIcm) {
    return CreateBitmapFromFile(ToWide(fileName), useIcm);
}

bool GdipBitmap::CreateBitmapFromFile(const ByteArray& wideFileName, bool useIcm) {
    GpBitmap* created = nullptr;
    const wchar_t* name = WidePointer(wideFileName);
    GpStatus status = useIcm ? pGdipCreateBitmapFromFileICM(name, &created) : pGdipCreateBitmapFromFile(name, &created);
    return AdoptCreated(status, created);
}

bool GdipBitmap::CreateBitmapFromStream(const ByteArray& bytes, bool useIcm) {
    return LoadFromBytes(bytes, [useIcm](IStream* stream, GpImage** created) {
        GpBitmap* bitmap = nullptr;
        GpStatus status =
            useIcm ? pGdipCreateBitmapFromStreamICM(stream, &bitmap) : pGdipCreateBitmapFromStream(stream, &bitmap);
        *created = bitmap;
        return status;
    });
}

bool GdipBitmap::CreateBitmapFromScan0(int width, int height, int stride, PixelFormat format, BYTE* scan0) {
    GpBitmap* created = nullptr;
    return AdoptCreated(pGdipCreateBitmapFromScan0(width, height, stride, format, scan0, &created), created);
}

bool GdipBitmap::CreateBitmapFromScan0(int width, int height, PixelFormat format) {
    return CreateBitmapFromScan0(width, height, 0, format, nullptr);
}

bool GdipBitmap::CreateBitmapFromGraphics(int width, int height, const GdipGraphics& graphics) {
    GpBitmap* created = nullptr;
    return AdoptCreated(pGdipCreateBitmapFromGraphics(width, height, graphics.Get(), &created), created);
}

bool GdipBitmap::CreateBitmapFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
    GpBitmap* created = nullptr;
    return AdoptCreated(pGdipCreateBitmapFromHBITMAP(bitmap, palette, &created), created);
}

bool GdipBitmap::CreateBitmapFromHICON(HICON icon) {
    GpBitmap* created = nullptr;
    return AdoptCreated(pGdipCreateBitmapFromHICON(icon, &created), created);
}

HBITMAP GdipBitmap::CreateHBITMAPFromBitmap(ARGB background) {
    HBITMAP bitmap = nullptr;
    RecordGdipStatus(pGdipCreateHBITMAPFromBitmap(bitmap_, &bitmap, background));
    return bitmap;
}

HICON GdipBitmap::CreateHICONFromBitmap() {
    HICON icon = nullptr;
    RecordGdipStatus(pGdipCreateHICONFromBitmap(bitmap_, &icon));
    return icon;
}

GdipBitmap GdipBitmap::CloneBitmapArea(float x, float y, float width, float height, PixelFormat format) const {
    GdipBitmap copy;
    GpBitmap* created = nullptr;
    copy.AdoptCreated(pGdipCloneBitmapArea(x, y, width, height, format, bitmap_, &created), created);
    return copy;
}

GdipBitmap GdipBitmap::CloneBitmapAreaI(int x, int y, int width, int height, PixelFormat format) const {
    GdipBitmap copy;
    GpBitmap* created = nullptr;
    copy.AdoptCreated(pGdipCloneBitmapAreaI(x, y, width, height, format, bitmap_, &created), created);
    return copy;
}

bool GdipBitmap::BitmapLockBits(const Rect& rect, unsigned flags, PixelFormat format, BitmapData& data) {
    return RecordGdipStatus(pGdipBitmapLockBits(bitmap_, &rect, flags, format, &data));
}

bool GdipBitmap::BitmapUnlockBits(BitmapData& data) { return RecordGdipStatus(pGdipBitmapUnlockBits(bitmap_, &data)); }

ARGB GdipBitmap::BitmapGetPixel(int x, int y) const {
    ARGB colour = 0;
    RecordGdipStatus(pGdipBitmapGetPixel(bitmap_, x, y, &colour));
    return colour;
}

bool GdipBitmap::BitmapSetPixel(int x, int y, ARGB colour) {
    return RecordGdipStatus(pGdipBitmapSetPixel(bitmap_, x, y, colour));
}

bool GdipBitmap::BitmapSetResolution(float dpiX, float dpiY) {
    return RecordGdipStatus(pGdipBitmapSetResolution(bitmap_, dpiX, dpiY));
}

SizeF GdipBitmap::RotatedBounds(float width, float height, float angle) {
    double radians = angle * 3.14159265358979323846 / 180.0;
    double c = std::fabs(std::cos(radians));
    double s = std::fabs(std::sin(radians));
    return SizeF(static_cast<REAL>(width * c + height * s), static_cast<REAL>(width * s + height * c));
}

GdipBitmap GdipBitmap::RotateCopy(float angle, ARGB background) const {
    GdipBitmap turned;
    int width = GetImageWidth();
    int height = GetImageHeight();
    SizeF bounds = RotatedBounds(static_cast<float>(width), static_cast<float>(height), angle);
    // Round up, but not for the last bits of a right angle's cosine.
    int turnedWidth = static_cast<int>(std::ceil(bounds.Width - 0.001f));
    int turnedHeight = static_cast<int>(std::ceil(bounds.Height - 0.001f));
    if (!turned.CreateBitmapFromScan0(turnedWidth, turnedHeight)) return turned;
    turned.BitmapSetResolution(GetImageHorizontalResolution(), GetImageVerticalResolution());

    GdipGraphics graphics;
    if (!graphics.GetImageGraphicsContext(turned)) return turned;
    GdipSolidBrush ground;
    ground.CreateSolidFill(background);
    graphics.SetCompositingMode(CompositingModeSourceCopy);
    graphics.FillRectangleI(ground, 0, 0, turnedWidth, turnedHeight);
    graphics.SetCompositingMode(CompositingModeSourceOver);

    GpMatrix* matrix = nullptr;
    if (!RecordGdipStatus(pGdipCreateMatrix(&matrix))) return turned;
    RecordGdipStatus(pGdipTranslateMatrix(matrix, turnedWidth / 2.0f, turnedHeight / 2.0f, MatrixOrderPrepend));
    RecordGdipStatus(pGdipRotateMatrix(matrix, angle, MatrixOrderPrepend));
    RecordGdipStatus(pGdipSetWorldTransform(graphics.Get(), matrix));
    graphics.DrawImageRect(*this, -width / 2.0f, -height / 2.0f, static_cast<float>(width), static_cast<float>(height));
    graphics.ResetWorldTransform();
    pGdipDeleteMatrix(matrix);
    return turned;
}
