// The common wrapper shape: delete members, status recording, create
// members replacing without deleting, clones sharing one native object, and
// the live counters of every kind after many create/destroy rounds.
#include <gtest/gtest.h>

#include <thread>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/region.h"
#include "gdip/string_format.h"
#include "resources/embedded_images.h"
#include "tests/gdip/gdip_session.h"

namespace {

constexpr int kUntouched = 4242;

TEST(GdipObject, DeleteMembersOnEmptyWrappersReturnFalseAndLeaveTheStatus) {
    GdipFont font;
    GdipFontFamily family;
    GdipGraphics graphics;
    GdipPath path;
    GdipSolidBrush solid;
    GdipLinearBrush linear;
    GdipPathBrush pathBrush;
    GdipPen pen;
    GdipStringFormat format;
    GdipImage image;
    GdipBitmap bitmap;
    GdipRegion region;

    GdipLastStatus = kUntouched;
    EXPECT_FALSE(font.DeleteFont());
    EXPECT_FALSE(family.DeleteFontFamily());
    EXPECT_FALSE(graphics.DeleteGraphics());
    EXPECT_FALSE(path.DeletePath());
    EXPECT_FALSE(solid.DeleteBrush());
    EXPECT_FALSE(linear.DeleteBrush());
    EXPECT_FALSE(pathBrush.DeleteBrush());
    EXPECT_FALSE(pen.DeletePen());
    EXPECT_FALSE(format.DeleteStringFormat());
    EXPECT_FALSE(image.DisposeImage());
    EXPECT_FALSE(bitmap.DisposeImage());
    EXPECT_FALSE(region.DeleteRegion());
    EXPECT_EQ(GdipLastStatus, kUntouched);
}

TEST(GdipObject, EveryMemberRecordsItsStatusAndHandleFollowsNative) {
    GdipPath path;
    EXPECT_FALSE(path.AddPathLine(0, 0, 10, 10));  // no path yet
    EXPECT_EQ(GdipLastStatus, Gdiplus::InvalidParameter);

    ASSERT_TRUE(path.CreatePath());
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_NE(path.GetHandle(), 0u);
    EXPECT_EQ(path.GetHandle(), reinterpret_cast<std::uintptr_t>(path.Get()));

    EXPECT_TRUE(path.AddPathLine(0, 0, 10, 10));
    EXPECT_EQ(path.GetPointCount(), 2);
    GdipLastStatus = kUntouched;
    EXPECT_TRUE(path.DeletePath());
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_EQ(path.GetHandle(), 0u);
    EXPECT_EQ(path.Get(), nullptr);
}

TEST(GdipObject, CreateMemberReplacesTheHeldObjectWithoutDeletingIt) {
    long before = GdipPathHandle::Live();
    GdipPath path;
    ASSERT_TRUE(path.CreatePath());
    ASSERT_TRUE(path.AddPathRectangle(0, 0, 5, 5));
    std::uintptr_t first = path.GetHandle();

    ASSERT_TRUE(path.CreatePath());
    EXPECT_NE(path.GetHandle(), first);
    EXPECT_EQ(path.GetPointCount(), 0);

    // The first path still exists: a wrapper handed its pointer can use and delete it.
    GdipPath earlier;
    earlier.SetHandle(first);
    EXPECT_EQ(earlier.GetPointCount(), 4);
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_TRUE(earlier.DeletePath());
    EXPECT_TRUE(path.DeletePath());
    EXPECT_EQ(GdipPathHandle::Live(), before);
}

TEST(GdipObject, ClonesShareOneNativeObjectThatIsDeletedOnce) {
    long before = GdipFontHandle::Live();
    auto font = std::make_unique<GdipFont>();
    ASSERT_TRUE(font->CreateFontByName("宋体", 12));
    EXPECT_EQ(GdipFontHandle::Live(), before + 1);
    {
        GdipFont clone = font->Clone();
        EXPECT_EQ(clone.GetHandle(), font->GetHandle());
        EXPECT_EQ(clone.ShareCount(), 2);
        EXPECT_EQ(GdipFontHandle::Live(), before + 1);  // shared, not duplicated

        font.reset();  // the first wrapper goes away
        EXPECT_EQ(GdipFontHandle::Live(), before + 1);
        EXPECT_FLOAT_EQ(clone.GetFontSize(), 12.0f);
        EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    }
    // The second wrapper deleted it, once.
    EXPECT_EQ(GdipFontHandle::Live(), before);
}

TEST(GdipObject, DeleteMemberOnOneCloneLeavesTheOtherWorking) {
    long before = GdipBrushHandle::Live();
    GdipSolidBrush brush;
    ASSERT_TRUE(brush.CreateSolidFill(0xFF102030));
    GdipSolidBrush clone = brush.Clone();
    EXPECT_TRUE(brush.DeleteBrush());
    EXPECT_EQ(brush.GetHandle(), 0u);
    EXPECT_EQ(clone.GetSolidFillColor(), 0xFF102030u);
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_EQ(GdipBrushHandle::Live(), before + 1);
    EXPECT_TRUE(clone.DeleteBrush());
    EXPECT_EQ(GdipBrushHandle::Live(), before);
    // A flat clone is a second, independent object.
    ASSERT_TRUE(brush.CreateSolidFill(0xFF000000));
    GdipSolidBrush copy = brush.CloneBrush();
    EXPECT_NE(copy.GetHandle(), brush.GetHandle());
    EXPECT_EQ(copy.GetBrushType(), 0);  // solid
    EXPECT_EQ(GdipBrushHandle::Live(), before + 2);
}

TEST(GdipObject, ImageClonesKeepTheSharedStreamAlive) {
    long blocks = GlobalBlockHandle::Live();
    auto image = std::make_unique<GdipBitmap>();
    ASSERT_TRUE(image->CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::CheckBoxOff)));
    GdipBitmap clone = image->Clone();
    EXPECT_TRUE(image->DisposeImage());
    image.reset();
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 1);  // the clone still holds the bytes
    EXPECT_EQ(clone.GetImageWidth(), 13);
    EXPECT_EQ(SplitArgb(clone.BitmapGetPixel(6, 6)).a, 255);
    EXPECT_TRUE(clone.DisposeImage());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks);
}

TEST(GdipObject, MovedFromBitmapsAndBrushesHoldNoObject) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromScan0(2, 2));
    ASSERT_TRUE(bitmap.BitmapSetPixel(0, 0, 0xFFFF0000));
    GdipBitmap movedBitmap(std::move(bitmap));
    EXPECT_EQ(movedBitmap.BitmapGetPixel(0, 0), 0xFFFF0000u);
    // The moved-from wrapper must not reach the object its successor owns.
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_EQ(bitmap.BitmapGetPixel(0, 0), 0u);
    EXPECT_NE(GdipLastStatus, Gdiplus::Ok);
    EXPECT_FALSE(bitmap.BitmapSetPixel(0, 0, 0xFF00FF00));
    EXPECT_EQ(movedBitmap.BitmapGetPixel(0, 0), 0xFFFF0000u);

    GdipSolidBrush brush;
    ASSERT_TRUE(brush.CreateSolidFill(0xFF0000FF));
    GdipSolidBrush movedBrush(std::move(brush));
    EXPECT_EQ(movedBrush.GetSolidFillColor(), 0xFF0000FFu);
    EXPECT_EQ(brush.GetBrushType(), -1);
    EXPECT_FALSE(brush.SetSolidFillColor(0xFFFFFFFF));
    EXPECT_EQ(movedBrush.GetSolidFillColor(), 0xFF0000FFu);
}

TEST(GdipObject, TheLastStatusIsKeptPerThread) {
    GdipRegion region;
    GdipLastStatus = kUntouched;
    // Another thread's calls (here a failing one) leave this thread's status.
    std::thread other([] {
        GdipPath path;
        EXPECT_EQ(path.GetPointCount(), 0);
        EXPECT_NE(GdipLastStatus, Gdiplus::Ok);
        EXPECT_NE(GdipLastStatus, kUntouched);
    });
    other.join();
    EXPECT_EQ(GdipLastStatus, kUntouched);
    ASSERT_TRUE(region.CreateRegion());
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
}

// Every kind, made and released many times, directly and through clones.
TEST(GdipObject, CreatingAndDestroyingEveryKindLeavesNoLiveObjects) {
    const long fonts = GdipFontHandle::Live(), families = GdipFontFamilyHandle::Live(),
               graphics = GdipGraphicsHandle::Live(), paths = GdipPathHandle::Live(),
               brushes = GdipBrushHandle::Live(), pens = GdipPenHandle::Live(),
               formats = GdipStringFormatHandle::Live(), images = GdipImageHandle::Live(),
               regions = GdipRegionHandle::Live(), blocks = GlobalBlockHandle::Live(),
               streams = ComStreamHandle::Live();
    const ByteArray png = EmbeddedImageBytes(EmbeddedImage::Help);

    for (int round = 0; round < 150; ++round) {
        GdipFont font;
        ASSERT_TRUE(font.CreateFontByName("宋体", 12));
        GdipFontFamily family;
        ASSERT_TRUE(font.GetFamily(family));
        GdipFont defaultFont;
        ASSERT_TRUE(defaultFont.CreateDefaultGuiFont());
        GdipBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmapFromScan0(8, 8));
        GdipGraphics surface;
        ASSERT_TRUE(surface.GetImageGraphicsContext(bitmap));
        GdipPath path;
        ASSERT_TRUE(path.CreatePath());
        path.AddPathEllipse(0, 0, 8, 8);
        GdipSolidBrush solid;
        ASSERT_TRUE(solid.CreateSolidFill(0xFFFFFFFF));
        GdipLinearBrush linear;
        ASSERT_TRUE(linear.CreateLineBrush(0, 0, 0, 8, 0xFF000000, 0xFFFFFFFF));
        GdipPathBrush radial;
        ASSERT_TRUE(radial.CreatePathGradientFromPath(path));
        GdipPen pen;
        ASSERT_TRUE(pen.CreatePen2(linear, 2));
        GdipStringFormat format;
        ASSERT_TRUE(format.CreateStringFormat());
        GdipImage image;
        ASSERT_TRUE(image.LoadImageFromStream(png));
        GdipRegion region;
        ASSERT_TRUE(region.CreateRegionPath(path));
        surface.FillPath(radial, path);
        surface.DrawImage(image, 0, 0);
        // Clones of a few kinds, some released before their originals.
        GdipPath pathClone = path.Clone();
        GdipImage imageClone = image.Clone();
        GdipGraphics surfaceClone = surface.Clone();
        image.DisposeImage();
        pathClone.DeletePath();
        GdipStringFormat independent = format.CloneStringFormat();
        GdipRegion regionCopy = region.CloneRegion();
    }
    EXPECT_EQ(GdipFontHandle::Live(), fonts);
    EXPECT_EQ(GdipFontFamilyHandle::Live(), families);
    EXPECT_EQ(GdipGraphicsHandle::Live(), graphics);
    EXPECT_EQ(GdipPathHandle::Live(), paths);
    EXPECT_EQ(GdipBrushHandle::Live(), brushes);
    EXPECT_EQ(GdipPenHandle::Live(), pens);
    EXPECT_EQ(GdipStringFormatHandle::Live(), formats);
    EXPECT_EQ(GdipImageHandle::Live(), images);
    EXPECT_EQ(GdipRegionHandle::Live(), regions);
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks);
    EXPECT_EQ(ComStreamHandle::Live(), streams);
}

}  // namespace
