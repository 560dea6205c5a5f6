#include "gdip/path.h"

#include "gdip/font.h"
#include "gdip/gdip_api.h"
#include "gdip/string_format.h"
#include "gdip/text_convert.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

namespace {

// The format to hand GDI+: the caller's, or a temporary default one.
class NonNullFormat {
public:
    explicit NonNullFormat(const GdipStringFormat& format) : given_(format.Get()) {
        if (!given_) fallback_.CreateStringFormat();
    }
    const GpStringFormat* Get() const { return given_ ? given_ : fallback_.Get(); }

private:
    GpStringFormat* given_;
    GdipStringFormat fallback_;
};

}  // namespace

GdipPath GdipPath::Clone() const {
    GdipPath copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipPath::DeletePath() { return DeleteWith(pGdipDeletePath); }

bool GdipPath::CreatePath(int fillMode) {
    GpPath* created = nullptr;
    return AdoptCreated(pGdipCreatePath(static_cast<GpFillMode>(fillMode), &created), created);
}

GdipPath GdipPath::ClonePath() const {
    GdipPath copy;
    GpPath* created = nullptr;
    copy.AdoptCreated(pGdipClonePath(Get(), &created), created);
    return copy;
}

bool GdipPath::ResetPath() { return RecordGdipStatus(pGdipResetPath(Get())); }

int GdipPath::GetPathFillMode() const {
    GpFillMode mode = FillModeAlternate;
    RecordGdipStatus(pGdipGetPathFillMode(Get(), &mode));
    return static_cast<int>(mode);
}

bool GdipPath::SetPathFillMode(int fillMode) {
    return RecordGdipStatus(pGdipSetPathFillMode(Get(), static_cast<GpFillMode>(fillMode)));
}

int GdipPath::GetPointCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetPointCount(Get(), &count));
    return count;
}

ByteArray GdipPath::GetPathPoints() const {
    int count = GetPointCount();
    if (count <= 0) return ByteArray();
    ByteArray points = ZeroBytes(count * static_cast<int>(sizeof(PointF)));
    RecordGdipStatus(pGdipGetPathPoints(Get(), reinterpret_cast<PointF*>(points.data()), count));
    return points;
}

ByteArray GdipPath::GetPathTypes() const {
    int count = GetPointCount();
    if (count <= 0) return ByteArray();
    ByteArray types = ZeroBytes(count);
    RecordGdipStatus(pGdipGetPathTypes(Get(), types.data(), count));
    return types;
}

bool GdipPath::StartPathFigure() { return RecordGdipStatus(pGdipStartPathFigure(Get())); }
bool GdipPath::ClosePathFigure() { return RecordGdipStatus(pGdipClosePathFigure(Get())); }
bool GdipPath::ClosePathFigures() { return RecordGdipStatus(pGdipClosePathFigures(Get())); }

bool GdipPath::AddPathLine(float x1, float y1, float x2, float y2) {
    return RecordGdipStatus(pGdipAddPathLine(Get(), x1, y1, x2, y2));
}

bool GdipPath::AddPathLineI(int x1, int y1, int x2, int y2) {
    return RecordGdipStatus(pGdipAddPathLineI(Get(), x1, y1, x2, y2));
}

bool GdipPath::AddPathArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return RecordGdipStatus(pGdipAddPathArc(Get(), x, y, width, height, startAngle, sweepAngle));
}

bool GdipPath::AddPathArcI(int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return RecordGdipStatus(pGdipAddPathArcI(Get(), x, y, width, height, startAngle, sweepAngle));
}

bool GdipPath::AddArcAndClose(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    AddPathArc(x, y, width, height, startAngle, sweepAngle);
    return ClosePathFigure();
}

bool GdipPath::AddPathRectangle(float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipAddPathRectangle(Get(), x, y, width, height));
}

bool GdipPath::AddPathRectangleI(int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipAddPathRectangleI(Get(), x, y, width, height));
}

bool GdipPath::AddPathEllipse(float x, float y, float width, float height) {
    return RecordGdipStatus(pGdipAddPathEllipse(Get(), x, y, width, height));
}

bool GdipPath::AddPathEllipseI(int x, int y, int width, int height) {
    return RecordGdipStatus(pGdipAddPathEllipseI(Get(), x, y, width, height));
}

bool GdipPath::AddPathPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return RecordGdipStatus(pGdipAddPathPie(Get(), x, y, width, height, startAngle, sweepAngle));
}

bool GdipPath::AddPathPolygon(const std::vector<PointF>& points) {
    return RecordGdipStatus(pGdipAddPathPolygon(Get(), points.data(), static_cast<INT>(points.size())));
}

bool GdipPath::AddPathPolygonI(const std::vector<Point>& points) {
    return RecordGdipStatus(pGdipAddPathPolygonI(Get(), points.data(), static_cast<INT>(points.size())));
}

bool GdipPath::AddPathPath(const GdipPath& other, bool connect) {
    return RecordGdipStatus(pGdipAddPathPath(Get(), other.Get(), connect ? TRUE : FALSE));
}

bool GdipPath::AddPathString(const Text& text, const GdipFontFamily& family, int style, float emSize,
                             const RectF& layout, const GdipStringFormat& format) {
    return AddPathString(ToWide(text), family, style, emSize, layout, format);
}

bool GdipPath::AddPathString(const ByteArray& wideText, const GdipFontFamily& family, int style, float emSize,
                             const RectF& layout, const GdipStringFormat& format) {
    NonNullFormat useFormat(format);
    return RecordGdipStatus(pGdipAddPathString(Get(), WidePointer(wideText), WideLength(wideText), family.Get(),
                                               style, emSize, &layout, useFormat.Get()));
}

bool GdipPath::AddPathStringI(const Text& text, const GdipFontFamily& family, int style, float emSize,
                              const Rect& layout, const GdipStringFormat& format) {
    ByteArray wide = ToWide(text);
    NonNullFormat useFormat(format);
    return RecordGdipStatus(pGdipAddPathStringI(Get(), WidePointer(wide), WideLength(wide), family.Get(), style,
                                                emSize, &layout, useFormat.Get()));
}

RectF GdipPath::GetPathWorldBounds() const {
    RectF bounds;
    RecordGdipStatus(pGdipGetPathWorldBounds(Get(), &bounds, nullptr, nullptr));
    return bounds;
}

bool GdipPath::IsVisiblePathPoint(float x, float y) const {
    BOOL visible = FALSE;
    RecordGdipStatus(pGdipIsVisiblePathPoint(Get(), x, y, nullptr, &visible));
    return visible != FALSE;
}
