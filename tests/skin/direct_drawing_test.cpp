// What the painters write straight into a DIB against what GDI+ draws, pixel
// by pixel over a background of varied pixels: the frame outlines laid from
// their stamp, the shadowed title laid from one drawing of the text, images
// laid from the one time GDI+ drew them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "resources/embedded_images.h"
#include "runtime/gdiplus_session.h"
#include "runtime/win_handles.h"
#include "skin/paint/frame_outlines.h"
#include "skin/paint/paint_primitives.h"
#include "skin/paint/background_image.h"
#include "skin/window/caption_painter.h"
#include "skin/model/form_skin_data.h"

namespace {

// The outlines as they were always drawn: the two rounded rectangles stroked
// with translucent one-pixel pens.
void StrokeReference(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius, int darkAlpha) {
    GdipPath outer, inner;
    outer.CreatePath(0);
    AddRoundedRectangle(outer, 0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1), outerRadius);
    inner.CreatePath(0);
    AddRoundedRectangle(inner, 1, 1, static_cast<float>(width - 3), static_cast<float>(height - 3), innerRadius);
    GdipPen dark, light;
    dark.CreatePen1(ToArgb(0x00000000, darkAlpha, true), 1.0f);
    light.CreatePen1(ToArgb(0x00FFFFFF, 180, true), 1.0f);
    graphics.DrawPath(dark, outer);
    graphics.DrawPath(light, inner);
}

// A 32-bit DIB holding the background image stretched over it; where
// `translucent`, the left third is cleared to transparent black instead.
class Canvas {
public:
    Canvas(int width, int height, bool translucent) : width_(width), height_(height) {
        bitmap_ = CreateArgbBitmap(width, height);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        displaced_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        const auto image = DecodeImagePixels(EmbeddedImageBytes(EmbeddedImage::Background));
        if (image) DrawImagePixels(dc_.Get(), width, height, *image, 0, 0, width, height);
        std::ptrdiff_t pitch = 0;
        bits_ = DirectDibBits(dc_.Get(), width, height, pitch);
        if (translucent && bits_) {
            for (int y = 0; y < height; ++y) std::memset(bits_ + y * pitch, 0, static_cast<std::size_t>(width / 3) * 4);
        }
    }
    ~Canvas() { ::SelectObject(dc_.Get(), displaced_); }
    HDC Dc() const { return dc_.Get(); }
    std::uint32_t At(int x, int y) const { return bits_[y * width_ + x]; }
    bool Valid() const { return bits_ != nullptr; }

private:
    int width_, height_;
    BitmapHandle bitmap_;
    MemoryDc dc_;
    HGDIOBJ displaced_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

struct Graphics : GdipGraphics {
    explicit Graphics(HDC dc) {
        CreateFromHDC(dc);
        SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    }
};

// Pixels that differ between two canvases, the first few reported.
int CountDiffering(const Canvas& expected, const Canvas& actual, int width, int height) {
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (expected.At(x, y) != actual.At(x, y) && differing++ < 5) {
                ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << expected.At(x, y) << " drawn, "
                              << actual.At(x, y) << " laid";
            }
        }
    }
    return differing;
}

// Every pixel, alpha included, equal; a count of the pixels the outlines
// changed, so two canvases left untouched cannot pass.
void ExpectSameOutlines(int width, int height, int outerRadius, int innerRadius, int darkAlpha, bool translucent) {
    SCOPED_TRACE(::testing::Message() << width << "x" << height << " radii " << outerRadius << "/" << innerRadius
                                      << (translucent ? " translucent" : ""));
    Canvas before(width, height, translucent), expected(width, height, translucent), actual(width, height, translucent);
    ASSERT_TRUE(before.Valid() && expected.Valid() && actual.Valid());
    {
        Graphics graphics(expected.Dc());
        StrokeReference(graphics, width, height, outerRadius, innerRadius, darkAlpha);
    }
    {
        Graphics graphics(actual.Dc());
        DrawFrameOutlines(graphics, width, height, outerRadius, innerRadius, darkAlpha);
    }
    ::GdiFlush();
    EXPECT_EQ(CountDiffering(expected, actual, width, height), 0);
    int changed = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) changed += expected.At(x, y) != before.At(x, y);
    }
    // Both outlines run round the whole area.
    EXPECT_GE(changed, 2 * (width + height));
}

TEST(FrameOutlines, LaidAsGdiplusStrokesThem) {
    StartGdiplus();
    ExpectSameOutlines(492, 293, 7, 6, 180, false);  // the main window
    ExpectSameOutlines(360, 150, 5, 3, 120, false);  // a message box
    ExpectSameOutlines(493, 294, 7, 6, 180, true);   // odd size, transparent background below
    ExpectSameOutlines(30, 30, 7, 6, 180, false);    // just the stamp's size
    ExpectSameOutlines(29, 40, 7, 6, 180, false);    // narrower than the stamp: stroked
    ExpectSameOutlines(17, 9, 5, 3, 120, false);
    ExpectSameOutlines(420, 300, 150, 100, 200, false);  // radii clamped to 100
    ExpectSameOutlines(230, 230, 150, 100, 200, false);
}

TEST(FrameOutlines, StrokedWhereTheyCannotBeLaid) {
    StartGdiplus();
    constexpr int kWidth = 200, kHeight = 120;
    // A clip is honoured: only the left half gets its outlines.
    Canvas before(kWidth, kHeight, false), expected(kWidth, kHeight, false), actual(kWidth, kHeight, false);
    ASSERT_TRUE(before.Valid() && expected.Valid() && actual.Valid());
    for (HDC dc : {expected.Dc(), actual.Dc()}) {
        Graphics graphics(dc);
        graphics.SetClipRectI(0, 0, kWidth / 2, kHeight);
        if (dc == expected.Dc()) {
            StrokeReference(graphics, kWidth, kHeight, 7, 6, 180);
        } else {
            DrawFrameOutlines(graphics, kWidth, kHeight, 7, 6, 180);
        }
    }
    ::GdiFlush();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(expected.At(x, y), actual.At(x, y)) << x << "," << y;
    }
    EXPECT_NE(actual.At(kWidth / 4, 0), before.At(kWidth / 4, 0));
    EXPECT_EQ(actual.At(kWidth - kWidth / 4, 0), before.At(kWidth - kWidth / 4, 0));

    // A device bitmap has no bits to write to: the outlines are stroked.
    OffscreenDc strokedDevice, laidDevice;
    ASSERT_TRUE(strokedDevice.Create(kWidth, kHeight) && laidDevice.Create(kWidth, kHeight));
    for (HDC dc : {strokedDevice.Dc(), laidDevice.Dc()}) {
        ::BitBlt(dc, 0, 0, kWidth, kHeight, before.Dc(), 0, 0, SRCCOPY);
        Graphics graphics(dc);
        if (dc == strokedDevice.Dc()) {
            StrokeReference(graphics, kWidth, kHeight, 7, 6, 180);
        } else {
            DrawFrameOutlines(graphics, kWidth, kHeight, 7, 6, 180);
        }
    }
    for (int y = 0; y < kHeight; y += 3) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(::GetPixel(strokedDevice.Dc(), x, y), ::GetPixel(laidDevice.Dc(), x, y)) << x << "," << y;
        }
    }
    EXPECT_NE(::GetPixel(laidDevice.Dc(), kWidth / 2, 0), ::GetPixel(before.Dc(), kWidth / 2, 0));
}

TEST(ShadowedTitle, LaidAsFiveDrawStringsBlendIt) {
    StartGdiplus();
    constexpr int kWidth = 320, kHeight = 40;
    GdipFontFamily family;
    ASSERT_TRUE(family.GetGenericFontFamilySansSerif());
    GdipFont font, large;
    ASSERT_TRUE(font.CreateFont(family, 14.0f));
    ASSERT_TRUE(large.CreateFont(family, 22.0f, 1 /* bold */));
    GdipStringFormat format;
    format.CreateStringFormat(0x1000 /* no wrap */);
    struct Case {
        const char* text;
        const GdipFont* font;
        Gdiplus::RectF layout;
        Gdiplus::ARGB shadow, face;
    };
    const Case cases[] = {
        {"软件更新", &font, Gdiplus::RectF(28, 6, 250, 20), 0x96000000, 0xFFFFFFFF},
        {"Updater 2.1 (WWW) - a long title cut at the layout's end", &font, Gdiplus::RectF(28, 6, 200, 20),
         0x9622CADD, 0xFF102030},
        {"Wjq|", &large, Gdiplus::RectF(-3, -2, 100, 30), 0x96FFFFFF, 0xFF000000},  // cut by the area's edges
        {"Wjq|", &font, Gdiplus::RectF(kWidth - 40, kHeight - 18, 60, 20), 0xFF101010, 0xFFFFFFFF},
        {"软件 Wjq", &font, Gdiplus::RectF(28, 6, 250, 20), 0x96000000, 0xC8FFFF00},  // translucent face
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Canvas before(kWidth, kHeight, false), expected(kWidth, kHeight, false), actual(kWidth, kHeight, false);
        ASSERT_TRUE(before.Valid() && expected.Valid() && actual.Valid());
        {
            Graphics graphics(expected.Dc());
            GdipSolidBrush shadow, face;
            shadow.CreateSolidFill(c.shadow);
            face.CreateSolidFill(c.face);
            for (const auto& o : {std::make_pair(-1, 0), std::make_pair(1, 0), std::make_pair(0, -1), std::make_pair(0, 1)}) {
                const Gdiplus::RectF moved(c.layout.X + static_cast<float>(o.first), c.layout.Y + static_cast<float>(o.second),
                                           c.layout.Width, c.layout.Height);
                graphics.DrawString(Text(c.text), *c.font, moved, format, shadow);
            }
            graphics.DrawString(Text(c.text), *c.font, c.layout, format, face);
        }
        {
            Graphics graphics(actual.Dc());
            EXPECT_TRUE(DrawShadowedText(graphics, actual.Dc(), Text(c.text), *c.font, format, c.layout, c.shadow, c.face));
        }
        ::GdiFlush();
        EXPECT_EQ(CountDiffering(expected, actual, kWidth, kHeight), 0);
        int changed = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) changed += expected.At(x, y) != before.At(x, y);
        }
        EXPECT_GT(changed, 20);
    }
    // A device bitmap has no bits to lay the title into.
    OffscreenDc device;
    ASSERT_TRUE(device.Create(kWidth, kHeight));
    Graphics graphics(device.Dc());
    EXPECT_FALSE(DrawShadowedText(graphics, device.Dc(), Text("x"), font, format, cases[0].layout, cases[0].shadow,
                                  cases[0].face));
}

TEST(LaidImage, LaidAsGdiplusDrawsIt) {
    StartGdiplus();
    constexpr int kWidth = 120, kHeight = 40;
    struct Case {
        EmbeddedImage image;
        int x, y;
    };
    const Case cases[] = {
        {EmbeddedImage::FormClose, 70, 2},  {EmbeddedImage::Minimise, 40, 3},
        {EmbeddedImage::FormClose, -5, -4},  // cut by the area's edges
        {EmbeddedImage::Maximise, kWidth - 16, kHeight - 11},
        {EmbeddedImage::FormClose, 10, 12},  // drawn again from the kept layer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        const ByteArray bytes = EmbeddedImageBytes(c.image);
        GdipImage image;
        ASSERT_TRUE(image.LoadImageFromStream(bytes));
        Canvas before(kWidth, kHeight, true), expected(kWidth, kHeight, true), actual(kWidth, kHeight, true);
        ASSERT_TRUE(before.Valid() && expected.Valid() && actual.Valid());
        for (HDC dc : {expected.Dc(), actual.Dc()}) {
            Graphics graphics(dc);
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
            const float x = static_cast<float>(c.x), y = static_cast<float>(c.y);
            if (dc == expected.Dc()) {
                graphics.DrawImageRect(image, x, y, static_cast<float>(image.GetImageWidth()),
                                       static_cast<float>(image.GetImageHeight()));
            } else {
                EXPECT_TRUE(LayImage(graphics, dc, image, HashBytes(bytes), x, y));
            }
        }
        ::GdiFlush();
        EXPECT_EQ(CountDiffering(expected, actual, kWidth, kHeight), 0);
        int changed = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) changed += expected.At(x, y) != before.At(x, y);
        }
        EXPECT_GT(changed, 10);
    }
    // Between pixels, or into a device bitmap, the image is left to GDI+.
    GdipImage image;
    const ByteArray bytes = EmbeddedImageBytes(EmbeddedImage::FormClose);
    ASSERT_TRUE(image.LoadImageFromStream(bytes));
    Canvas canvas(kWidth, kHeight, false);
    {
        Graphics graphics(canvas.Dc());
        EXPECT_FALSE(LayImage(graphics, canvas.Dc(), image, HashBytes(bytes), 10.5f, 2));
    }
    OffscreenDc device;
    ASSERT_TRUE(device.Create(kWidth, kHeight));
    Graphics graphics(device.Dc());
    EXPECT_FALSE(LayImage(graphics, device.Dc(), image, HashBytes(bytes), 10, 2));
}

}  // namespace
