#include "gdip/region.h"

#include "gdip/gdip_api.h"
#include "gdip/path.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

namespace {

// GDI+ wants a matrix for the scans; the identity one.
class IdentityMatrix {
public:
    IdentityMatrix() { pGdipCreateMatrix(&matrix_); }
    ~IdentityMatrix() {
        if (matrix_) pGdipDeleteMatrix(matrix_);
    }
    IdentityMatrix(const IdentityMatrix&) = delete;
    IdentityMatrix& operator=(const IdentityMatrix&) = delete;
    GpMatrix* Get() const { return matrix_; }

private:
    GpMatrix* matrix_ = nullptr;
};

}  // namespace

GdipRegion GdipRegion::Clone() const {
    GdipRegion copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipRegion::DeleteRegion() { return DeleteWith(pGdipDeleteRegion); }

bool GdipRegion::CreateRegion() {
    GpRegion* created = nullptr;
    return AdoptCreated(pGdipCreateRegion(&created), created);
}

bool GdipRegion::CreateRegionRect(float x, float y, float width, float height) {
    RectF rect(x, y, width, height);
    GpRegion* created = nullptr;
    return AdoptCreated(pGdipCreateRegionRect(&rect, &created), created);
}

bool GdipRegion::CreateRegionRectI(int x, int y, int width, int height) {
    Rect rect(x, y, width, height);
    GpRegion* created = nullptr;
    return AdoptCreated(pGdipCreateRegionRectI(&rect, &created), created);
}

bool GdipRegion::CreateRegionPath(const GdipPath& path) {
    GpRegion* created = nullptr;
    return AdoptCreated(pGdipCreateRegionPath(path.Get(), &created), created);
}

bool GdipRegion::CreateRegionHrgn(HRGN region) {
    GpRegion* created = nullptr;
    return AdoptCreated(pGdipCreateRegionHrgn(region, &created), created);
}

GdipRegion GdipRegion::CloneRegion() const {
    GdipRegion copy;
    GpRegion* created = nullptr;
    copy.AdoptCreated(pGdipCloneRegion(Get(), &created), created);
    return copy;
}

bool GdipRegion::SetInfinite() { return RecordGdipStatus(pGdipSetInfinite(Get())); }
bool GdipRegion::SetEmpty() { return RecordGdipStatus(pGdipSetEmpty(Get())); }

bool GdipRegion::CombineRegionRect(float x, float y, float width, float height, int combine) {
    RectF rect(x, y, width, height);
    return RecordGdipStatus(pGdipCombineRegionRect(Get(), &rect, static_cast<CombineMode>(combine)));
}

bool GdipRegion::CombineRegionRectI(int x, int y, int width, int height, int combine) {
    Rect rect(x, y, width, height);
    return RecordGdipStatus(pGdipCombineRegionRectI(Get(), &rect, static_cast<CombineMode>(combine)));
}

bool GdipRegion::CombineRegionRegion(const GdipRegion& other, int combine) {
    return RecordGdipStatus(pGdipCombineRegionRegion(Get(), other.Get(), static_cast<CombineMode>(combine)));
}

bool GdipRegion::CombineRegionPath(const GdipPath& path, int combine) {
    return RecordGdipStatus(pGdipCombineRegionPath(Get(), path.Get(), static_cast<CombineMode>(combine)));
}

bool GdipRegion::TranslateRegion(float dx, float dy) { return RecordGdipStatus(pGdipTranslateRegion(Get(), dx, dy)); }

RectF GdipRegion::GetRegionBounds(const GdipGraphicsObject& graphics) const {
    RectF bounds;
    RecordGdipStatus(pGdipGetRegionBounds(Get(), graphics.Get(), &bounds));
    return bounds;
}

HRGN GdipRegion::GetRegionHRgn(const GdipGraphicsObject& graphics) const {
    HRGN region = nullptr;
    RecordGdipStatus(pGdipGetRegionHRgn(Get(), graphics.Get(), &region));
    return region;
}

bool GdipRegion::IsEmptyRegion(const GdipGraphicsObject& graphics) const {
    BOOL empty = FALSE;
    RecordGdipStatus(pGdipIsEmptyRegion(Get(), graphics.Get(), &empty));
    return empty != FALSE;
}

bool GdipRegion::IsInfiniteRegion(const GdipGraphicsObject& graphics) const {
    BOOL infinite = FALSE;
    RecordGdipStatus(pGdipIsInfiniteRegion(Get(), graphics.Get(), &infinite));
    return infinite != FALSE;
}

bool GdipRegion::IsVisibleRegionPoint(float x, float y, const GdipGraphicsObject& graphics) const {
    BOOL visible = FALSE;
    RecordGdipStatus(pGdipIsVisibleRegionPoint(Get(), x, y, graphics.Get(), &visible));
    return visible != FALSE;
}

int GdipRegion::GetRegionScansCount() const {
    IdentityMatrix identity;
    UINT count = 0;
    RecordGdipStatus(pGdipGetRegionScansCount(Get(), &count, identity.Get()));
    return static_cast<int>(count);
}

ByteArray GdipRegion::GetRegionScans() const {
    int count = GetRegionScansCount();
    if (count <= 0) return ByteArray();
    IdentityMatrix identity;
    ByteArray scans = ZeroBytes(count * static_cast<int>(sizeof(RectF)));
    INT filled = count;
    RecordGdipStatus(pGdipGetRegionScans(Get(), reinterpret_cast<RectF*>(scans.data()), &filled, identity.Get()));
    return scans;
}
