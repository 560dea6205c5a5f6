// Bitmap wrapper: an image with pixels the program can make, read and turn.
#pragma once

#include <utility>

#include "gdip/image.h"

class GdipGraphics;

class GdipBitmap : public GdipImage {
public:
    GdipBitmap() = default;
    // The moved-from wrapper is left empty, its typed copy included.
    GdipBitmap(GdipBitmap&& other) noexcept
        : GdipImage(std::move(other)), bitmap_(std::exchange(other.bitmap_, nullptr)) {}

    GdipBitmap Clone() const;
    void NativeChanged() override { bitmap_ = static_cast<Gdiplus::GpBitmap*>(Get()); }

    // Bitmaps load through the bitmap functions.
    bool LoadImageFromFile(const Text&, bool = false) = delete;
    bool LoadImageFromFile(const ByteArray&, bool = false) = delete;
    bool LoadImageFromStream(const ByteArray&, bool = false) = delete;
    bool CreateBitmapFromFile(const Text& fileName, bool useIcm = false);
    bool CreateBitmapFromFile(const ByteArray& wideFileName, bool useIcm = false);
    // From the bytes of an image file; the bytes live on in the bitmap's stream.
    bool CreateBitmapFromStream(const ByteArray& bytes, bool useIcm = false);

    bool CreateBitmapFromScan0(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* scan0);
    // Stride 0 and no pixel buffer; 32 bpp ARGB unless a format is given.
    bool CreateBitmapFromScan0(int width, int height, Gdiplus::PixelFormat format = kPixelFormat32bppArgb);
    bool CreateBitmapFromGraphics(int width, int height, const GdipGraphics& graphics);
    bool CreateBitmapFromHBITMAP(HBITMAP bitmap, HPALETTE palette = nullptr);
    bool CreateBitmapFromHICON(HICON icon);
    // A new GDI bitmap the caller deletes; null on failure.
    HBITMAP CreateHBITMAPFromBitmap(Gdiplus::ARGB background = 0);
    // A new icon the caller destroys; null on failure.
    HICON CreateHICONFromBitmap();
    GdipBitmap CloneBitmapArea(float x, float y, float width, float height, Gdiplus::PixelFormat format) const;
    GdipBitmap CloneBitmapAreaI(int x, int y, int width, int height, Gdiplus::PixelFormat format) const;
    bool BitmapLockBits(const Gdiplus::Rect& rect, unsigned flags, Gdiplus::PixelFormat format,
                        Gdiplus::BitmapData& data);
    bool BitmapUnlockBits(Gdiplus::BitmapData& data);
    Gdiplus::ARGB BitmapGetPixel(int x, int y) const;
    bool BitmapSetPixel(int x, int y, Gdiplus::ARGB colour);
    bool BitmapSetResolution(float dpiX, float dpiY);

    // A new bitmap holding this one turned by `angle` degrees (clockwise)
    // about its centre, on a `background` ground, sized to RotatedBounds.
    GdipBitmap RotateCopy(float angle, Gdiplus::ARGB background = 0) const;
    // Width and height of the box that holds a width x height rectangle
    // turned by `angle` degrees.
    static Gdiplus::SizeF RotatedBounds(float width, float height, float angle);

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};
