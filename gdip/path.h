// Path wrapper: figures of lines, arcs, rectangles, ellipses and text.
#pragma once

#include <vector>

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

class GdipFontFamily;
class GdipStringFormat;

class GdipPath : public GdipObject<GdipPathTraits> {
public:
    GdipPath() = default;
    GdipPath(GdipPath&&) noexcept = default;
    ~GdipPath() override { Destroy(); }

    void Destroy() { DeletePath(); }
    GdipPath Clone() const;

    bool DeletePath();
    // fillMode: 0 alternate, 1 winding.
    bool CreatePath(int fillMode = 0);
    // An independent copy (GdipClonePath).
    GdipPath ClonePath() const;
    bool ResetPath();
    int GetPathFillMode() const;
    bool SetPathFillMode(int fillMode);
    int GetPointCount() const;
    // GetPointCount points as PointF (8 bytes each).
    ByteArray GetPathPoints() const;
    // GetPointCount type bytes.
    ByteArray GetPathTypes() const;
    bool StartPathFigure();
    bool ClosePathFigure();
    bool ClosePathFigures();

    bool AddPathLine(float x1, float y1, float x2, float y2);
    bool AddPathLineI(int x1, int y1, int x2, int y2);
    bool AddPathArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool AddPathArcI(int x, int y, int width, int height, float startAngle, float sweepAngle);
    // An arc, then the figure closed.
    bool AddArcAndClose(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool AddPathRectangle(float x, float y, float width, float height);
    bool AddPathRectangleI(int x, int y, int width, int height);
    bool AddPathEllipse(float x, float y, float width, float height);
    bool AddPathEllipseI(int x, int y, int width, int height);
    bool AddPathPie(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool AddPathPolygon(const std::vector<Gdiplus::PointF>& points);
    bool AddPathPolygonI(const std::vector<Gdiplus::Point>& points);
    bool AddPathPath(const GdipPath& other, bool connect);
    // Text outlines. An empty format wrapper is replaced by a temporary
    // default format: GDI+ under Wine refuses a null format here.
    bool AddPathString(const Text& text, const GdipFontFamily& family, int style, float emSize,
                       const Gdiplus::RectF& layout, const GdipStringFormat& format);
    bool AddPathString(const ByteArray& wideText, const GdipFontFamily& family, int style, float emSize,
                       const Gdiplus::RectF& layout, const GdipStringFormat& format);
    bool AddPathStringI(const Text& text, const GdipFontFamily& family, int style, float emSize,
                        const Gdiplus::Rect& layout, const GdipStringFormat& format);
    Gdiplus::RectF GetPathWorldBounds() const;
    bool IsVisiblePathPoint(float x, float y) const;
};
