// The embedded images: stored layout, file formats, sizes and pixel formats
// as GDI+ loads them, their pictures at a few known pixels, and a sheet of
// all of them saved for a person to look at (image-sheet.png in the working
// directory).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "resources/embedded_images.h"
#include "tests/gdip/gdip_session.h"

namespace {

struct Expected {
    EmbeddedImage image;
    int width, height;
};

const Expected kCatalogue[] = {
    {EmbeddedImage::DialogClose, 38, 18}, {EmbeddedImage::Help, 26, 18},       {EmbeddedImage::MainMenu, 26, 18},
    {EmbeddedImage::Minimise, 26, 18},    {EmbeddedImage::Maximise, 26, 18},   {EmbeddedImage::Restore, 26, 18},
    {EmbeddedImage::FormClose, 38, 18},   {EmbeddedImage::CheckBoxOff, 13, 13}, {EmbeddedImage::CheckBoxOn, 13, 13},
    {EmbeddedImage::ArrowDown, 7, 4},     {EmbeddedImage::ArrowUp, 7, 4},      {EmbeddedImage::ArrowLeft, 4, 7},
    {EmbeddedImage::ArrowRight, 4, 7},    {EmbeddedImage::Background, 1024, 768},
};

GdipBitmap Load(EmbeddedImage image) {
    GdipBitmap bitmap;
    EXPECT_TRUE(bitmap.CreateBitmapFromStream(EmbeddedImageBytes(image))) << EmbeddedImageName(image);
    return bitmap;
}

TEST(EmbeddedImages, StoredLayoutHoldsTheFileBytes) {
    ASSERT_EQ(std::size(kCatalogue), static_cast<std::size_t>(kEmbeddedImageCount));
    for (const Expected& entry : kCatalogue) {
        std::size_t storedSize = 0;
        const std::uint8_t* stored = EmbeddedImageStored(entry.image, &storedSize);
        std::int32_t dimension = 0, count = 0;
        std::memcpy(&dimension, stored, 4);
        std::memcpy(&count, stored + 4, 4);
        EXPECT_EQ(dimension, 1) << EmbeddedImageName(entry.image);
        EXPECT_EQ(static_cast<std::size_t>(count) + 8, storedSize) << EmbeddedImageName(entry.image);
        ByteArray bytes = EmbeddedImageBytes(entry.image);
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(std::memcmp(bytes.data(), stored + 8, bytes.size()), 0);
    }
}

TEST(EmbeddedImages, GlyphsArePngWithEightBitRgbaAtTheCatalogueSizes) {
    for (const Expected& entry : kCatalogue) {
        if (entry.image == EmbeddedImage::Background) continue;
        const char* name = EmbeddedImageName(entry.image);
        ByteArray bytes = EmbeddedImageBytes(entry.image);
        ASSERT_GT(bytes.size(), 33u) << name;
        EXPECT_EQ(std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0) << name;
        EXPECT_EQ(bytes[24], 8) << name << ": bit depth";
        EXPECT_EQ(bytes[25], 6) << name << ": colour type RGBA";

        GdipBitmap bitmap = Load(entry.image);
        EXPECT_EQ(bitmap.GetImageWidth(), entry.width) << name;
        EXPECT_EQ(bitmap.GetImageHeight(), entry.height) << name;
        EXPECT_EQ(bitmap.GetImagePixelFormat(), kPixelFormat32bppArgb) << name;
        EXPECT_EQ(bitmap.GetImageRawFormat(), Text(kImageFormatPng)) << name;
    }
}

TEST(EmbeddedImages, BackgroundIsAGreyBaselineJpeg) {
    ByteArray bytes = EmbeddedImageBytes(EmbeddedImage::Background);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    // Find the frame header: baseline (SOF0), 8-bit samples, one component.
    bool baseline = false;
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF) continue;
        EXPECT_NE(bytes[i + 1], 0xC2) << "progressive frame";
        if (bytes[i + 1] == 0xC0) {
            baseline = true;
            EXPECT_EQ(bytes[i + 4], 8);
            EXPECT_EQ((bytes[i + 5] << 8) | bytes[i + 6], 768);
            EXPECT_EQ((bytes[i + 7] << 8) | bytes[i + 8], 1024);
            EXPECT_EQ(bytes[i + 9], 1);
            break;
        }
    }
    EXPECT_TRUE(baseline);

    GdipBitmap background = Load(EmbeddedImage::Background);
    EXPECT_EQ(background.GetImageWidth(), 1024);
    EXPECT_EQ(background.GetImageHeight(), 768);
    // GDI+ under Wine loads a grey JPEG as 8 bits indexed.
    EXPECT_EQ(background.GetImagePixelFormat(), kPixelFormat8bppIndexed);
    EXPECT_EQ(background.GetImageRawFormat(), Text(kImageFormatJpeg));
}

TEST(EmbeddedImages, PicturesMatchTheCatalogue) {
    auto pixel = [](const GdipBitmap& bitmap, int x, int y) { return SplitArgb(bitmap.BitmapGetPixel(x, y)); };
    auto white = [](Argb c) { return c.a > 200 && c.r > 220 && c.g > 220 && c.b > 220; };
    auto clear = [](Argb c) { return c.a == 0; };

    GdipBitmap dialogClose = Load(EmbeddedImage::DialogClose);
    EXPECT_TRUE(white(pixel(dialogClose, 18, 8)));  // where the strokes cross
    EXPECT_TRUE(clear(pixel(dialogClose, 2, 2)));
    EXPECT_TRUE(clear(pixel(dialogClose, 30, 9)));
    GdipBitmap formClose = Load(EmbeddedImage::FormClose);
    EXPECT_TRUE(white(pixel(formClose, 18, 7)));
    EXPECT_TRUE(clear(pixel(formClose, 35, 2)));
    // Shadow: dark and partly transparent beside the shape.
    GdipBitmap minimise = Load(EmbeddedImage::Minimise);
    EXPECT_TRUE(white(pixel(minimise, 12, 11)));
    Argb shadow = pixel(minimise, 12, 13);
    EXPECT_GT(shadow.a, 40);
    EXPECT_LT(shadow.a, 255);
    EXPECT_LT(shadow.r, 60);
    GdipBitmap maximise = Load(EmbeddedImage::Maximise);
    EXPECT_TRUE(white(pixel(maximise, 12, 3)));
    EXPECT_TRUE(clear(pixel(maximise, 12, 8)));  // empty frame
    GdipBitmap restore = Load(EmbeddedImage::Restore);
    EXPECT_TRUE(white(pixel(restore, 7, 10)));  // front frame
    EXPECT_TRUE(white(pixel(restore, 18, 5)));  // back frame
    GdipBitmap help = Load(EmbeddedImage::Help);
    EXPECT_TRUE(clear(pixel(help, 1, 1)));
    GdipBitmap menu = Load(EmbeddedImage::MainMenu);
    EXPECT_TRUE(white(pixel(menu, 10, 6)));  // a text line

    GdipBitmap off = Load(EmbeddedImage::CheckBoxOff);
    Argb border = pixel(off, 0, 6), inside = pixel(off, 6, 6);
    EXPECT_EQ(border.a, 255);
    EXPECT_LT(border.r, 100);
    EXPECT_EQ(inside.a, 255);
    EXPECT_GT(inside.r, 230);
    GdipBitmap on = Load(EmbeddedImage::CheckBoxOn);
    Argb blueBorder = pixel(on, 0, 6);
    EXPECT_GT(blueBorder.b, blueBorder.r + 60);
    Argb tick = pixel(on, 5, 9);
    EXPECT_GT(tick.b, tick.r + 40);
    EXPECT_LT(tick.r, 120);
    EXPECT_TRUE(white(pixel(on, 9, 9)));

    GdipBitmap down = Load(EmbeddedImage::ArrowDown);
    EXPECT_EQ(pixel(down, 0, 0).a, 255);
    EXPECT_LT(pixel(down, 0, 0).r, 48);
    EXPECT_TRUE(clear(pixel(down, 0, 3)));
    EXPECT_EQ(pixel(down, 3, 3).a, 255);
    GdipBitmap up = Load(EmbeddedImage::ArrowUp);
    EXPECT_TRUE(clear(pixel(up, 0, 0)));
    EXPECT_EQ(pixel(up, 0, 3).a, 255);
    GdipBitmap left = Load(EmbeddedImage::ArrowLeft);
    EXPECT_EQ(pixel(left, 0, 3).a, 255);
    EXPECT_TRUE(clear(pixel(left, 0, 0)));
    EXPECT_EQ(pixel(left, 3, 0).a, 255);
    GdipBitmap right = Load(EmbeddedImage::ArrowRight);
    EXPECT_EQ(pixel(right, 3, 3).a, 255);
    EXPECT_TRUE(clear(pixel(right, 3, 0)));

    // A light surface with a darker crack through its middle.
    GdipBitmap background = Load(EmbeddedImage::Background);
    EXPECT_GT(pixel(background, 5, 5).r, 190);
    EXPECT_GT(pixel(background, 1000, 740).r, 190);
    int darkest = 255;
    for (int y = 378; y < 390; ++y)
        for (int x = 506; x < 518; ++x) darkest = std::min(darkest, pixel(background, x, y).r);
    EXPECT_LT(darkest, 140);
}

// Every image on one sheet: the background scaled down and its middle at
// natural size on top, the glyphs
// below on a blue band at 4x (nearest neighbour) and at natural size.
TEST(EmbeddedImages, SheetOfAllImagesIsSaved) {
    const int kScale = 4;
    const int kGap = 8;
    int glyphsWidth = kGap;
    for (const Expected& entry : kCatalogue)
        if (entry.image != EmbeddedImage::Background) glyphsWidth += entry.width * kScale + kGap;
    GdipBitmap sheet;
    ASSERT_TRUE(sheet.CreateBitmapFromScan0(std::max(1024, glyphsWidth), 384 + 8 + 18 * kScale + 18 + 24));
    GdipGraphics graphics;
    ASSERT_TRUE(graphics.GetImageGraphicsContext(sheet));
    graphics.GraphicsClear(0xFFFFFFFF);
    GdipSolidBrush band;
    band.CreateSolidFill(0xFF3A6EA5);
    graphics.FillRectangleI(band, 0, 384, sheet.GetImageWidth(), sheet.GetImageHeight() - 384);

    GdipBitmap background = Load(EmbeddedImage::Background);
    ASSERT_TRUE(graphics.DrawImageRectRectI(background, 0, 0, 512, 384, 0, 0, 1024, 768));
    // Its middle at natural size beside it.
    ASSERT_TRUE(graphics.DrawImageRectRectI(background, 512, 0, 512, 384, 256, 192, 512, 384));

    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    int x = kGap;
    for (const Expected& entry : kCatalogue) {
        if (entry.image == EmbeddedImage::Background) continue;
        GdipBitmap glyph = Load(entry.image);
        ASSERT_TRUE(graphics.DrawImageRectI(glyph, x, 392, entry.width * kScale, entry.height * kScale));
        ASSERT_TRUE(graphics.DrawImageI(glyph, x, 392 + 18 * kScale + 8));
        x += entry.width * kScale + kGap;
    }

    ASSERT_TRUE(sheet.SaveImageToFile("image-sheet.png", kImageFormatPng));
    GdipImage saved;
    ASSERT_TRUE(saved.LoadImageFromFile("image-sheet.png"));
    EXPECT_EQ(saved.GetImageWidth(), sheet.GetImageWidth());
}

}  // namespace
