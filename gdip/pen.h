// Pen wrapper: a colour or a brush, a width and a unit.
#pragma once

#include <vector>

#include "gdip/gdip_object.h"
#include "runtime/value_types.h"

class GdipBrush;

class GdipPen : public GdipObject<GdipPenTraits> {
public:
    GdipPen() = default;
    GdipPen(GdipPen&&) noexcept = default;
    ~GdipPen() override { Destroy(); }

    void Destroy() { DeletePen(); }
    GdipPen Clone() const;

    bool DeletePen();
    // unit: 0 world (the default), 2 pixel, ...
    bool CreatePen1(Gdiplus::ARGB colour, float width, int unit = 0);
    bool CreatePen2(const GdipBrush& brush, float width, int unit = 0);
    GdipPen ClonePen() const;
    bool SetPenWidth(float width);
    float GetPenWidth() const;
    bool SetPenColor(Gdiplus::ARGB colour);
    Gdiplus::ARGB GetPenColor() const;
    bool SetPenDashStyle(int style);
    int GetPenDashStyle() const;
    bool SetPenLineJoin(int join);
    int GetPenLineJoin() const;
    int GetPenDashCount() const;
    // GetPenDashCount floats.
    ByteArray GetPenDashArray() const;
    bool SetPenDashArray(const std::vector<float>& dashes);
    bool ResetPenTransform();
    bool TranslatePenTransform(float dx, float dy, int order = 0);
    bool ScalePenTransform(float sx, float sy, int order = 0);
    bool RotatePenTransform(float angle, int order = 0);
    bool ScaleAt(float sx, float sy, float x, float y, int order = 0);
    bool RotateAt(float angle, float x, float y, int order = 0);
};
