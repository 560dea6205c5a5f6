// The painted form, read back from its background DC: region, background
// modes, caption sheen, frame, title, and the caption-button faces.
#include <windows.h>

#include <gtest/gtest.h>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "resources/embedded_images.h"
#include "skin/paint/paint_primitives.h"
#include "skin/paint/background_image.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::BackgroundPixel;
using skintest::Luminance;
using skintest::SkinTest;

// A point of a caption button clear of its glyph.
POINT ButtonProbe(SkinEngine& engine, int form, int button) {
    const ButtonRect& r = engine.Form(form)->captionButtons[button - 1].rect;
    return POINT{static_cast<int>(r.x) + 9, static_cast<int>(r.y) + 5};
}

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

void Tick(HWND window, int times) {
    for (int i = 0; i < times; ++i) ::SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
}

class PaintedForm : public SkinTest {
protected:
    HWND Show(HWND window) {
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
        skintest::Pump(30);
        return window;
    }
    HWND UpdaterWindow() {
        HWND window = Keep(skintest::MakeWindow());
        EXPECT_EQ(skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
        return Show(window);
    }
};

TEST_F(PaintedForm, RoundedRegionLeavesTheCornersOut) {
    HWND window = UpdaterWindow();
    RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window, region.Get()), ERROR);
    for (POINT corner : {POINT{0, 0}, POINT{491, 0}, POINT{0, 292}, POINT{491, 292}}) {
        EXPECT_FALSE(::PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    EXPECT_TRUE(::PtInRegion(region.Get(), 246, 0));
    EXPECT_TRUE(::PtInRegion(region.Get(), 3, 3));
    EXPECT_TRUE(::PtInRegion(region.Get(), 488, 289));
}

TEST_F(PaintedForm, ModeThreeStretchesTheImageAndModeZeroClipsIt) {
    // 1,024 x 768, red left of x = 512, blue right of it.
    const ByteArray image = skintest::TwoColourPng(1024, 768, 512, RGB(255, 0, 0), RGB(0, 0, 255));
    SkinEngine::FormOptions options;
    options.backMode = 3;
    HWND stretched = Show(Keep(skintest::MakeWindow()));
    ASSERT_EQ(engine->AttachForm(stretched, options, image), 1);
    options.backMode = 0;
    HWND clipped = Keep(skintest::MakeWindow());
    ASSERT_EQ(engine->AttachForm(clipped, options, image), 2);
    engine->RebuildBackground(1, nullptr, false);
    engine->RebuildBackground(2, nullptr, false);
    EXPECT_EQ(BackgroundPixel(*engine, stretched, 200, 200), RGB(255, 0, 0));
    EXPECT_EQ(BackgroundPixel(*engine, stretched, 300, 200), RGB(0, 0, 255));  // the split now at 246
    EXPECT_EQ(BackgroundPixel(*engine, clipped, 300, 200), RGB(255, 0, 0));
    EXPECT_EQ(BackgroundPixel(*engine, clipped, 480, 280), RGB(255, 0, 0));
}

TEST_F(PaintedForm, FormWithoutItsOwnImageUsesTheGlobalImageAndMode) {
    engine->SetBackground("", skintest::TwoColourPng(1024, 768, 512, RGB(255, 0, 0), RGB(0, 0, 255)), std::nullopt,
                          std::nullopt, 3);
    SkinEngine::FormOptions options;
    options.backMode = 0;  // ignored without an image of its own
    HWND window = Keep(skintest::MakeWindow());
    ASSERT_EQ(engine->AttachForm(window, options, ByteArray()), 1);
    engine->RebuildBackground(1, nullptr, false);
    EXPECT_EQ(BackgroundPixel(*engine, window, 300, 200), RGB(0, 0, 255));
    // Centred (mode 2): a 100 x 50 image sits in the middle of the client area.
    engine->SetBackground("", skintest::TwoColourPng(100, 50, 50, RGB(0, 255, 0), RGB(255, 255, 0)), RGB(9, 9, 9),
                          std::nullopt, 2);
    engine->RebuildBackground(1, nullptr, false);
    EXPECT_EQ(BackgroundPixel(*engine, window, 246 - 25, 146), RGB(0, 255, 0));
    EXPECT_EQ(BackgroundPixel(*engine, window, 246 + 25, 146), RGB(255, 255, 0));
    EXPECT_EQ(BackgroundPixel(*engine, window, 100, 200), RGB(9, 9, 9));  // the base colour around it
}

TEST_F(PaintedForm, SheenLightensTheCaptionBandDownToCaptionHeight) {
    const ByteArray image = skintest::TwoColourPng(64, 64, 64, RGB(60, 60, 60), RGB(60, 60, 60));
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.backMode = 3;
    HWND plain = Keep(skintest::MakeWindow());
    ASSERT_EQ(engine->AttachForm(plain, options, image), 1);
    options.captionSheen = 1;
    HWND sheen = Keep(skintest::MakeWindow());
    ASSERT_EQ(engine->AttachForm(sheen, options, image), 2);
    engine->RebuildBackground(1, nullptr, false);
    engine->RebuildBackground(2, nullptr, false);
    const int top = Luminance(BackgroundPixel(*engine, sheen, 200, 4));
    const int middle = Luminance(BackgroundPixel(*engine, sheen, 200, 55));
    EXPECT_GT(top, Luminance(BackgroundPixel(*engine, plain, 200, 4)) + 80);
    EXPECT_GT(top, middle + 30);
    EXPECT_GT(middle, 60);
    EXPECT_EQ(BackgroundPixel(*engine, sheen, 200, 112), BackgroundPixel(*engine, plain, 200, 112));
    EXPECT_EQ(BackgroundPixel(*engine, sheen, 200, 112), RGB(60, 60, 60));
}

TEST_F(PaintedForm, FrameIsADarkOutlineWithALightLineInside) {
    const ByteArray image = skintest::TwoColourPng(64, 64, 64, RGB(128, 128, 128), RGB(128, 128, 128));
    HWND window = Keep(skintest::MakeWindow());
    ASSERT_EQ(engine->AttachForm(window, SkinEngine::FormOptions{}, image), 1);
    engine->RebuildBackground(1, nullptr, false);
    for (POINT p : {POINT{246, 292}, POINT{0, 150}, POINT{491, 150}}) {
        EXPECT_LT(Luminance(BackgroundPixel(*engine, window, p.x, p.y)), 70) << p.x << "," << p.y;
    }
    EXPECT_GT(Luminance(BackgroundPixel(*engine, window, 1, 150)), 170);
    EXPECT_GT(Luminance(BackgroundPixel(*engine, window, 246, 291)), 170);
    EXPECT_GT(Luminance(BackgroundPixel(*engine, window, 490, 150)), 170);
    EXPECT_EQ(BackgroundPixel(*engine, window, 246, 150), RGB(128, 128, 128));
}

TEST_F(PaintedForm, RenamingRepaintsTheTitleWithoutARebuild) {
    HWND window = UpdaterWindow();
    FormSkin* form = engine->Form(1);
    ASSERT_NE(form->backgroundDc.Get(), nullptr);
    EXPECT_EQ(form->needsRedraw.load(), 0);
    const HANDLE bitmap = ::GetPropA(window, "Ck_wtjbdx");
    auto titlePixels = [&] {
        std::vector<COLORREF> pixels;
        for (int y = kTitleY - 2; y < kTitleY + 14; ++y) {
            for (int x = kTitleX + 20; x < kTitleX + 120; ++x) pixels.push_back(BackgroundPixel(*engine, window, x, y));
        }
        return pixels;
    };
    const std::vector<COLORREF> before = titlePixels();
    ::SetWindowTextA(window, "WWWWWWWWWW");
    EXPECT_NE(titlePixels(), before);
    EXPECT_EQ(::GetPropA(window, "Ck_wtjbdx"), bitmap);
    EXPECT_EQ(form->needsRedraw.load(), 0);
    ::SetWindowTextA(window, "软件更新");
    EXPECT_EQ(titlePixels(), before);
}

// A title font taller than the caption reaches below it: renaming repaints
// every row the old title reached, so no ghost of it is left there.
TEST_F(PaintedForm, RenamingWithATitleTallerThanTheCaptionLeavesNoGhost) {
    HWND window = UpdaterWindow();
    FormSkin* form = engine->Form(1);
    SkinEngine::TitleStyle style;
    style.size = form->captionHeight + 10;
    ASSERT_EQ(engine->SetTitleStyle(window, style), 1);
    ::SetWindowTextA(window, "");
    form->needsRedraw = 1;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(form->needsRedraw.load(), 0);
    auto belowCaption = [&] {
        std::vector<COLORREF> pixels;
        for (int y = form->captionHeight; y < kTitleY + form->titleFontSize; ++y) {
            for (int x = kTitleX + 20; x < kTitleX + 200; ++x) pixels.push_back(BackgroundPixel(*engine, window, x, y));
        }
        return pixels;
    };
    const std::vector<COLORREF> untitled = belowCaption();
    ::SetWindowTextA(window, "WWWWWW");
    EXPECT_NE(belowCaption(), untitled);  // the tall title reaches below the caption
    ::SetWindowTextA(window, "");
    EXPECT_EQ(belowCaption(), untitled);
}

TEST_F(PaintedForm, HoverFadesInTheAccentFaceAndOutAgain) {
    HWND window = UpdaterWindow();
    const POINT close = ButtonProbe(*engine, 1, 2), minimise = ButtonProbe(*engine, 1, 1);
    const COLORREF closeNormal = BackgroundPixel(*engine, window, close.x, close.y);
    const COLORREF minimiseNormal = BackgroundPixel(*engine, window, minimise.x, minimise.y);

    ::SendMessageA(window, WM_MOUSEMOVE, 0, At(close));
    ::SendMessageA(window, WM_MOUSEHOVER, 0, At(close));
    Tick(window, 2);
    const COLORREF early = BackgroundPixel(*engine, window, close.x, close.y);
    Tick(window, kHoverSteps);
    const COLORREF hot = BackgroundPixel(*engine, window, close.x, close.y);
    EXPECT_GT(GetRValue(hot), GetGValue(hot) + 60);
    EXPECT_GT(GetRValue(hot), GetBValue(hot) + 60);
    EXPECT_GT(GetRValue(hot) - GetGValue(hot), GetRValue(early) - GetGValue(early));  // faded in

    // Over to the minimise button: close fades out, minimise in with the accent (green).
    ::SendMessageA(window, WM_MOUSEMOVE, 0, At(minimise));
    Tick(window, kHoverSteps);
    EXPECT_EQ(BackgroundPixel(*engine, window, close.x, close.y), closeNormal);
    const COLORREF accent = BackgroundPixel(*engine, window, minimise.x, minimise.y);
    EXPECT_GT(GetGValue(accent), GetRValue(accent) + 30);
    EXPECT_GT(GetGValue(accent), GetBValue(accent) + 30);

    ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    Tick(window, kHoverSteps);
    EXPECT_EQ(BackgroundPixel(*engine, window, minimise.x, minimise.y), minimiseNormal);
    EXPECT_EQ(engine->Form(1)->timerOn, 0);
    EXPECT_EQ(engine->Form(1)->hotButton, 0);
}

TEST_F(PaintedForm, HoverFaceShownAgainIsThePaintedFace) {
    HWND window = UpdaterWindow();
    const ButtonRect r = engine->Form(1)->captionButtons[1].rect;
    const POINT close = ButtonProbe(*engine, 1, 2);
    auto face = [&] {
        std::vector<COLORREF> pixels;
        for (int y = static_cast<int>(r.y); y < static_cast<int>(r.y + 19); ++y) {
            for (int x = static_cast<int>(r.x) - 2; x < static_cast<int>(r.x + 38); ++x) {
                pixels.push_back(BackgroundPixel(*engine, window, x, y));
            }
        }
        return pixels;
    };
    auto hoverAndLeave = [&](std::vector<COLORREF>& hot, std::vector<COLORREF>& left) {
        ::SendMessageA(window, WM_MOUSEMOVE, 0, At(close));
        ::SendMessageA(window, WM_MOUSEHOVER, 0, At(close));
        Tick(window, kHoverSteps);
        hot = face();
        ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        Tick(window, kHoverSteps);
        left = face();
    };
    const std::vector<COLORREF> normal = face();
    std::vector<COLORREF> paintedHot, paintedLeft, copiedHot, copiedLeft;
    hoverAndLeave(paintedHot, paintedLeft);
    EXPECT_NE(paintedHot, normal);
    EXPECT_EQ(paintedLeft, normal);
    ASSERT_GE(engine->Form(1)->hoverFaces.size(), 2u);
    EXPECT_EQ(engine->Form(1)->hoverFaces[1].filled, 0x1FFu);  // every step kept
    hoverAndLeave(copiedHot, copiedLeft);
    EXPECT_EQ(copiedHot, paintedHot);
    EXPECT_EQ(copiedLeft, normal);

    // Another accent paints the faces again.
    const POINT minimise = ButtonProbe(*engine, 1, 1);
    ::SendMessageA(window, WM_MOUSEMOVE, 0, At(minimise));
    ::SendMessageA(window, WM_MOUSEHOVER, 0, At(minimise));
    Tick(window, kHoverSteps);
    const COLORREF green = BackgroundPixel(*engine, window, minimise.x, minimise.y);
    EXPECT_GT(GetGValue(green), GetBValue(green) + 30);
    ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    Tick(window, kHoverSteps);
    engine->SetBackground("", ByteArray(), std::nullopt, RGB(0, 0, 255));
    ::SendMessageA(window, WM_MOUSEMOVE, 0, At(minimise));
    ::SendMessageA(window, WM_MOUSEHOVER, 0, At(minimise));
    Tick(window, kHoverSteps);
    const COLORREF blue = BackgroundPixel(*engine, window, minimise.x, minimise.y);
    EXPECT_GT(GetBValue(blue), GetGValue(blue) + 30);
}

TEST_F(PaintedForm, PressedCloseButtonIsRed) {
    HWND window = UpdaterWindow();
    const POINT close = ButtonProbe(*engine, 1, 2);
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(close));
    const COLORREF pressed = BackgroundPixel(*engine, window, close.x, close.y);
    EXPECT_GT(GetRValue(pressed), 200);
    EXPECT_LT(GetGValue(pressed), 120);
    EXPECT_EQ(engine->PressedButton(), 2);
}

// The whole background DC as pixels.
std::vector<COLORREF> AllPixels(SkinEngine& engine, HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y) {
        for (int x = 0; x < r.right; ++x) pixels.push_back(BackgroundPixel(engine, window, x, y));
    }
    return pixels;
}

TEST_F(PaintedForm, RebuildOfAnUnchangedLookEqualsARebuildFromNothing) {
    HWND window = UpdaterWindow();
    FormSkin* form = engine->Form(1);
    auto rebuildBoth = [&](const char* what) {
        engine->RebuildBackground(1, nullptr, false);
        const std::vector<COLORREF> kept = AllPixels(*engine, window);
        ForgetLaidOutLayers(*form);
        engine->RebuildBackground(1, nullptr, false);
        EXPECT_TRUE(kept == AllPixels(*engine, window)) << what;
    };
    rebuildBoth("as shown");
    ::SetWindowTextA(window, "WWWW");
    rebuildBoth("renamed");
    SkinEngine::TitleStyle style;
    style.colour = RGB(255, 0, 0);
    engine->SetTitleStyle(window, style);
    rebuildBoth("red title");
    engine->SetCaptionButtonImages(window, EmbeddedImageBytes(EmbeddedImage::Help), std::nullopt, std::nullopt,
                                   std::nullopt);
    rebuildBoth("other minimise glyph");
    engine->SetFormBackground(window, skintest::TwoColourPng(64, 64, 32, RGB(0, 0, 255), RGB(0, 255, 0)), 2);
    rebuildBoth("centred image of its own");
}

// GDI+'s bilinear DrawImage of the image into a DIB filled with the colour,
// and the direct computation of the same, pixel by pixel.
void ExpectDrawnAsGdiplusDrawsIt(const ByteArray& bytes, int width, int height, int x, int y, int w, int h,
                                 int tolerance) {
    BitmapHandle expectedBitmap = CreateArgbBitmap(width, height), actualBitmap = CreateArgbBitmap(width, height);
    MemoryDc expected(::CreateCompatibleDC(nullptr)), actual(::CreateCompatibleDC(nullptr));
    HGDIOBJ oldExpected = ::SelectObject(expected.Get(), expectedBitmap.Get());
    HGDIOBJ oldActual = ::SelectObject(actual.Get(), actualBitmap.Get());
    for (HDC dc : {expected.Get(), actual.Get()}) {
        GdipGraphics graphics;
        graphics.CreateFromHDC(dc);
        GdipSolidBrush fill;
        fill.CreateSolidFill(0xFF336699);
        graphics.FillRectangleI(fill, 0, 0, width, height);
    }
    {
        GdipImage image;
        ASSERT_TRUE(image.LoadImageFromStream(bytes));
        GdipGraphics graphics;
        graphics.CreateFromHDC(expected.Get());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
        graphics.DrawImageRectI(image, x, y, w, h);
    }
    const std::shared_ptr<const ImagePixels> pixels = DecodeImagePixels(bytes);
    ASSERT_TRUE(pixels);
    ASSERT_TRUE(DrawImagePixels(actual.Get(), width, height, *pixels, x, y, w, h));
    int worst = 0, worstX = 0, worstY = 0;
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const int d = skintest::ColourDistance(::GetPixel(expected.Get(), px, py), ::GetPixel(actual.Get(), px, py));
            if (d > worst) worst = d, worstX = px, worstY = py;
        }
    }
    EXPECT_LE(worst, tolerance) << "at " << worstX << "," << worstY;
    ::SelectObject(expected.Get(), oldExpected);
    ::SelectObject(actual.Get(), oldActual);
}

TEST(BackgroundImage, ScaledAndPlacedAsGdiplusDrawsIt) {
    StartGdiplus();
    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    ExpectDrawnAsGdiplusDrawsIt(background, 492, 293, 0, 0, 492, 293, 0);     // the main window
    ExpectDrawnAsGdiplusDrawsIt(background, 300, 200, 0, 0, 300, 200, 0);     // smaller still
    ExpectDrawnAsGdiplusDrawsIt(background, 492, 293, -266, -237, 1024, 768, 0);  // centred, natural size
    // A small image stretched over the whole area (mode 3), its last row and
    // column blended towards the transparent outside; a translucent image
    // stretched and in its natural size at an offset (modes 0 to 2).
    ExpectDrawnAsGdiplusDrawsIt(skintest::TwoColourPng(7, 5, 3, RGB(255, 0, 0), RGB(0, 0, 255)), 100, 60, 0, 0, 100,
                                60, 2);
    const ByteArray translucent = EmbeddedImageBytes(EmbeddedImage::FormClose);
    ExpectDrawnAsGdiplusDrawsIt(translucent, 120, 60, 0, 0, 120, 60, 2);
    const std::shared_ptr<const ImagePixels> glyph = DecodeImagePixels(translucent);
    ASSERT_TRUE(glyph);
    ExpectDrawnAsGdiplusDrawsIt(translucent, 60, 30, 50 - glyph->width, 3, glyph->width, glyph->height, 2);
    EXPECT_FALSE(DecodeImagePixels(ByteArray{1, 2, 3}));
}

TEST(BackgroundImage, CaptionSheenLaidDirectlyIsTheGradientGdiplusFills) {
    StartGdiplus();
    const std::shared_ptr<const ImagePixels> image = DecodeImagePixels(EmbeddedImageBytes(EmbeddedImage::Background));
    ASSERT_TRUE(image);
    constexpr int kWidth = 300, kHeight = 200;
    for (int band : {110, 25, 250}) {
        BitmapHandle expectedBitmap = CreateArgbBitmap(kWidth, kHeight), actualBitmap = CreateArgbBitmap(kWidth, kHeight);
        MemoryDc expected(::CreateCompatibleDC(nullptr)), actual(::CreateCompatibleDC(nullptr));
        HGDIOBJ oldExpected = ::SelectObject(expected.Get(), expectedBitmap.Get());
        HGDIOBJ oldActual = ::SelectObject(actual.Get(), actualBitmap.Get());
        ASSERT_TRUE(DrawImagePixels(expected.Get(), kWidth, kHeight, *image, 0, 0, kWidth, kHeight));
        ASSERT_TRUE(DrawImagePixels(actual.Get(), kWidth, kHeight, *image, 0, 0, kWidth, kHeight));
        {
            GdipGraphics graphics;
            graphics.CreateFromHDC(expected.Get());
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            GdipLinearBrush sheen;
            sheen.CreateLineBrush(0, 0, 0, static_cast<float>(band), 0x96FFFFFF, 0x00FFFFFF, 3 /* tile flip XY */);
            graphics.FillRectangleI(sheen, 0, 0, kWidth, band);
        }
        ASSERT_TRUE(FadeWhiteDownDirect(actual.Get(), kWidth, std::min(kHeight, band), band, 150));
        int worst = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; x += 7) {
                worst = std::max(worst, skintest::ColourDistance(::GetPixel(expected.Get(), x, y),
                                                                 ::GetPixel(actual.Get(), x, y)));
            }
        }
        EXPECT_LE(worst, 1) << "band " << band;
        ::SelectObject(expected.Get(), oldExpected);
        ::SelectObject(actual.Get(), oldActual);
    }
    // Only DIBs are written directly.
    OffscreenDc device;
    ASSERT_TRUE(device.Create(10, 10));
    EXPECT_FALSE(FadeWhiteDownDirect(device.Dc(), 10, 10, 10, 150));
}

}  // namespace
