#include "gdip/pen.h"

#include "gdip/brush.h"
#include "gdip/gdip_api.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

GdipPen GdipPen::Clone() const {
    GdipPen copy;
    copy.ShareFrom(*this);
    return copy;
}

bool GdipPen::DeletePen() { return DeleteWith(pGdipDeletePen); }

bool GdipPen::CreatePen1(ARGB colour, float width, int unit) {
    GpPen* created = nullptr;
    return AdoptCreated(pGdipCreatePen1(colour, width, static_cast<GpUnit>(unit), &created), created);
}

bool GdipPen::CreatePen2(const GdipBrush& brush, float width, int unit) {
    GpPen* created = nullptr;
    return AdoptCreated(pGdipCreatePen2(brush.Get(), width, static_cast<GpUnit>(unit), &created), created);
}

GdipPen GdipPen::ClonePen() const {
    GdipPen copy;
    GpPen* created = nullptr;
    copy.AdoptCreated(pGdipClonePen(Get(), &created), created);
    return copy;
}

bool GdipPen::SetPenWidth(float width) { return RecordGdipStatus(pGdipSetPenWidth(Get(), width)); }

float GdipPen::GetPenWidth() const {
    REAL width = 0;
    RecordGdipStatus(pGdipGetPenWidth(Get(), &width));
    return width;
}

bool GdipPen::SetPenColor(ARGB colour) { return RecordGdipStatus(pGdipSetPenColor(Get(), colour)); }

ARGB GdipPen::GetPenColor() const {
    ARGB colour = 0;
    RecordGdipStatus(pGdipGetPenColor(Get(), &colour));
    return colour;
}

bool GdipPen::SetPenDashStyle(int style) {
    return RecordGdipStatus(pGdipSetPenDashStyle(Get(), static_cast<GpDashStyle>(style)));
}

int GdipPen::GetPenDashStyle() const {
    GpDashStyle style = DashStyleSolid;
    RecordGdipStatus(pGdipGetPenDashStyle(Get(), &style));
    return static_cast<int>(style);
}

bool GdipPen::SetPenLineJoin(int join) {
    return RecordGdipStatus(pGdipSetPenLineJoin(Get(), static_cast<GpLineJoin>(join)));
}

int GdipPen::GetPenLineJoin() const {
    GpLineJoin join = LineJoinMiter;
    RecordGdipStatus(pGdipGetPenLineJoin(Get(), &join));
    return static_cast<int>(join);
}

int GdipPen::GetPenDashCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetPenDashCount(Get(), &count));
    return count;
}

ByteArray GdipPen::GetPenDashArray() const {
    int count = GetPenDashCount();
    if (count <= 0) return ByteArray();
    ByteArray dashes = ZeroBytes(count * static_cast<int>(sizeof(REAL)));
    RecordGdipStatus(pGdipGetPenDashArray(Get(), reinterpret_cast<REAL*>(dashes.data()), count));
    return dashes;
}

bool GdipPen::SetPenDashArray(const std::vector<float>& dashes) {
    return RecordGdipStatus(pGdipSetPenDashArray(Get(), dashes.data(), static_cast<INT>(dashes.size())));
}

bool GdipPen::ResetPenTransform() { return RecordGdipStatus(pGdipResetPenTransform(Get())); }

bool GdipPen::TranslatePenTransform(float dx, float dy, int order) {
    return RecordGdipStatus(pGdipTranslatePenTransform(Get(), dx, dy, static_cast<GpMatrixOrder>(order)));
}

bool GdipPen::ScalePenTransform(float sx, float sy, int order) {
    return RecordGdipStatus(pGdipScalePenTransform(Get(), sx, sy, static_cast<GpMatrixOrder>(order)));
}

bool GdipPen::RotatePenTransform(float angle, int order) {
    return RecordGdipStatus(pGdipRotatePenTransform(Get(), angle, static_cast<GpMatrixOrder>(order)));
}

bool GdipPen::ScaleAt(float sx, float sy, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslatePenTransform(dx, dy, order); },
        [&] { return ScalePenTransform(sx, sy, order); });
}

bool GdipPen::RotateAt(float angle, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslatePenTransform(dx, dy, order); },
        [&] { return RotatePenTransform(angle, order); });
}
