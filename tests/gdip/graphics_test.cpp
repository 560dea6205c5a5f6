// Drawing through the wrappers: paths with text, transforms about a point,
// clipping and gradient brushes, read back from the pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/region.h"
#include "gdip/string_format.h"
#include "tests/gdip/gdip_session.h"

namespace {

class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bitmap_.CreateBitmapFromScan0(40, 40));
        ASSERT_TRUE(graphics_.GetImageGraphicsContext(bitmap_));
        ASSERT_TRUE(graphics_.GraphicsClear(0xFFFFFFFF));
        ASSERT_TRUE(black_.CreateSolidFill(0xFF000000));
    }
    bool Black(int x, int y) const { return bitmap_.BitmapGetPixel(x, y) == 0xFF000000u; }
    bool White(int x, int y) const { return bitmap_.BitmapGetPixel(x, y) == 0xFFFFFFFFu; }

    GdipBitmap bitmap_;
    GdipGraphics graphics_;
    GdipSolidBrush black_;
};

TEST_F(Canvas, RotateAtTurnsAboutThePointInBothOrders) {
    ASSERT_TRUE(graphics_.RotateAt(180, 20, 20));
    graphics_.FillRectangleI(black_, 0, 0, 10, 10);  // lands on 30..40
    EXPECT_TRUE(Black(35, 35));
    EXPECT_TRUE(White(5, 5));

    graphics_.ResetWorldTransform();
    graphics_.GraphicsClear(0xFFFFFFFF);
    graphics_.TranslateWorldTransform(10, 0);
    ASSERT_TRUE(graphics_.RotateAt(180, 20, 20, Gdiplus::MatrixOrderAppend));
    // (0..10) moved to 10..20 across, then turned about (20, 20) in device space: 20..30.
    graphics_.FillRectangleI(black_, 0, 0, 10, 10);
    EXPECT_TRUE(Black(25, 35));
    EXPECT_TRUE(White(15, 5));
}

TEST_F(Canvas, ScaleAtKeepsThePointInPlace) {
    ASSERT_TRUE(graphics_.ScaleAt(2, 2, 20, 20));
    graphics_.FillRectangleI(black_, 15, 15, 10, 10);  // becomes 10..30
    EXPECT_TRUE(Black(11, 11));
    EXPECT_TRUE(Black(28, 28));
    EXPECT_TRUE(White(8, 8));
    EXPECT_TRUE(White(31, 31));
}

TEST_F(Canvas, ClipRectAndClipPathLimitTheFill) {
    ASSERT_TRUE(graphics_.SetClipRect(0, 0, 20, 40));
    graphics_.FillRectangleI(black_, 0, 0, 40, 40);
    EXPECT_TRUE(Black(10, 10));
    EXPECT_TRUE(White(30, 10));
    ASSERT_TRUE(graphics_.ResetClip());

    graphics_.GraphicsClear(0xFFFFFFFF);
    GdipPath circle;
    circle.CreatePath();
    circle.AddPathEllipse(10, 10, 20, 20);
    ASSERT_TRUE(graphics_.SetClipPath(circle));
    graphics_.FillRectangleI(black_, 0, 0, 40, 40);
    EXPECT_TRUE(Black(20, 20));
    EXPECT_TRUE(White(11, 11));
}

TEST_F(Canvas, PathStringWithoutAFormatStillAddsOutlines) {
    GdipFontFamily family;
    ASSERT_TRUE(family.CreateFontFamilyFromName("宋体"));
    GdipPath path;
    ASSERT_TRUE(path.CreatePath());
    GdipStringFormat none;  // empty: the wrapper passes a default format
    ASSERT_TRUE(path.AddPathString("Ab", family, 0, 24, Gdiplus::RectF(0, 0, 40, 40), none));
    EXPECT_GT(path.GetPointCount(), 8);
    EXPECT_EQ(path.GetPathPoints().size(), path.GetPathTypes().size() * sizeof(Gdiplus::PointF));
    ASSERT_TRUE(graphics_.FillPath(black_, path));
    Gdiplus::RectF bounds = path.GetPathWorldBounds();
    EXPECT_GT(bounds.Width, 10);
}

TEST_F(Canvas, DrawStringAndMeasureStringUseTheFont) {
    GdipFont font;
    ASSERT_TRUE(font.CreateFontByName("宋体", 12));
    GdipStringFormat format;
    ASSERT_TRUE(format.CreateStringFormat());
    ASSERT_TRUE(format.SetStringFormatAlign(1));
    ASSERT_TRUE(format.SetStringFormatLineAlign(1));
    ASSERT_TRUE(format.SetStringFormatTrimming(3));
    EXPECT_EQ(format.GetStringFormatTrimming(), 3);
    StringMeasure one = graphics_.MeasureString("宋", font, Gdiplus::RectF(0, 0, 400, 40), format);
    StringMeasure three = graphics_.MeasureString("宋体字", font, Gdiplus::RectF(0, 0, 400, 40), format);
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_EQ(three.codepointsFitted, 3);
    EXPECT_GT(three.bounds.Width, one.bounds.Width * 2);
    ASSERT_TRUE(graphics_.DrawString("宋体字", font, Gdiplus::RectF(0, 0, 40, 40), format, black_));
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) dark += SplitArgb(bitmap_.BitmapGetPixel(x, y)).r < 128;
    EXPECT_GT(dark, 10);
}

TEST_F(Canvas, GradientBrushesBlendAlongTheirLines) {
    GdipLinearBrush linear;
    ASSERT_TRUE(linear.CreateLineBrush(0, 0, 0, 40, 0xFF000000, 0xFFFFFFFF));
    ASSERT_TRUE(linear.SetLinePresetBlend({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0.0f, 0.5f, 1.0f}));
    EXPECT_EQ(linear.GetLinePresetBlendCount(), 3);
    ByteArray blend = linear.GetLinePresetBlend();
    ASSERT_EQ(blend.size(), 3u * 8);
    Gdiplus::ARGB middle;
    std::memcpy(&middle, blend.data() + 4, 4);
    EXPECT_EQ(middle, 0xFF00FF00u);
    graphics_.FillRectangleI(linear, 0, 0, 40, 40);
    Argb top = SplitArgb(bitmap_.BitmapGetPixel(20, 1));
    Argb bottom = SplitArgb(bitmap_.BitmapGetPixel(20, 38));
    EXPECT_GT(top.r, 200);
    EXPECT_GT(bottom.b, 200);

    ASSERT_TRUE(linear.SetLineLinearBlend(0.5f, 1.0f));
    EXPECT_EQ(linear.GetLineBlendCount(), 3);

    GdipPath ellipse;
    ellipse.CreatePath();
    ellipse.AddPathEllipse(0, 0, 40, 40);
    GdipPathBrush radial;
    ASSERT_TRUE(radial.CreatePathGradientFromPath(ellipse));
    ASSERT_TRUE(radial.SetPathGradientCenterColor(0xFFFFFF00));
    int accepted = 0;
    ASSERT_TRUE(radial.SetPathGradientSurroundColorsWithCount({0xFF000080}, &accepted));
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(radial.GetPathGradientCenterColor(), 0xFFFFFF00u);
    graphics_.FillPath(radial, ellipse);
    Argb centre = SplitArgb(bitmap_.BitmapGetPixel(20, 20));
    EXPECT_GT(centre.r, 200);
    EXPECT_GT(centre.g, 200);
}

TEST_F(Canvas, PensDrawLinesRectanglesAndPaths) {
    GdipPen pen;
    ASSERT_TRUE(pen.CreatePen1(0xFF000000, 1));
    ASSERT_TRUE(pen.SetPenWidth(3));
    EXPECT_FLOAT_EQ(pen.GetPenWidth(), 3);
    ASSERT_TRUE(graphics_.DrawLine(pen, 0, 5, 40, 5));
    EXPECT_TRUE(Black(20, 5));
    ASSERT_TRUE(graphics_.DrawRectangle(pen, 10, 15, 20, 20));
    EXPECT_TRUE(Black(10, 25));
    EXPECT_TRUE(White(20, 25));

    GdipSolidBrush grey;
    grey.CreateSolidFill(0xFF808080);
    GdipPen brushPen;
    ASSERT_TRUE(brushPen.CreatePen2(grey, 2));
    GdipPath line;
    line.CreatePath();
    line.AddPathLine(0, 38, 40, 38);
    ASSERT_TRUE(graphics_.DrawPath(brushPen, line));
    EXPECT_EQ(bitmap_.BitmapGetPixel(20, 38), 0xFF808080u);
}

TEST_F(Canvas, RegionsCombineAndFill) {
    GdipRegion region;
    ASSERT_TRUE(region.CreateRegionRectI(0, 0, 20, 20));
    ASSERT_TRUE(region.CombineRegionRectI(20, 20, 20, 20, Gdiplus::CombineModeUnion));
    EXPECT_TRUE(region.IsVisibleRegionPoint(30, 30, graphics_));
    EXPECT_FALSE(region.IsVisibleRegionPoint(30, 10, graphics_));
    EXPECT_EQ(region.GetRegionScansCount(), 2);
    ASSERT_TRUE(graphics_.FillRegion(black_, region));
    EXPECT_TRUE(Black(5, 5));
    EXPECT_TRUE(White(35, 5));
    HRGN gdiRegion = region.GetRegionHRgn(graphics_);
    ASSERT_NE(gdiRegion, nullptr);
    EXPECT_TRUE(::PtInRegion(gdiRegion, 35, 35));
    ::DeleteObject(gdiRegion);
}

}  // namespace
