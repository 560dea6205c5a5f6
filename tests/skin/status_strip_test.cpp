// The status strip of a skinned form: item layout for the client size, the
// items painted into the background DC, text changes and moves repainting
// only the strip, and sizes that do not fit.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/window/status_strip.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::BackgroundPixel;
using skintest::SkinTest;

constexpr int kStripHeight = 24;

class StatusStrip : public SkinTest {
protected:
    // A resizable 400 x 300 form on a dark grey image with a strip of two items.
    HWND StripForm(std::vector<int> widths = {120, 0}) {
        HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        SkinEngine::FormOptions options;
        options.backMode = 3;
        const ByteArray grey = skintest::TwoColourPng(40, 30, 20, RGB(40, 40, 40), RGB(40, 40, 40));
        EXPECT_EQ(engine->AttachForm(window, options, grey), 1);
        EXPECT_EQ(engine->SetStatusStrip(window, kStripHeight, {"就绪", "第二项"}, widths), 1);
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
        skintest::Pump(30);
        return window;
    }
    FormSkin& Entry() { return *engine->Form(1); }
    // An item's rectangle without the frame's light line along the bottom.
    static RECT TextArea(RECT r) {
        r.bottom -= 4;
        return r;
    }
    // Light pixels (text) within the rectangle of the background DC.
    int LightPixels(HWND window, const RECT& r) {
        int light = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) light += skintest::Luminance(BackgroundPixel(*engine, window, x, y)) > 120;
        }
        return light;
    }
    std::vector<COLORREF> Pixels(HWND window, const RECT& r) {
        std::vector<COLORREF> pixels;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) pixels.push_back(BackgroundPixel(*engine, window, x, y));
        }
        return pixels;
    }
};

TEST_F(StatusStrip, ItemsAreLaidOutAlongTheBottomAndFollowTheWidth) {
    HWND window = StripForm();
    const auto& items = Entry().statusItems;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].rect.left, kStatusMargin);
    EXPECT_EQ(items[0].rect.right, kStatusMargin + 120);
    EXPECT_EQ(items[0].rect.top, 300 - kStripHeight);
    EXPECT_EQ(items[0].rect.bottom, 300);
    EXPECT_EQ(items[1].rect.left, kStatusMargin + 120);
    EXPECT_EQ(items[1].rect.right, 400 - kStatusMargin);

    ::SetWindowPos(window, nullptr, 0, 0, 500, 260, SWP_NOMOVE | SWP_NOZORDER);
    skintest::Pump(30);
    EXPECT_EQ(Entry().statusItems[0].rect.right, kStatusMargin + 120);
    EXPECT_EQ(Entry().statusItems[1].rect.right, 500 - kStatusMargin);
    EXPECT_EQ(Entry().statusItems[1].rect.top, 260 - kStripHeight);
    // The text went along with the strip.
    EXPECT_GT(LightPixels(window, TextArea(Entry().statusItems[0].rect)), 10);
}

TEST_F(StatusStrip, ItemsArePaintedInWhiteAndRestyled) {
    HWND window = StripForm();
    const RECT first = TextArea(Entry().statusItems[0].rect), second = TextArea(Entry().statusItems[1].rect);
    EXPECT_GT(LightPixels(window, first), 10);
    EXPECT_GT(LightPixels(window, second), 10);
    // Above the strip the background is untouched.
    EXPECT_EQ(LightPixels(window, RECT{5, 300 - kStripHeight - 20, 395, 300 - kStripHeight}), 0);


    ASSERT_EQ(engine->SetStatusStyle(window, RGB(255, 0, 0)), 1);
    int red = 0;
    for (COLORREF c : Pixels(window, first)) red += GetRValue(c) > 150 && GetGValue(c) < 90;
    EXPECT_GT(red, 10);
    EXPECT_EQ(LightPixels(window, first), 0);  // no white left
}

TEST_F(StatusStrip, NewTextRepaintsOnlyTheStrip) {
    HWND window = StripForm();
    const RECT first = Entry().statusItems[0].rect;
    const HANDLE bitmap = ::GetPropA(window, "Ck_wtjbdx");
    const std::vector<COLORREF> before = Pixels(window, first);
    const std::vector<COLORREF> caption = Pixels(window, RECT{0, 0, 400, 30});

    ASSERT_EQ(engine->SetStatusText(window, 1, "WWWWWWWW"), 1);
    EXPECT_EQ(Entry().needsRedraw.load(), 0);
    EXPECT_EQ(::GetPropA(window, "Ck_wtjbdx"), bitmap);
    EXPECT_NE(Pixels(window, first), before);
    ASSERT_EQ(engine->SetStatusText(window, 1, "就绪"), 1);
    EXPECT_EQ(Pixels(window, first), before);  // the old text is gone without a trace
    EXPECT_EQ(Pixels(window, RECT{0, 0, 400, 30}), caption);

    EXPECT_EQ(engine->SetStatusText(window, 0, "x"), 0);
    EXPECT_EQ(engine->SetStatusText(window, 3, "x"), 0);
    HWND plain = Keep(skintest::MakeWindow());
    EXPECT_EQ(engine->SetStatusText(plain, 1, "x"), 0);
    EXPECT_EQ(engine->SetStatusStrip(plain, kStripHeight, {"x"}), 0);
}

TEST_F(StatusStrip, MovingTheFormKeepsItsBackground) {
    HWND window = StripForm();
    const HANDLE bitmap = ::GetPropA(window, "Ck_wtjbdx");
    const std::vector<COLORREF> strip = Pixels(window, RECT{0, 300 - kStripHeight, 400, 300});
    ::SetWindowPos(window, nullptr, 140, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Entry().needsRedraw.load(), 0);  // a move is no reason to rebuild
    skintest::Pump(30);
    EXPECT_EQ(::GetPropA(window, "Ck_wtjbdx"), bitmap);
    EXPECT_EQ(Pixels(window, RECT{0, 300 - kStripHeight, 400, 300}), strip);
}

TEST_F(StatusStrip, SizesThatDoNotFitStayInsideTheClientArea) {
    HWND window = StripForm({300, 300, 0});
    ASSERT_EQ(engine->SetStatusStrip(window, kStripHeight, {"a", "b", "c"}, {300, 300, 0}), 1);
    for (const StatusItem& item : Entry().statusItems) {
        EXPECT_GE(item.rect.left, kStatusMargin);
        EXPECT_LE(item.rect.right, 400 - kStatusMargin);
        EXPECT_LE(item.rect.left, item.rect.right);
    }
    EXPECT_EQ(Entry().statusItems[2].rect.right - Entry().statusItems[2].rect.left, 0);

    // Three sharing items split the spare width without losing a pixel.
    ASSERT_EQ(engine->SetStatusStrip(window, kStripHeight, {"a", "b", "c"}), 1);
    EXPECT_EQ(Entry().statusItems[2].rect.right, 400 - kStatusMargin);

    // A strip taller than the form covers it, no more.
    ASSERT_EQ(engine->SetStatusStrip(window, 1000, {"a"}), 1);
    EXPECT_EQ(Entry().statusItems[0].rect.top, 0);
    EXPECT_EQ(Entry().statusItems[0].rect.bottom, 300);
    ::UpdateWindow(window);
    skintest::Pump(30);
    EXPECT_EQ(Entry().needsRedraw.load(), 0);

    // Height 0 takes the strip away: the bottom shows the background again.
    ASSERT_EQ(engine->SetStatusStrip(window, 0, {}), 1);
    ::UpdateWindow(window);
    skintest::Pump(30);
    EXPECT_EQ(LightPixels(window, RECT{5, 300 - kStripHeight, 395, 296}), 0);
}

}  // namespace
