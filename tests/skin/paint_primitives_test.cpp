// Shared painting primitives: shapes, colours, the memory-DC registry and the
// composition of what lies behind a control.
#include <windows.h>

#include <gtest/gtest.h>

#include "gdip/path.h"
#include "resources/embedded_images.h"
#include "skin/paint/paint_primitives.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::SkinTest;

ByteArray RoundedPoints(int radius) {
    GdipPath path;
    path.CreatePath(0);
    AddRoundedRectangle(path, 10, 20, 300, 300, radius);
    return path.GetPathPoints();
}

TEST_F(SkinTest, RoundedRectangleRadiusIsClampedToOneAndAHundred) {
    EXPECT_EQ(RoundedPoints(0), RoundedPoints(1));
    EXPECT_EQ(RoundedPoints(-7), RoundedPoints(1));
    EXPECT_EQ(RoundedPoints(500), RoundedPoints(100));
    EXPECT_NE(RoundedPoints(100), RoundedPoints(99));

    GdipPath path;
    path.CreatePath(0);
    AddRoundedRectangle(path, 0, 0, 40, 20, 10);
    // The bottom-right arc is one pixel larger: its box ends at (40, 20) - 1 + 11.
    const Gdiplus::RectF bounds = path.GetPathWorldBounds();
    EXPECT_FLOAT_EQ(bounds.X, 0);
    EXPECT_FLOAT_EQ(bounds.Width, 40);
    EXPECT_FLOAT_EQ(bounds.Height, 20);
    const ByteArray types = path.GetPathTypes();
    ASSERT_FALSE(types.empty());
    EXPECT_TRUE(types.back() & Gdiplus::PathPointTypeCloseSubpath);

    GdipPath top;
    top.CreatePath(0);
    AddRoundedTopOutline(top, 5, 5, 26, 18, 1);
    const ByteArray topTypes = top.GetPathTypes();
    ASSERT_FALSE(topTypes.empty());
    EXPECT_FALSE(topTypes.back() & Gdiplus::PathPointTypeCloseSubpath);  // open: no bottom side
    const Gdiplus::RectF topBounds = top.GetPathWorldBounds();
    EXPECT_FLOAT_EQ(topBounds.Width, 26);
    EXPECT_FLOAT_EQ(topBounds.Height, 18);
}

TEST(SkinPrimitives, ToArgbSwapsRedAndBlueAndTakesTheAlpha) {
    EXPECT_EQ(ToArgb(RGB(34, 202, 221), 120, true), 0x7822CADDu);
    EXPECT_EQ(ToArgb(RGB(34, 202, 221), 120, false), 0xFF22CADDu);
    EXPECT_EQ(ToArgb(0x00FFFFFF, 0, true), 0x00FFFFFFu);
}

TEST_F(SkinTest, MemoryDcIsReleasedOnceAndUnknownDcsAreLeftAlone) {
    const long dcs = MemoryDc::Live(), bitmaps = BitmapHandle::Live();
    HDC stranger = ::CreateCompatibleDC(nullptr);
    EXPECT_EQ(ReleaseMemoryDc(*engine, stranger), 0);
    EXPECT_EQ(ReleaseMemoryDc(*engine, nullptr), 0);
    EXPECT_NE(::GetDeviceCaps(stranger, TECHNOLOGY), 0);  // still a live DC
    ::DeleteDC(stranger);

    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RegisterMemoryDc(*engine, dc, bitmap, previous);
    RegisterMemoryDc(*engine, dc, bitmap, previous);  // at most once
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 1u);
    EXPECT_EQ(ReleaseMemoryDc(*engine, dc), 1);
    EXPECT_EQ(ReleaseMemoryDc(*engine, dc), 0);
    EXPECT_EQ(MemoryDc::Live(), dcs);
    EXPECT_EQ(BitmapHandle::Live(), bitmaps);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);  // deleted
}

TEST_F(SkinTest, ComposedBackgroundCopiesTheFormUnderTheControl) {
    HWND plain = Keep(skintest::MakeWindow(200, 100));
    HWND orphan = skintest::MakeChild(plain, "Static", 10, 10, 50, 20);
    const long dcs = MemoryDc::Live();
    EXPECT_EQ(ComposeControlBackground(*engine, orphan, RECT{0, 0, 50, 20}), nullptr);
    EXPECT_EQ(MemoryDc::Live(), dcs);
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);

    HWND window = Keep(skintest::MakeWindow());
    HWND child = skintest::MakeChild(window, "Static", 300, 200, 60, 30);
    // Left part red up to x = 320, right part blue.
    const ByteArray image = skintest::TwoColourPng(492, 293, 320, RGB(255, 0, 0), RGB(0, 0, 255));
    SkinEngine::FormOptions options;
    options.captionOn = 0;
    options.backMode = 0;
    ASSERT_EQ(engine->AttachForm(window, options, image), 1);
    engine->RebuildBackground(1, nullptr, false);

    HDC dc = ComposeControlBackground(*engine, child, RECT{0, 0, 60, 30});
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(255, 0, 0));   // form x 305
    EXPECT_EQ(::GetPixel(dc, 25, 5), RGB(0, 0, 255));  // form x 325
    EXPECT_EQ(ReleaseMemoryDc(*engine, dc), 1);

    // A filled panel under the control is laid over the form's image.
    HWND panel = skintest::MakeChild(window, "Static", 0, 150, 492, 140);
    HWND inside = skintest::MakeChild(panel, "Static", 10, 10, 20, 20);
    ASSERT_EQ(engine->AttachPanel(panel, 1, 255, 0, RGB(0, 255, 0)), 1);
    EXPECT_EQ(engine->AttachPanel(panel), 0);
    EXPECT_EQ(FindOwningForm(*engine, inside), 1);
    const BackgroundOwner owner = FindBackgroundOwner(*engine, inside, true);
    EXPECT_EQ(owner.result, 0);
    EXPECT_EQ(owner.formIndex, 1);
    EXPECT_EQ(owner.panelIndex, 1);
    dc = ComposeControlBackground(*engine, inside, RECT{0, 0, 20, 20});
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 255, 0));
    ReleaseMemoryDc(*engine, dc);
    // Black means no fill.
    engine->SetPanelFill(panel, 0);
    dc = ComposeControlBackground(*engine, inside, RECT{0, 0, 20, 20});
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(255, 0, 0));
    ReleaseMemoryDc(*engine, dc);
    EXPECT_EQ(MemoryDc::Live(), dcs + 2);  // the form's background DC and its laid-out image

    const RECT relative = RectRelativeToForm(*engine, inside);
    EXPECT_EQ(relative.left, 10);
    EXPECT_EQ(relative.top, 160);
}

// A window that supplies its own background (Wxk_Zpf, its DC in Wxk_Cj):
// a control inside it copies from that DC, a control in a filled panel
// inside it gets the panel's colour over the copy, and a panel under it
// copies from it too.
TEST_F(SkinTest, ComposedBackgroundComesFromAnOwnerWindowAndItsFilledPanel) {
    HWND window = Keep(skintest::MakeWindow());
    HWND owner = skintest::MakeChild(window, "Static", 50, 40, 300, 200);
    HWND control = skintest::MakeChild(owner, "Static", 140, 10, 20, 20);
    HWND panel = skintest::MakeChild(owner, "Static", 0, 100, 300, 100);
    HWND inPanel = skintest::MakeChild(panel, "Static", 10, 10, 20, 20);
    SkinEngine::FormOptions options;
    options.captionOn = 0;
    options.backMode = 0;
    ASSERT_EQ(engine->AttachForm(window, options, skintest::TwoColourPng(492, 293, 492, RGB(9, 9, 9), RGB(9, 9, 9))),
              1);
    engine->RebuildBackground(1, nullptr, false);

    // The owner's image: green left of x = 150, yellow from there.
    WindowDc screen(nullptr);
    MemoryDc ownerDc(::CreateCompatibleDC(screen.Get()));
    BitmapHandle ownerBitmap(::CreateCompatibleBitmap(screen.Get(), 300, 200));
    HGDIOBJ previous = ::SelectObject(ownerDc.Get(), ownerBitmap.Get());
    BrushHandle green(::CreateSolidBrush(RGB(0, 128, 0))), yellow(::CreateSolidBrush(RGB(255, 255, 0)));
    const RECT left{0, 0, 150, 200}, right{150, 0, 300, 200};
    ::FillRect(ownerDc.Get(), &left, green.Get());
    ::FillRect(ownerDc.Get(), &right, yellow.Get());
    SetProperty(owner, prop::kOwnsBackground, 1);
    SetProperty(owner, prop::kOwnerBackgroundDc, reinterpret_cast<LONG_PTR>(ownerDc.Get()));

    HDC dc = ComposeControlBackground(*engine, control, RECT{0, 0, 20, 20});
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 128, 0));     // owner x 145
    EXPECT_EQ(::GetPixel(dc, 15, 5), RGB(255, 255, 0));  // owner x 155
    ReleaseMemoryDc(*engine, dc);

    // The panel's own background comes from the owner as well (Mb_zpf).
    ASSERT_EQ(engine->AttachPanel(panel, 1, 255, 0, RGB(0, 0, 255)), 1);
    EXPECT_EQ(reinterpret_cast<HWND>(GetProperty(panel, prop::kParentOwnsBackground)), owner);
    const BackgroundOwner found = FindBackgroundOwner(*engine, inPanel, true);
    EXPECT_EQ(found.owner, owner);
    dc = ComposeControlBackground(*engine, inPanel, RECT{0, 0, 20, 20});
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 0, 255));  // the ancestor panel's fill, a plain rectangle
    ReleaseMemoryDc(*engine, dc);
    // Without its colour the copy from the owner shows.
    engine->SetPanelFill(panel, 0);
    dc = ComposeControlBackground(*engine, inPanel, RECT{0, 0, 20, 20});
    EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 128, 0));
    ReleaseMemoryDc(*engine, dc);
    // The panel itself copies its place in the owner's image.
    dc = ComposeControlBackground(*engine, panel, RECT{0, 0, 300, 100});
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(0, 128, 0));
    EXPECT_EQ(::GetPixel(dc, 200, 10), RGB(255, 255, 0));
    ReleaseMemoryDc(*engine, dc);
    ::SelectObject(ownerDc.Get(), previous);
    SetProperty(owner, prop::kOwnerBackgroundDc, 0);
}

TEST_F(SkinTest, ControlFontIsReadFromTheControl) {
    HWND window = Keep(skintest::MakeWindow(200, 100));
    HWND label = skintest::MakeChild(window, "Static", 0, 0, 50, 20);
    LOGFONTA logFont{};
    logFont.lfHeight = -15;
    logFont.lfWeight = FW_BOLD;
    lstrcpyA(logFont.lfFaceName, "Tahoma");
    FontHandle font(::CreateFontIndirectA(&logFont));
    ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    const ControlFont read = ReadControlFont(label);
    EXPECT_EQ(read.face, "Tahoma");
    EXPECT_EQ(read.size, 15);
    EXPECT_EQ(read.style & 1, 1);
}

}  // namespace
