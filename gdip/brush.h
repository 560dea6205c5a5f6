// The three brush wrappers: solid, linear gradient and path gradient. They
// share the brush members and keep a typed copy of their native pointer.
#pragma once

#include <utility>
#include <vector>

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

class GdipPath;

class GdipBrush : public GdipObject<GdipBrushTraits> {
public:
    GdipBrush() = default;
    // The moved-from wrapper is left empty, its typed copy included.
    GdipBrush(GdipBrush&& other) noexcept
        : GdipObject(std::move(other)), brush_(std::exchange(other.brush_, nullptr)) {}
    ~GdipBrush() override { Destroy(); }

    void Destroy() { DeleteBrush(); }
    void NativeChanged() override { brush_ = Get(); }
    bool DeleteBrush();
    // -1 when the type cannot be read.
    int GetBrushType() const;

protected:
    bool CloneBrushInto(GdipBrush& target) const;
    Gdiplus::GpBrush* brush_ = nullptr;
};

class GdipSolidBrush : public GdipBrush {
public:
    GdipSolidBrush() = default;
    GdipSolidBrush(GdipSolidBrush&&) noexcept = default;
    // A wrapper sharing this brush.
    GdipSolidBrush Clone() const;
    // An independent copy (GdipCloneBrush).
    GdipSolidBrush CloneBrush() const;

    bool CreateSolidFill(Gdiplus::ARGB colour);
    bool SetSolidFillColor(Gdiplus::ARGB colour);
    Gdiplus::ARGB GetSolidFillColor() const;
};

class GdipLinearBrush : public GdipBrush {
public:
    GdipLinearBrush() = default;
    GdipLinearBrush(GdipLinearBrush&&) noexcept = default;
    GdipLinearBrush Clone() const;
    GdipLinearBrush CloneBrush() const;

    bool CreateLineBrush(float x1, float y1, float x2, float y2, Gdiplus::ARGB colour1, Gdiplus::ARGB colour2,
                         int wrapMode = 0);
    bool CreateLineBrushI(int x1, int y1, int x2, int y2, Gdiplus::ARGB colour1, Gdiplus::ARGB colour2,
                          int wrapMode = 0);
    // mode: 0 horizontal, 1 vertical, 2 forward diagonal, 3 backward diagonal.
    bool CreateLineBrushFromRect(float x, float y, float width, float height, Gdiplus::ARGB colour1,
                                 Gdiplus::ARGB colour2, int mode, int wrapMode = 0);
    bool CreateLineBrushFromRectI(int x, int y, int width, int height, Gdiplus::ARGB colour1,
                                  Gdiplus::ARGB colour2, int mode, int wrapMode = 0);
    bool SetLineColors(Gdiplus::ARGB colour1, Gdiplus::ARGB colour2);
    // Both colours as two ARGB values in 8 bytes.
    ByteArray GetLineColors() const;
    bool SetLineBlend(const std::vector<float>& factors, const std::vector<float>& positions);
    int GetLineBlendCount() const;
    // count floats of factors, then count floats of positions.
    ByteArray GetLineBlend() const;
    bool SetLinePresetBlend(const std::vector<Gdiplus::ARGB>& colours, const std::vector<float>& positions);
    int GetLinePresetBlendCount() const;
    // count ARGB values, then count float positions.
    ByteArray GetLinePresetBlend() const;
    bool SetLineSigmaBlend(float focus, float scale);
    bool SetLineLinearBlend(float focus, float scale);
    bool SetLineWrapMode(int wrapMode);
    int GetLineWrapMode() const;
    bool ResetLineTransform();
    bool TranslateLineTransform(float dx, float dy, int order = 0);
    bool ScaleLineTransform(float sx, float sy, int order = 0);
    bool RotateLineTransform(float angle, int order = 0);
    bool ScaleAt(float sx, float sy, float x, float y, int order = 0);
    bool RotateAt(float angle, float x, float y, int order = 0);

private:
    Gdiplus::GpLineGradient* line() const { return static_cast<Gdiplus::GpLineGradient*>(brush_); }
};

class GdipPathBrush : public GdipBrush {
public:
    GdipPathBrush() = default;
    GdipPathBrush(GdipPathBrush&&) noexcept = default;
    GdipPathBrush Clone() const;
    GdipPathBrush CloneBrush() const;

    bool CreatePathGradient(const std::vector<Gdiplus::PointF>& points, int wrapMode = 0);
    bool CreatePathGradientI(const std::vector<Gdiplus::Point>& points, int wrapMode = 0);
    bool CreatePathGradientFromPath(const GdipPath& path);
    bool SetPathGradientCenterColor(Gdiplus::ARGB colour);
    Gdiplus::ARGB GetPathGradientCenterColor() const;
    int GetPathGradientPointCount() const;
    int GetPathGradientSurroundColorCount() const;
    // colours.size() is passed as the count; the count GDI+ accepted comes back.
    bool SetPathGradientSurroundColorsWithCount(const std::vector<Gdiplus::ARGB>& colours, int* accepted = nullptr);
    // One ARGB value per surround colour.
    ByteArray GetPathGradientSurroundColorsWithCount() const;
    bool SetPathGradientCenterPoint(float x, float y);
    bool SetPathGradientCenterPointI(int x, int y);
    Gdiplus::PointF GetPathGradientCenterPoint() const;
    bool ResetPathGradientTransform();
    bool TranslatePathGradientTransform(float dx, float dy, int order = 0);
    bool ScalePathGradientTransform(float sx, float sy, int order = 0);
    bool RotatePathGradientTransform(float angle, int order = 0);
    bool ScaleAt(float sx, float sy, float x, float y, int order = 0);
    bool RotateAt(float angle, float x, float y, int order = 0);

private:
    Gdiplus::GpPathGradient* gradient() const { return static_cast<Gdiplus::GpPathGradient*>(brush_); }
};
