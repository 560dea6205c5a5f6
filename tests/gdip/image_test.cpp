// Images from bytes, their streams, saving through the encoders, and the
// bitmap members of the wrapper's own making.
#include <gtest/gtest.h>

#include <cstring>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/encoders.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "resources/embedded_images.h"
#include "tests/gdip/gdip_session.h"

namespace {

const char kPngSignature[] = "\x89PNG\r\n\x1a\n";
const char kQualityParameter[] = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";  // EncoderQuality

bool StartsWith(const ByteArray& bytes, const char* prefix, std::size_t n) {
    return bytes.size() >= n && std::memcmp(bytes.data(), prefix, n) == 0;
}

// An opaque black w x h bitmap with `image` drawn on it at (0, 0).
GdipBitmap DrawnOnBlack(const GdipImage& image, int width, int height) {
    GdipBitmap target;
    target.CreateBitmapFromScan0(width, height);
    GdipGraphics graphics;
    graphics.GetImageGraphicsContext(target);
    graphics.GraphicsClear(0xFF000000);
    EXPECT_TRUE(graphics.DrawImageRect(image, 0, 0, static_cast<float>(width), static_cast<float>(height)));
    return target;
}

TEST(ImageFromBytes, StillDrawsAfterTheByteArrayIsReleased) {
    auto bytes = std::make_unique<ByteArray>(EmbeddedImageBytes(EmbeddedImage::Minimise));
    GdipImage image;
    ASSERT_TRUE(image.LoadImageFromStream(*bytes));
    std::memset(bytes->data(), 0, bytes->size());
    bytes.reset();

    // The white bar of the minimise glyph lies on rows 11-12, columns 9-16.
    GdipBitmap drawn = DrawnOnBlack(image, 26, 18);
    Argb bar = SplitArgb(drawn.BitmapGetPixel(12, 11));
    EXPECT_GT(bar.r, 230);
    EXPECT_GT(bar.g, 230);
    Argb ground = SplitArgb(drawn.BitmapGetPixel(2, 2));
    EXPECT_LT(ground.r, 10);
    // The image hands back the bytes it was loaded from.
    EXPECT_TRUE(StartsWith(image.GetStreamOfImage(), kPngSignature, 8));
}

TEST(ImageFromBytes, DisposeFreesTheBlockAndASecondDisposeReturnsFalse) {
    long blocks = GlobalBlockHandle::Live();
    long streams = ComStreamHandle::Live();
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::CheckBoxOn)));
    ASSERT_NE(bitmap.Stream(), nullptr);
    HGLOBAL block = bitmap.Stream()->GetBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_GE(bitmap.Stream()->Size(), EmbeddedImageBytes(EmbeddedImage::CheckBoxOn).size());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 1);
    EXPECT_EQ(ComStreamHandle::Live(), streams + 1);

    EXPECT_TRUE(bitmap.DisposeImage());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks);
    EXPECT_EQ(ComStreamHandle::Live(), streams);
    EXPECT_EQ(bitmap.GetHandle(), 0u);
    EXPECT_EQ(bitmap.Stream(), nullptr);

    GdipLastStatus = 77;
    EXPECT_FALSE(bitmap.DisposeImage());
    EXPECT_EQ(GdipLastStatus, 77);
}

TEST(ImageFromBytes, UndecodableBytesFailAndLeaveNoObject) {
    GdipImage image;
    EXPECT_FALSE(image.LoadImageFromStream(ByteArray{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    EXPECT_NE(GdipLastStatus, Gdiplus::Ok);
    EXPECT_EQ(image.GetHandle(), 0u);
}

TEST(SaveImage, UnknownFormatWritesNothingAndNoFormatWritesABmp) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::FormClose)));

    std::string unknown = TempPath("unknown.img");
    ::DeleteFileA(unknown.c_str());
    EXPECT_FALSE(bitmap.SaveImageToFile(unknown, "{12345678-0000-0000-0000-000000000000}"));
    EXPECT_FALSE(FileExists(unknown));

    std::string bmp = TempPath("default.bmp");
    ASSERT_TRUE(bitmap.SaveImageToFile(bmp));
    ByteArray written = ReadFileBytes(bmp);
    EXPECT_TRUE(StartsWith(written, "BM", 2));
    GdipImage reloaded;
    ASSERT_TRUE(reloaded.LoadImageFromFile(bmp));
    EXPECT_EQ(reloaded.GetImageRawFormat(), Text(kImageFormatBmp));
    EXPECT_EQ(reloaded.GetImageWidth(), 38);
    EXPECT_EQ(reloaded.GetImageHeight(), 18);
    reloaded.DisposeImage();
    ::DeleteFileA(bmp.c_str());
}

TEST(SaveImage, ToStreamGivesTheEncodedBytes) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::Restore)));

    ByteArray png = bitmap.SaveImageToStream(kImageFormatPng);
    ASSERT_TRUE(StartsWith(png, kPngSignature, 8));
    // Exactly the encoded data: the last chunk is IEND with its CRC.
    ASSERT_GE(png.size(), 12u);
    EXPECT_EQ(std::memcmp(png.data() + png.size() - 8, "IEND\xae\x42\x60\x82", 8), 0);
    // Without a format: the image's own (PNG).
    EXPECT_TRUE(StartsWith(bitmap.SaveImageToStream(), kPngSignature, 8));

    GdipImage again;
    ASSERT_TRUE(again.LoadImageFromStream(png));
    EXPECT_EQ(again.GetImageWidth(), 26);
    EXPECT_EQ(again.GetImagePixelFormat(), kPixelFormat32bppArgb);

    // A bitmap made in memory has no encoder for its raw format.
    GdipBitmap blank;
    ASSERT_TRUE(blank.CreateBitmapFromScan0(4, 4));
    EXPECT_TRUE(blank.SaveImageToStream().empty());
    EXPECT_TRUE(StartsWith(blank.SaveImageToStream(kImageFormatPng), kPngSignature, 8));
}

// GDI+ under Wine accepts the packed parameters but its encoders ignore them
// and it does not list them (NotImplemented); Windows honours both.
TEST(SaveImage, EncoderParametersArePassedAndListed) {
    GdipBitmap background;
    ASSERT_TRUE(background.CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::Background)));
    int value = 30;
    EncoderParameterValue quality{kQualityParameter, 1, 4, ByteArray(4)};
    std::memcpy(quality.value.data(), &value, 4);
    ByteArray jpeg = background.SaveImageToStream(kImageFormatJpeg, {quality});
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    GdipImage reloaded;
    ASSERT_TRUE(reloaded.LoadImageFromStream(jpeg));
    EXPECT_EQ(reloaded.GetImageWidth(), 1024);

    std::vector<EncoderParameterValue> listed = background.GetEncoderParameterList(kImageFormatJpeg);
    if (GdipLastStatus == Gdiplus::NotImplemented) {
        EXPECT_TRUE(listed.empty());
    } else {
        bool hasQuality = false;
        for (const EncoderParameterValue& parameter : listed) hasQuality |= parameter.guid == kQualityParameter;
        EXPECT_TRUE(hasQuality);
    }
    EXPECT_TRUE(background.GetEncoderParameterList("{00000000-0000-0000-0000-000000000000}").empty());
}

TEST(EncoderParameters, PackedLayoutReadsBack) {
    std::vector<EncoderParameterValue> parameters = {
        {kQualityParameter, 1, 4, ByteArray{90, 0, 0, 0}},
        {"{E4B92B1C-B8F5-4C3B-8A01-7C7A6E1C9A3B}", 2, 5, ByteArray{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}},
        {"{A2D6A50C-E0F7-4E0E-B5A5-3DA4E5D6AC60}", 3, 1, ByteArray{7, 8, 9}},
    };
    ByteArray packed;
    ASSERT_TRUE(PackEncoderParameters(parameters, packed));
    std::uint32_t count = 0;
    std::memcpy(&count, packed.data(), 4);
    EXPECT_EQ(count, 3u);
    std::vector<EncoderParameterValue> read = UnpackEncoderParameters(packed);
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].guid, parameters[i].guid);
        EXPECT_EQ(read[i].count, parameters[i].count);
        EXPECT_EQ(read[i].type, parameters[i].type);
        EXPECT_EQ(read[i].value, parameters[i].value);
    }
    EXPECT_TRUE(PackEncoderParameters({}, packed));
    EXPECT_TRUE(packed.empty());
    EXPECT_EQ(EncoderValueTypeSize(8), 16);
    EXPECT_EQ(EncoderValueTypeSize(3), 2);
    EXPECT_EQ(EncoderValueTypeSize(9), 0);
}

TEST(EncoderParameters, ValuesShorterThanCountTimesTypeSizeAreRefused) {
    const EncoderParameterValue refused[] = {
        {kQualityParameter, 1, 4, ByteArray{90, 0, 0}},           // 3 bytes for one long
        {kQualityParameter, 2, 5, ByteArray(8)},                  // one rational of two
        {kQualityParameter, 1, 9, ByteArray(64)},                 // a type of no known size
        {"not a guid", 1, 1, ByteArray{1}},
    };
    for (const EncoderParameterValue& parameter : refused) {
        ByteArray packed{1};
        EXPECT_FALSE(PackEncoderParameters({parameter}, packed)) << parameter.count << "x" << parameter.type;
        EXPECT_TRUE(packed.empty());
    }
    ByteArray packed;
    EXPECT_TRUE(PackEncoderParameters({{kQualityParameter, 0, 9, ByteArray()}}, packed));

    // A save with such a parameter fails before GDI+ reads past the bytes.
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromScan0(4, 4));
    EXPECT_TRUE(bitmap.SaveImageToStream(kImageFormatJpeg, {refused[0]}).empty());
    EXPECT_EQ(GdipLastStatus, Gdiplus::InvalidParameter);
    const std::string file = TempPath("short-parameter.jpg");
    ::DeleteFileA(file.c_str());
    EXPECT_FALSE(bitmap.SaveImageToFile(file, kImageFormatJpeg, {refused[0]}));
    EXPECT_FALSE(FileExists(file));
}

TEST(ImageFromBytes, AReplacedImageKeepsItsBytesUntilItIsDisposed) {
    const long blocks = GlobalBlockHandle::Live();
    GdipImage image;
    ASSERT_TRUE(image.LoadImageFromStream(EmbeddedImageBytes(EmbeddedImage::CheckBoxOn)));
    const std::uintptr_t first = image.GetHandle();
    ASSERT_TRUE(image.LoadImageFromStream(EmbeddedImageBytes(EmbeddedImage::FormClose)));
    // The first image is alive (not deleted by the load) and so are its bytes.
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 2);

    GdipImage earlier;
    earlier.SetHandle(first);
    EXPECT_EQ(earlier.GetImageWidth(), 13);
    EXPECT_TRUE(earlier.DisposeImage());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 1);

    // A copy made by GDI+ keeps the bytes it may read after the source goes.
    GdipImage copy = image.CloneImage();
    ASSERT_FALSE(copy.IsEmpty());
    EXPECT_TRUE(image.DisposeImage());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks + 1);
    EXPECT_EQ(copy.GetImageWidth(), 38);
    EXPECT_TRUE(copy.DisposeImage());
    EXPECT_EQ(GlobalBlockHandle::Live(), blocks);
}

TEST(Encoders, ListHasTheCommonFormatsAndLookupIsExact) {
    std::vector<ImageEncoderRecord> encoders = GetImageEncoderList();
    bool png = false;
    for (const ImageEncoderRecord& record : encoders) {
        EXPECT_EQ(record.classId.size(), 38u);  // {8-4-4-4-12}
        if (record.formatId == kImageFormatPng) {
            png = true;
            EXPECT_EQ(record.mimeType, "image/png");
            EXPECT_EQ(record.signaturePattern.size(), record.signatureCount * record.signatureSize);
        }
    }
    EXPECT_TRUE(png);
    CLSID encoder;
    EXPECT_TRUE(FindEncoderClassId(kImageFormatBmp, encoder));
    // Byte for byte: lower-case hex is another text.
    EXPECT_FALSE(FindEncoderClassId("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}", encoder));
}

TEST(Bitmap, ShortScan0GivesA32BitArgbBitmap) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromScan0(31, 17));
    EXPECT_EQ(bitmap.GetImagePixelFormat(), kPixelFormat32bppArgb);
    EXPECT_EQ(bitmap.GetImagePixelFormat(), 0x26200Au);
    EXPECT_EQ(bitmap.GetImageWidth(), 31);
    EXPECT_EQ(bitmap.GetImageHeight(), 17);
    EXPECT_EQ(bitmap.BitmapGetPixel(3, 3), 0u);  // transparent black

    GdipBitmap grey;
    ASSERT_TRUE(grey.CreateBitmapFromScan0(4, 4, PixelFormat24bppRGB));
    EXPECT_EQ(grey.GetImagePixelFormat(), static_cast<Gdiplus::PixelFormat>(PixelFormat24bppRGB));
}

TEST(Bitmap, HbitmapRoundTripKeepsThePixels) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromScan0(6, 6));
    ASSERT_TRUE(bitmap.BitmapSetPixel(2, 3, 0xFF3366CC));
    HBITMAP gdiBitmap = bitmap.CreateHBITMAPFromBitmap(0xFF000000);
    ASSERT_NE(gdiBitmap, nullptr);
    GdipBitmap back;
    EXPECT_TRUE(back.CreateBitmapFromHBITMAP(gdiBitmap));
    ::DeleteObject(gdiBitmap);
    EXPECT_EQ(back.BitmapGetPixel(2, 3) & 0x00FFFFFF, 0x3366CCu);
    EXPECT_EQ(back.BitmapGetPixel(0, 0) & 0x00FFFFFF, 0u);
}

TEST(Bitmap, RotateFlipTurnsTheImageInPlace) {
    GdipBitmap arrow;
    ASSERT_TRUE(arrow.CreateBitmapFromStream(EmbeddedImageBytes(EmbeddedImage::ArrowDown)));
    ASSERT_EQ(SplitArgb(arrow.BitmapGetPixel(0, 3)).a, 0);
    ASSERT_TRUE(arrow.ImageRotateFlip(Gdiplus::RotateNoneFlipY));  // now pointing up
    EXPECT_EQ(SplitArgb(arrow.BitmapGetPixel(0, 0)).a, 0);
    EXPECT_EQ(SplitArgb(arrow.BitmapGetPixel(0, 3)).a, 255);
    ASSERT_TRUE(arrow.ImageRotateFlip(Gdiplus::Rotate90FlipNone));
    EXPECT_EQ(arrow.GetImageWidth(), 4);
    EXPECT_EQ(arrow.GetImageHeight(), 7);
}

TEST(Bitmap, RotatedBoundsHoldTheTurnedRectangle) {
    Gdiplus::SizeF quarter = GdipBitmap::RotatedBounds(26, 18, 90);
    EXPECT_NEAR(quarter.Width, 18, 1e-3);
    EXPECT_NEAR(quarter.Height, 26, 1e-3);
    Gdiplus::SizeF diagonal = GdipBitmap::RotatedBounds(10, 10, 45);
    EXPECT_NEAR(diagonal.Width, 14.142, 1e-2);
    Gdiplus::SizeF back = GdipBitmap::RotatedBounds(40, 20, -180);
    EXPECT_NEAR(back.Width, 40, 1e-3);
    EXPECT_NEAR(back.Height, 20, 1e-3);
}

TEST(Bitmap, RotateCopyTurnsClockwiseAboutTheCentre) {
    // Left half red, right half blue.
    GdipBitmap source;
    ASSERT_TRUE(source.CreateBitmapFromScan0(40, 20));
    source.BitmapSetResolution(120, 120);
    {
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.GetImageGraphicsContext(source));
        GdipSolidBrush red, blue;
        red.CreateSolidFill(0xFFFF0000);
        blue.CreateSolidFill(0xFF0000FF);
        graphics.FillRectangleI(red, 0, 0, 20, 20);
        graphics.FillRectangleI(blue, 20, 0, 20, 20);
    }
    GdipBitmap turned = source.RotateCopy(90, 0xFF00FF00);
    ASSERT_NE(turned.GetHandle(), 0u);
    EXPECT_EQ(turned.GetImageWidth(), 20);
    EXPECT_EQ(turned.GetImageHeight(), 40);
    EXPECT_FLOAT_EQ(turned.GetImageHorizontalResolution(), 120);
    // Turned clockwise: the left (red) half is now on top.
    EXPECT_EQ(turned.BitmapGetPixel(10, 8), 0xFFFF0000u);
    EXPECT_EQ(turned.BitmapGetPixel(10, 32), 0xFF0000FFu);

    // At 45 degrees the corners of the larger box show the background.
    GdipBitmap diagonal = source.RotateCopy(45, 0xFF00FF00);
    EXPECT_EQ(diagonal.GetImageWidth(), 43);
    EXPECT_EQ(diagonal.BitmapGetPixel(0, 0), 0xFF00FF00u);
}

}  // namespace
