#include "gdip/brush.h"

#include "gdip/gdip_api.h"
#include "gdip/path.h"
#include "runtime/bytes.h"

using namespace Gdiplus;

bool GdipBrush::DeleteBrush() { return DeleteWith(pGdipDeleteBrush); }

int GdipBrush::GetBrushType() const {
    BrushType type = BrushTypeSolidColor;
    if (!RecordGdipStatus(pGdipGetBrushType(brush_, &type))) return -1;
    return static_cast<int>(type);
}

bool GdipBrush::CloneBrushInto(GdipBrush& target) const {
    GpBrush* copy = nullptr;
    return target.AdoptCreated(pGdipCloneBrush(brush_, &copy), copy);
}

// ---- solid

GdipSolidBrush GdipSolidBrush::Clone() const {
    GdipSolidBrush copy;
    copy.ShareFrom(*this);
    return copy;
}

GdipSolidBrush GdipSolidBrush::CloneBrush() const {
    GdipSolidBrush copy;
    CloneBrushInto(copy);
    return copy;
}

bool GdipSolidBrush::CreateSolidFill(ARGB colour) {
    GpSolidFill* created = nullptr;
    return AdoptCreated(pGdipCreateSolidFill(colour, &created), created);
}

bool GdipSolidBrush::SetSolidFillColor(ARGB colour) {
    return RecordGdipStatus(pGdipSetSolidFillColor(static_cast<GpSolidFill*>(brush_), colour));
}

ARGB GdipSolidBrush::GetSolidFillColor() const {
    ARGB colour = 0;
    RecordGdipStatus(pGdipGetSolidFillColor(static_cast<GpSolidFill*>(brush_), &colour));
    return colour;
}

// ---- linear gradient

GdipLinearBrush GdipLinearBrush::Clone() const {
    GdipLinearBrush copy;
    copy.ShareFrom(*this);
    return copy;
}

GdipLinearBrush GdipLinearBrush::CloneBrush() const {
    GdipLinearBrush copy;
    CloneBrushInto(copy);
    return copy;
}

bool GdipLinearBrush::CreateLineBrush(float x1, float y1, float x2, float y2, ARGB colour1, ARGB colour2,
                                      int wrapMode) {
    PointF from(x1, y1);
    PointF to(x2, y2);
    GpLineGradient* created = nullptr;
    return AdoptCreated(
        pGdipCreateLineBrush(&from, &to, colour1, colour2, static_cast<GpWrapMode>(wrapMode), &created), created);
}

bool GdipLinearBrush::CreateLineBrushI(int x1, int y1, int x2, int y2, ARGB colour1, ARGB colour2, int wrapMode) {
    Point from(x1, y1);
    Point to(x2, y2);
    GpLineGradient* created = nullptr;
    return AdoptCreated(
        pGdipCreateLineBrushI(&from, &to, colour1, colour2, static_cast<GpWrapMode>(wrapMode), &created), created);
}

bool GdipLinearBrush::CreateLineBrushFromRect(float x, float y, float width, float height, ARGB colour1,
                                              ARGB colour2, int mode, int wrapMode) {
    RectF rect(x, y, width, height);
    GpLineGradient* created = nullptr;
    return AdoptCreated(pGdipCreateLineBrushFromRect(&rect, colour1, colour2, static_cast<LinearGradientMode>(mode),
                                                     static_cast<GpWrapMode>(wrapMode), &created),
                        created);
}

bool GdipLinearBrush::CreateLineBrushFromRectI(int x, int y, int width, int height, ARGB colour1, ARGB colour2,
                                               int mode, int wrapMode) {
    Rect rect(x, y, width, height);
    GpLineGradient* created = nullptr;
    return AdoptCreated(pGdipCreateLineBrushFromRectI(&rect, colour1, colour2, static_cast<LinearGradientMode>(mode),
                                                      static_cast<GpWrapMode>(wrapMode), &created),
                        created);
}

bool GdipLinearBrush::SetLineColors(ARGB colour1, ARGB colour2) {
    return RecordGdipStatus(pGdipSetLineColors(line(), colour1, colour2));
}

ByteArray GdipLinearBrush::GetLineColors() const {
    ByteArray colours = ZeroBytes(2 * sizeof(ARGB));
    RecordGdipStatus(pGdipGetLineColors(line(), reinterpret_cast<ARGB*>(colours.data())));
    return colours;
}

bool GdipLinearBrush::SetLineBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    if (factors.size() != positions.size()) return RecordGdipStatus(InvalidParameter);
    return RecordGdipStatus(
        pGdipSetLineBlend(line(), factors.data(), positions.data(), static_cast<INT>(factors.size())));
}

int GdipLinearBrush::GetLineBlendCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetLineBlendCount(line(), &count));
    return count;
}

ByteArray GdipLinearBrush::GetLineBlend() const {
    int count = GetLineBlendCount();
    if (count <= 0) return ByteArray();
    ByteArray blend = ZeroBytes(count * 2 * static_cast<int>(sizeof(float)));
    auto* factors = reinterpret_cast<float*>(blend.data());
    RecordGdipStatus(pGdipGetLineBlend(line(), factors, factors + count, count));
    return blend;
}

bool GdipLinearBrush::SetLinePresetBlend(const std::vector<ARGB>& colours, const std::vector<float>& positions) {
    if (colours.size() != positions.size()) return RecordGdipStatus(InvalidParameter);
    return RecordGdipStatus(
        pGdipSetLinePresetBlend(line(), colours.data(), positions.data(), static_cast<INT>(colours.size())));
}

int GdipLinearBrush::GetLinePresetBlendCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetLinePresetBlendCount(line(), &count));
    return count;
}

ByteArray GdipLinearBrush::GetLinePresetBlend() const {
    int count = GetLinePresetBlendCount();
    if (count <= 0) return ByteArray();
    ByteArray blend = ZeroBytes(count * static_cast<int>(sizeof(ARGB) + sizeof(float)));
    auto* colours = reinterpret_cast<ARGB*>(blend.data());
    auto* positions = reinterpret_cast<float*>(blend.data() + count * sizeof(ARGB));
    RecordGdipStatus(pGdipGetLinePresetBlend(line(), colours, positions, count));
    return blend;
}

bool GdipLinearBrush::SetLineSigmaBlend(float focus, float scale) {
    return RecordGdipStatus(pGdipSetLineSigmaBlend(line(), focus, scale));
}

bool GdipLinearBrush::SetLineLinearBlend(float focus, float scale) {
    return RecordGdipStatus(pGdipSetLineLinearBlend(line(), focus, scale));
}

bool GdipLinearBrush::SetLineWrapMode(int wrapMode) {
    return RecordGdipStatus(pGdipSetLineWrapMode(line(), static_cast<GpWrapMode>(wrapMode)));
}

int GdipLinearBrush::GetLineWrapMode() const {
    GpWrapMode mode = WrapModeTile;
    RecordGdipStatus(pGdipGetLineWrapMode(line(), &mode));
    return static_cast<int>(mode);
}

bool GdipLinearBrush::ResetLineTransform() { return RecordGdipStatus(pGdipResetLineTransform(line())); }

bool GdipLinearBrush::TranslateLineTransform(float dx, float dy, int order) {
    return RecordGdipStatus(pGdipTranslateLineTransform(line(), dx, dy, static_cast<GpMatrixOrder>(order)));
}

bool GdipLinearBrush::ScaleLineTransform(float sx, float sy, int order) {
    return RecordGdipStatus(pGdipScaleLineTransform(line(), sx, sy, static_cast<GpMatrixOrder>(order)));
}

bool GdipLinearBrush::RotateLineTransform(float angle, int order) {
    return RecordGdipStatus(pGdipRotateLineTransform(line(), angle, static_cast<GpMatrixOrder>(order)));
}

bool GdipLinearBrush::ScaleAt(float sx, float sy, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslateLineTransform(dx, dy, order); },
        [&] { return ScaleLineTransform(sx, sy, order); });
}

bool GdipLinearBrush::RotateAt(float angle, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslateLineTransform(dx, dy, order); },
        [&] { return RotateLineTransform(angle, order); });
}

// ---- path gradient

GdipPathBrush GdipPathBrush::Clone() const {
    GdipPathBrush copy;
    copy.ShareFrom(*this);
    return copy;
}

GdipPathBrush GdipPathBrush::CloneBrush() const {
    GdipPathBrush copy;
    CloneBrushInto(copy);
    return copy;
}

bool GdipPathBrush::CreatePathGradient(const std::vector<PointF>& points, int wrapMode) {
    GpPathGradient* created = nullptr;
    return AdoptCreated(pGdipCreatePathGradient(points.data(), static_cast<INT>(points.size()),
                                                static_cast<GpWrapMode>(wrapMode), &created),
                        created);
}

bool GdipPathBrush::CreatePathGradientI(const std::vector<Point>& points, int wrapMode) {
    GpPathGradient* created = nullptr;
    return AdoptCreated(pGdipCreatePathGradientI(points.data(), static_cast<INT>(points.size()),
                                                 static_cast<GpWrapMode>(wrapMode), &created),
                        created);
}

bool GdipPathBrush::CreatePathGradientFromPath(const GdipPath& path) {
    GpPathGradient* created = nullptr;
    return AdoptCreated(pGdipCreatePathGradientFromPath(path.Get(), &created), created);
}

bool GdipPathBrush::SetPathGradientCenterColor(ARGB colour) {
    return RecordGdipStatus(pGdipSetPathGradientCenterColor(gradient(), colour));
}

ARGB GdipPathBrush::GetPathGradientCenterColor() const {
    ARGB colour = 0;
    RecordGdipStatus(pGdipGetPathGradientCenterColor(gradient(), &colour));
    return colour;
}

int GdipPathBrush::GetPathGradientPointCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetPathGradientPointCount(gradient(), &count));
    return count;
}

int GdipPathBrush::GetPathGradientSurroundColorCount() const {
    INT count = 0;
    RecordGdipStatus(pGdipGetPathGradientSurroundColorCount(gradient(), &count));
    return count;
}

bool GdipPathBrush::SetPathGradientSurroundColorsWithCount(const std::vector<ARGB>& colours, int* accepted) {
    INT count = static_cast<INT>(colours.size());
    bool ok = RecordGdipStatus(pGdipSetPathGradientSurroundColorsWithCount(gradient(), colours.data(), &count));
    if (accepted) *accepted = count;
    return ok;
}

ByteArray GdipPathBrush::GetPathGradientSurroundColorsWithCount() const {
    INT count = GetPathGradientSurroundColorCount();
    if (count <= 0) return ByteArray();
    ByteArray colours = ZeroBytes(count * static_cast<int>(sizeof(ARGB)));
    RecordGdipStatus(
        pGdipGetPathGradientSurroundColorsWithCount(gradient(), reinterpret_cast<ARGB*>(colours.data()), &count));
    return colours;
}

bool GdipPathBrush::SetPathGradientCenterPoint(float x, float y) {
    PointF centre(x, y);
    return RecordGdipStatus(pGdipSetPathGradientCenterPoint(gradient(), &centre));
}

bool GdipPathBrush::SetPathGradientCenterPointI(int x, int y) {
    return SetPathGradientCenterPoint(static_cast<float>(x), static_cast<float>(y));
}

PointF GdipPathBrush::GetPathGradientCenterPoint() const {
    PointF centre;
    RecordGdipStatus(pGdipGetPathGradientCenterPoint(gradient(), &centre));
    return centre;
}

bool GdipPathBrush::ResetPathGradientTransform() { return RecordGdipStatus(pGdipResetPathGradientTransform(gradient())); }

bool GdipPathBrush::TranslatePathGradientTransform(float dx, float dy, int order) {
    return RecordGdipStatus(pGdipTranslatePathGradientTransform(gradient(), dx, dy, static_cast<GpMatrixOrder>(order)));
}

bool GdipPathBrush::ScalePathGradientTransform(float sx, float sy, int order) {
    return RecordGdipStatus(pGdipScalePathGradientTransform(gradient(), sx, sy, static_cast<GpMatrixOrder>(order)));
}

bool GdipPathBrush::RotatePathGradientTransform(float angle, int order) {
    return RecordGdipStatus(pGdipRotatePathGradientTransform(gradient(), angle, static_cast<GpMatrixOrder>(order)));
}

bool GdipPathBrush::ScaleAt(float sx, float sy, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslatePathGradientTransform(dx, dy, order); },
        [&] { return ScalePathGradientTransform(sx, sy, order); });
}

bool GdipPathBrush::RotateAt(float angle, float x, float y, int order) {
    return TransformAboutPoint(
        x, y, order, [&](float dx, float dy) { return TranslatePathGradientTransform(dx, dy, order); },
        [&] { return RotatePathGradientTransform(angle, order); });
}
