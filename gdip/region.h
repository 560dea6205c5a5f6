// Region wrapper: areas built from rectangles, paths and GDI regions.
#pragma once

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

class GdipPath;

class GdipRegion : public GdipObject<GdipRegionTraits> {
public:
    GdipRegion() = default;
    GdipRegion(GdipRegion&&) noexcept = default;
    ~GdipRegion() override { Destroy(); }

    void Destroy() { DeleteRegion(); }
    GdipRegion Clone() const;

    bool DeleteRegion();
    bool CreateRegion();
    bool CreateRegionRect(float x, float y, float width, float height);
    bool CreateRegionRectI(int x, int y, int width, int height);
    bool CreateRegionPath(const GdipPath& path);
    bool CreateRegionHrgn(HRGN region);
    GdipRegion CloneRegion() const;
    bool SetInfinite();
    bool SetEmpty();
    // combine: 0 replace, 1 intersect, 2 union, 3 xor, 4 exclude, 5 complement.
    bool CombineRegionRect(float x, float y, float width, float height, int combine);
    bool CombineRegionRectI(int x, int y, int width, int height, int combine);
    bool CombineRegionRegion(const GdipRegion& other, int combine);
    bool CombineRegionPath(const GdipPath& path, int combine);
    bool TranslateRegion(float dx, float dy);
    Gdiplus::RectF GetRegionBounds(const GdipGraphicsObject& graphics) const;
    // A new GDI region the caller deletes; null on failure or for an infinite region.
    HRGN GetRegionHRgn(const GdipGraphicsObject& graphics) const;
    bool IsEmptyRegion(const GdipGraphicsObject& graphics) const;
    bool IsInfiniteRegion(const GdipGraphicsObject& graphics) const;
    bool IsVisibleRegionPoint(float x, float y, const GdipGraphicsObject& graphics) const;
    int GetRegionScansCount() const;
    // GetRegionScansCount rectangles as RectF (16 bytes each).
    ByteArray GetRegionScans() const;
};
