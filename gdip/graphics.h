// Graphics wrapper: a drawing surface on a window, a device context or an
// image, with its quality settings, transform, clip and drawing calls.
#pragma once

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

class GdipBrush;
class GdipFont;
class GdipImage;
class GdipPath;
class GdipPen;
class GdipRegion;
class GdipStringFormat;

// What MeasureString reports.
struct StringMeasure {
    Gdiplus::RectF bounds;
    int codepointsFitted = 0;
    int linesFilled = 0;
};

class GdipGraphics : public GdipObject<GdipGraphicsTraits> {
public:
    GdipGraphics() = default;
    GdipGraphics(GdipGraphics&&) noexcept = default;
    ~GdipGraphics() override { Destroy(); }

    void Destroy() { DeleteGraphics(); }
    GdipGraphics Clone() const;
    void NativeChanged() override {}

    bool DeleteGraphics();
    bool Flush(int intention = 0);
    // useIcm picks GdipCreateFromHWNDICM.
    bool CreateFromHWND(HWND window, bool useIcm = false);
    // With a device handle: GdipCreateFromHDC2.
    bool CreateFromHDC(HDC dc, HANDLE device = nullptr);
    bool GetImageGraphicsContext(const GdipImage& image);
    HDC GetDC();
    bool ReleaseDC(HDC dc);

    bool SetCompositingMode(int mode);
    int GetCompositingMode() const;
    bool SetCompositingQuality(int quality);
    int GetCompositingQuality() const;
    bool SetTextRenderingHint(int hint);
    int GetTextRenderingHint() const;
    bool SetInterpolationMode(int mode);
    int GetInterpolationMode() const;
    bool SetSmoothingMode(int mode);
    int GetSmoothingMode() const;
    bool SetPixelOffsetMode(int mode);
    int GetPixelOffsetMode() const;

    bool ResetWorldTransform();
    bool TranslateWorldTransform(float dx, float dy, int order = 0);
    bool ScaleWorldTransform(float sx, float sy, int order = 0);
    bool RotateWorldTransform(float angle, int order = 0);
    bool ScaleAt(float sx, float sy, float x, float y, int order = 0);
    bool RotateAt(float angle, float x, float y, int order = 0);
    bool SetPageUnit(int unit);
    int GetPageUnit() const;
    bool SetPageScale(float scale);
    float GetPageScale() const;
    float GetDpiX() const;
    float GetDpiY() const;

    bool GraphicsClear(Gdiplus::ARGB colour);
    bool DrawLine(const GdipPen& pen, float x1, float y1, float x2, float y2);
    bool DrawLineI(const GdipPen& pen, int x1, int y1, int x2, int y2);
    bool DrawRectangle(const GdipPen& pen, float x, float y, float width, float height);
    bool DrawRectangleI(const GdipPen& pen, int x, int y, int width, int height);
    bool DrawEllipse(const GdipPen& pen, float x, float y, float width, float height);
    bool DrawEllipseI(const GdipPen& pen, int x, int y, int width, int height);
    bool DrawArc(const GdipPen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool DrawArcI(const GdipPen& pen, int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool DrawPath(const GdipPen& pen, const GdipPath& path);
    bool FillRectangle(const GdipBrush& brush, float x, float y, float width, float height);
    bool FillRectangle(const GdipBrush& brush, const Gdiplus::RectF& rect);
    bool FillRectangleI(const GdipBrush& brush, int x, int y, int width, int height);
    bool FillEllipse(const GdipBrush& brush, float x, float y, float width, float height);
    bool FillEllipseI(const GdipBrush& brush, int x, int y, int width, int height);
    bool FillPath(const GdipBrush& brush, const GdipPath& path);
    bool FillRegion(const GdipBrush& brush, const GdipRegion& region);

    // Text in the layout rectangle; the wide variant takes a terminated wide
    // string. An empty format wrapper passes no format.
    bool DrawString(const Text& text, const GdipFont& font, const Gdiplus::RectF& layout,
                    const GdipStringFormat& format, const GdipBrush& brush);
    bool DrawString(const ByteArray& wideText, const GdipFont& font, const Gdiplus::RectF& layout,
                    const GdipStringFormat& format, const GdipBrush& brush);
    StringMeasure MeasureString(const Text& text, const GdipFont& font, const Gdiplus::RectF& layout,
                                const GdipStringFormat& format) const;
    StringMeasure MeasureString(const ByteArray& wideText, const GdipFont& font, const Gdiplus::RectF& layout,
                                const GdipStringFormat& format) const;

    bool DrawImage(const GdipImage& image, float x, float y);
    bool DrawImageI(const GdipImage& image, int x, int y);
    bool DrawImageRect(const GdipImage& image, float x, float y, float width, float height);
    bool DrawImageRectI(const GdipImage& image, int x, int y, int width, int height);
    // Source rectangle (sx, sy, sw, sh) in `unit` (2 pixel) into the destination.
    bool DrawImageRectRect(const GdipImage& image, float x, float y, float width, float height, float sx, float sy,
                           float sw, float sh, int unit = Gdiplus::UnitPixel);
    bool DrawImageRectRectI(const GdipImage& image, int x, int y, int width, int height, int sx, int sy, int sw,
                            int sh, int unit = Gdiplus::UnitPixel);

    // combine: 0 replace, 1 intersect, 2 union, 3 xor, 4 exclude, 5 complement.
    bool SetClipPath(const GdipPath& path, int combine = 0);
    bool SetClipRect(float x, float y, float width, float height, int combine = 0);
    bool SetClipRectI(int x, int y, int width, int height, int combine = 0);
    bool SetClipRegion(const GdipRegion& region, int combine = 0);
    bool SetClipHrgn(HRGN region, int combine = 0);
    bool ResetClip();
    Gdiplus::RectF GetClipBounds() const;
    // The saved state's number; 0 when saving failed.
    unsigned SaveGraphics();
    bool RestoreGraphics(unsigned state);
};
