#include "gdip/graphics.h"

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/gdip_api.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/region.h"
#include "gdip/string_format.h"
#include "gdip/text_convert.h"

using namespace Gdiplus;

GdipGraphics GdipGraphics::Clone() const {
    GdipGraphics copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipGraphics::DeleteGraphics() { return DeleteWith(pGdipDeleteGraphics); }

bool GdipGraphics::Flush(int intention) {
    return RecordGdipStatus(pGdipFlush(Get(), static_cast<GpFlushIntention>(intention)));
}

bool GdipGraphics::CreateFromHWND(HWND window, bool useIcm) {
    GpGraphics* created = nullptr;
    GpStatus status = useIcm ? pGdipCreateFromHWNDICM(window, &created) : pGdipCreateFromHWND(window, &created);
    return AdoptCreated(status, created);
}

bool GdipGraphics::CreateFromHDC(HDC dc, HANDLE device) {
    GpGraphics* created = nullptr;
    GpStatus status = device ? pGdipCreateFromHDC2(dc, device, &created) : pGdipCreateFromHDC(dc, &created);
    return AdoptCreated(status, created);
}

bool GdipGraphics::GetImageGraphicsContext(const GdipImage& image) {
    GpGraphics* created = nullptr;
    return AdoptCreated(pGdipGetImageGraphicsContext(image.Get(), &created), created);
}

HDC GdipGraphics::GetDC() {
    HDC dc = nullptr;
    RecordGdipStatus(pGdipGetDC(Get(), &dc));
    return dc;
}

bool GdipGraphics::ReleaseDC(HDC dc) { return RecordGdipStatus(pGdipReleaseDC(Get(), dc)); }

bool GdipGraphics::SetCompositingMode(int mode) {
    return RecordGdipStatus(pGdipSetCompositingMode(Get(), static_cast<CompositingMode>(mode)));
}

int GdipGraphics::GetCompositingMode() const {
    CompositingMode mode = CompositingModeSourceOver;
    RecordGdipStatus(pGdipGetCompositingMode(Get(), &mode));
    return static_cast<int>(mode);
}

bool GdipGraphics::SetCompositingQuality(int quality) {
    return RecordGdipStatus(pGdipSetCompositingQuality(Get(), static_cast<CompositingQuality>(quality)));
}

int GdipGraphics::GetCompositingQuality() const {
    CompositingQuality quality = CompositingQualityDefault;
    RecordGdipStatus(pGdipGetCompositingQuality(Get(), &quality));
    return static_cast<int>(quality);
}

bool GdipGraphics::SetTextRenderingHint(int hint) {
    return RecordGdipStatus(pGdipSetTextRenderingHint(Get(), static_cast<TextRenderingHint>(hint)));
}

int GdipGraphics::GetTextRenderingHint() const {
    TextRenderingHint hint = TextRenderingHintSystemDefault;
    RecordGdipStatus(pGdipGetTextRenderingHint(Get(), &hint));
    return static_cast<int>(hint);
}

bool GdipGraphics::SetInterpolationMode(int mode) {
    return RecordGdipStatus(pGdipSetInterpolationMode(Get(), static_cast<InterpolationMode>(mode)));
}

int GdipGraphics::GetInterpolationMode() const {
    InterpolationMode mode = InterpolationModeDefault;
    RecordGdipStatus(pGdipGetInterpolationMode(Get(), &mode));
    return static_cast<int>(mode);
}

bool GdipGraphics::SetSmoothingMode(int mode) {
    return RecordGdipStatus(pGdipSetSmoothingMode(Get(), static_cast<SmoothingMode>(mode)));
}

int GdipGraphics::GetSmoothingMode() const {
    SmoothingMode mode = SmoothingModeDefault;
    RecordGdipStatus(pGdipGetSmoothingMode(Get(), &mode));
    return static_cast<int>(mode);
}

bool GdipGraphics::SetPixelOffsetMode(int mode) {
    return RecordGdipStatus(pGdipSetPixelOffsetMode(Get(), static_cast<PixelOffsetMode>(mode)));
}

int GdipGraphics::GetPixelOffsetMode() const {
    PixelOffsetMode mode = PixelOffsetModeDefault;
    RecordGdipStatus(pGdipGetPixelOffsetMode(Get(), &mode));
    return static_cast<int>(mode);
}

bool GdipGraphics::ResetWorldTransform() { return RecordGdipStatus(pGdipResetWorldTransform(Get())); }

bool GdipGraphics::TranslateWorldTransform(float dx, float dy, int order) {
    return RecordGdipStatus(pGdipTranslateWorldTransform(Get(), dx, dy, static_cast<GpMatrixOrder>(order)));
}

bool GdipGraphics::ScaleWorldTransform(float sx, float sy, int order) {
    return RecordGdipStatus(pGdipScaleWorldTransform(Get(), sx, sy, static_cast<GpMatrixOrder>(order)));
}

bool GdipGraphics::RotateWorldTransform(float angle, int order) {
    return RecordGdipStatus(pGdipRotateWorldTransform(Get(), angle, static_cast<GpMatrixOrder>(order)));
}

bool GdipGraphics::ScaleAt(float sx, float sy, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslateWorldTransform(dx, dy, order); },
        [&] { return ScaleWorldTransform(sx, sy, order); });
}

bool GdipGraphics::RotateAt(float angle, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslateWorldTransform(dx, dy, order); },
        [&] { return RotateWorldTransform(angle, order); });
}

bool GdipGraphics::SetPageUnit(int unit) { return RecordGdipStatus(pGdipSetPageUnit(Get(), static_cast<GpUnit>(unit))); }

int GdipGraphics::GetPageUnit() const {
    GpUnit unit = UnitWorld;
    RecordGdipStatus(pGdipGetPageUnit(Get(), &unit));
    return static_cast<int>(unit);
}

bool GdipGraphics::SetPageScale(float scale) { return RecordGdipStatus(pGdipSetPageScale(Get(), scale)); }

float GdipGraphics::GetPageScale() const {
    REAL scale = 0;
    RecordGdipStatus(pGdipGetPageScale(Get(), &scale));
    return scale;
}

float GdipGraphics::GetDpiX() const {
    REAL dpi = 0;
    RecordGdipStatus(pGdipGetDpiX(Get(), &dpi));
    return dpi;
}

float GdipGraphics::GetDpiY() const {
    REAL dpi = 0;
    RecordGdipStatus(pGdipGetDpiY(Get(), &dpi));
    return dpi;
}

bool GdipGraphics::GraphicsClear(ARGB colour) { return RecordGdipStatus(pGdipGraphicsClear(Get(), colour)); }

bool GdipGraphics::DrawLine(const GdipPen& pen, float x1, float y1, float x2, float y2) {
    return RecordGdipStatus(pGdipDrawLine(Get(), pen.Get(), x1, y1, x2, y2));
}

bool GdipGraphics::DrawLineI(const GdipPen& pen, int x1, int y1, int x2, int y2) {
    return RecordGdipStatus(pGdipDrawLineI(Get(), pen.Get(), x1, y1, x2, y2));
}

bool GdipGraphics::DrawRectangle(const GdipPen& pen, float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipDrawRectangle(Get(), pen.Get(), x, y, width, height));
}

bool GdipGraphics::DrawRectangleI(const GdipPen& pen, int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipDrawRectangleI(Get(), pen.Get(), x, y, width, height));
}

bool GdipGraphics::DrawEllipse(const GdipPen& pen, float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipDrawEllipse(Get(), pen.Get(), x, y, width, height));
}

bool GdipGraphics::DrawEllipseI(const GdipPen& pen, int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipDrawEllipseI(Get(), pen.Get(), x, y, width, height));
}

bool GdipGraphics::DrawArc(const GdipPen& pen, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
    return RecordGdipStatus(pGdipDrawArc(Get(), pen.Get(), x, y, width, height, startAngle, sweepAngle));
}

bool GdipGraphics::DrawArcI(const GdipPen& pen, int x, int y, int width, int height, float startAngle,
                            float sweepAngle) {
    return RecordGdipStatus(pGdipDrawArcI(Get(), pen.Get(), x, y, width, height, startAngle, sweepAngle));
}

bool GdipGraphics::DrawPath(const GdipPen& pen, const GdipPath& path) {
    return RecordGdipStatus(pGdipDrawPath(Get(), pen.Get(), path.Get()));
}

bool GdipGraphics::FillRectangle(const GdipBrush& brush, float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipFillRectangle(Get(), brush.Get(), x, y, width, height));
}

bool GdipGraphics::FillRectangle(const GdipBrush& brush, const RectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

bool GdipGraphics::FillRectangleI(const GdipBrush& brush, int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipFillRectangleI(Get(), brush.Get(), x, y, width, height));
}

bool GdipGraphics::FillEllipse(const GdipBrush& brush, float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipFillEllipse(Get(), brush.Get(), x, y, width, height));
}

bool GdipGraphics::FillEllipseI(const GdipBrush& brush, int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipFillEllipseI(Get(), brush.Get(), x, y, width, height));
}

bool GdipGraphics::FillPath(const GdipBrush& brush, const GdipPath& path) {
    return RecordGdipStatus(pGdipFillPath(Get(), brush.Get(), path.Get()));
}

bool GdipGraphics::FillRegion(const GdipBrush& brush, const GdipRegion& region) {
    return RecordGdipStatus(pGdipFillRegion(Get(), brush.Get(), region.Get()));
}

bool GdipGraphics::DrawString(const Text& text, const GdipFont& font, const RectF& layout,
                              const GdipStringFormat& format, const GdipBrush& brush) {
    return DrawString(ToWide(text), font, layout, format, brush);
}

bool GdipGraphics::DrawString(const ByteArray& wideText, const GdipFont& font, const RectF& layout,
                              const GdipStringFormat& format, const GdipBrush& brush) {
    return RecordGdipStatus(pGdipDrawString(Get(), WidePointer(wideText), WideLength(wideText), font.Get(), &layout,
                                            format.Get(), brush.Get()));
}

StringMeasure GdipGraphics::MeasureString(const Text& text, const GdipFont& font, const RectF& layout,
                                          const GdipStringFormat& format) const {
    return MeasureString(ToWide(text), font, layout, format);
}

StringMeasure GdipGraphics::MeasureString(const ByteArray& wideText, const GdipFont& font, const RectF& layout,
                                          const GdipStringFormat& format) const {
    StringMeasure measure;
    INT fitted = 0;
    INT lines = 0;
    RecordGdipStatus(pGdipMeasureString(Get(), WidePointer(wideText), WideLength(wideText), font.Get(), &layout,
                                        format.Get(), &measure.bounds, &fitted, &lines));
    measure.codepointsFitted = fitted;
    measure.linesFilled = lines;
    return measure;
}

bool GdipGraphics::DrawImage(const GdipImage& image, float x, float y) {
    return RecordGdipStatus(pGdipDrawImage(Get(), image.Get(), x, y));
}

bool GdipGraphics::DrawImageI(const GdipImage& image, int x, int y) {
    return RecordGdipStatus(pGdipDrawImageI(Get(), image.Get(), x, y));
}

bool GdipGraphics::DrawImageRect(const GdipImage& image, float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipDrawImageRect(Get(), image.Get(), x, y, width, height));
}

bool GdipGraphics::DrawImageRectI(const GdipImage& image, int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipDrawImageRectI(Get(), image.Get(), x, y, width, height));
}

bool GdipGraphics::DrawImageRectRect(const GdipImage& image, float x, float y, float width, float height, float sx,
                                     float sy, float sw, float sh, int unit) {
    return RecordGdipStatus(pGdipDrawImageRectRect(Get(), image.Get(), x, y, width, height, sx, sy, sw, sh,
                                                   static_cast<GpUnit>(unit), nullptr, nullptr, nullptr));
}

bool GdipGraphics::DrawImageRectRectI(const GdipImage& image, int x, int y, int width, int height, int sx, int sy,
                                      int sw, int sh, int unit) {
    return RecordGdipStatus(pGdipDrawImageRectRectI(Get(), image.Get(), x, y, width, height, sx, sy, sw, sh,
                                                    static_cast<GpUnit>(unit), nullptr, nullptr, nullptr));
}

bool GdipGraphics::SetClipPath(const GdipPath& path, int combine) {
    return RecordGdipStatus(pGdipSetClipPath(Get(), path.Get(), static_cast<CombineMode>(combine)));
}

bool GdipGraphics::SetClipRect(float x, float y, float width, float height, int combine) {
    return RecordGdipStatus(pGdipSetClipRect(Get(), x, y, width, height, static_cast<CombineMode>(combine)));
}

bool GdipGraphics::SetClipRectI(int x, int y, int width, int height, int combine) {
    return RecordGdipStatus(pGdipSetClipRectI(Get(), x, y, width, height, static_cast<CombineMode>(combine)));
}

bool GdipGraphics::SetClipRegion(const GdipRegion& region, int combine) {
    return RecordGdipStatus(pGdipSetClipRegion(Get(), region.Get(), static_cast<CombineMode>(combine)));
}

bool GdipGraphics::SetClipHrgn(HRGN region, int combine) {
    return RecordGdipStatus(pGdipSetClipHrgn(Get(), region, static_cast<CombineMode>(combine)));
}

bool GdipGraphics::ResetClip() { return RecordGdipStatus(pGdipResetClip(Get())); }

RectF GdipGraphics::GetClipBounds() const {
    RectF bounds;
    RecordGdipStatus(pGdipGetClipBounds(Get(), &bounds));
    return bounds;
}

unsigned GdipGraphics::SaveGraphics() {
    GraphicsState state = 0;
    if (!RecordGdipStatus(pGdipSaveGraphics(Get(), &state))) return 0;
    return state;
}

bool GdipGraphics::RestoreGraphics(unsigned state) { return RecordGdipStatus(pGdipRestoreGraphics(Get(), state)); }
