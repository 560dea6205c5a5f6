// The caption band, caption buttons, frame, status strip and message boxes
// at the display scale the program runs at: every expectation is a 96-DPI
// size brought to the window's DPI, so the same program checks 96 DPI and,
// run in a prefix at another LogPixels, that scale.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/message_box.h"
#include "runtime/win_handles.h"
#include "skin/model/display_scale.h"
#include "skin/skin_engine.h"
#include "skin/window/caption_painter.h"
#include "skin/window/dialog_skin.h"
#include "skin/window/status_strip.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::BackgroundPixel;
using skintest::Luminance;
using skintest::Pump;
using skintest::PumpUntil;

constexpr COLORREF kGround = RGB(40, 60, 90);

// The first pixel of the top row inside the window's region: the corner's
// ellipse, 5 pixels across at 96 DPI, leaves out a third of its width there.
void ExpectCornerCut(HWND window, const DisplayScale& s) {
    RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window, region.Get()), ERROR);
    int first = 0;
    while (first < 40 && !::PtInRegion(region.Get(), first, 0)) ++first;
    EXPECT_GE(first, s.Px(5) * 3 / 10);
    EXPECT_LE(first, s.Px(5) / 2);
}

class WindowDpiTest : public skintest::SkinTest {
protected:
    // A form like the updater's main window at the scale (its table is the
    // caller's), on a plain ground, with a caption band 110 high and the sheen.
    HWND ShowForm(SkinEngine::FormOptions options = {}) {
        const DisplayScale s(SystemDpi());
        HWND window = Keep(skintest::MakeWindow(s.Px(492), s.Px(293)));
        options.captionHeight = options.captionHeight == 25 ? 110 : options.captionHeight;
        options.captionSheen = 1;
        options.resizable = 0;
        options.backMode = 3;
        const int index = engine->AttachForm(window, options, skintest::TwoColourPng(64, 64, 32, kGround, kGround));
        EXPECT_GT(index, 0);
        form = engine->Form(index);
        formIndex = index;
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
        Pump(30);
        engine->RebuildBackground(index, nullptr, false);
        return window;
    }
    int ClientWidth(HWND window) const {
        RECT r{};
        ::GetClientRect(window, &r);
        return r.right;
    }
    FormSkin* form = nullptr;
    int formIndex = 0;
};

TEST_F(WindowDpiTest, TheFormTakesTheDpiOfItsWindow) {
    HWND window = ShowForm();
    EXPECT_EQ(form->dpi, WindowDpi(window));
    // A run in a prefix at another scale (wine-run-at-dpi) checks the scale it asked for.
    if (const char* wanted = std::getenv("WINE_DPI")) {
        EXPECT_EQ(form->dpi, std::atoi(wanted));
    }
}

TEST_F(WindowDpiTest, CaptionSheenCoversTheScaledBandAndStopsBelowIt) {
    HWND window = ShowForm();
    const DisplayScale s(WindowDpi(window));
    const int x = ClientWidth(window) / 3;
    const int band = s.Px(110);
    // The sheen fades from the top to the band's last row: ten 96-DPI rows
    // above it, it still lightens the ground; the row below the band is the ground.
    EXPECT_GT(Luminance(BackgroundPixel(*engine, window, x, band - s.Px(10))), Luminance(kGround) + 5);
    EXPECT_EQ(BackgroundPixel(*engine, window, x, band + 1), kGround);
    EXPECT_EQ(BackgroundPixel(*engine, window, x, band + s.Px(20)), kGround);
}

TEST_F(WindowDpiTest, CaptionButtonsAreLaidOutAtTheScaleFlushWithTheRightEdge) {
    SkinEngine::FormOptions options;
    HWND window = ShowForm(options);
    LayOutCaptionStrip(*form);
    const DisplayScale s(WindowDpi(window));
    const int width = ClientWidth(window);
    ASSERT_EQ(form->captionButtons.size(), 2u);  // minimise, close
    const ButtonRect& minimise = form->captionButtons[0].rect;
    const ButtonRect& close = form->captionButtons[1].rect;
    // At 96 DPI the close button is 40 x 18 from one pixel down and reaches
    // two pixels past the client area's right edge; the minimise button is
    // 26 wide, 27 to the left of it.
    EXPECT_EQ(static_cast<int>(close.x + close.width), width + s.Px(2));
    EXPECT_NEAR(close.width, s.Px(40), 1);
    EXPECT_EQ(static_cast<int>(close.y), s.Px(1));
    EXPECT_NEAR(close.height, s.Px(18), 1);
    EXPECT_NEAR(close.x - minimise.x, s.Px(27), 1);
    EXPECT_NEAR(minimise.width, s.Px(26), 1);
    EXPECT_LE(static_cast<float>(form->buttonStripX), minimise.x);
    // The strip (what the sizing zones leave alone) ends a pixel short of the close button.
    EXPECT_EQ(form->buttonStripX + form->buttonStripWidth, width + s.Px(1));

    // Hit-testing reads the same rectangles: the close button's lower
    // right, which lies outside it at 96-DPI sizes when the scale is larger.
    const int lowX = static_cast<int>(close.x + close.width) - s.Px(4);
    const int lowY = static_cast<int>(close.y + close.height) - 1;
    EXPECT_EQ(engine->CaptionButtonAt(formIndex, lowX, lowY), 2);
    EXPECT_EQ(engine->CaptionButtonAt(formIndex, static_cast<int>(minimise.x) + s.Px(13), s.Px(10)), 1);
    EXPECT_EQ(engine->CaptionButtonAt(formIndex, static_cast<int>(close.x) + s.Px(20), s.Px(19) + 2), 0);
}

// The caption-button images are drawn scaled, not at their 96-DPI size.
TEST_F(WindowDpiTest, CloseGlyphIsDrawnAtTheScaledSize) {
    HWND window = ShowForm();
    LayOutCaptionStrip(*form);
    form->needsRedraw = 1;
    engine->RebuildBackground(formIndex, nullptr, false);
    const DisplayScale s(WindowDpi(window));
    const ButtonRect& close = form->captionButtons.back().rect;
    const int clear = ClientWidth(window) / 2;  // the same rows of the band, with nothing drawn on them
    int left = -1, right = -1, top = -1, bottom = -1;
    // Below the rows the frame's rounded corner reaches.
    for (int y = s.Px(6); y < s.Px(24); ++y) {
        const COLORREF ground = BackgroundPixel(*engine, window, clear, y);
        for (int x = static_cast<int>(close.x); x < ClientWidth(window) - 2 * s.Line(1); ++x) {
            if (BackgroundPixel(*engine, window, x, y) == ground) continue;
            left = left < 0 ? x : std::min(left, x);
            right = std::max(right, x);
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    // At 96 DPI the cross's ink below row 6 starts 12 pixels into the
    // button, is 16 wide and ends on row 17: as many scaled pixels here.
    ASSERT_GE(left, 0);
    EXPECT_NEAR(left - static_cast<int>(close.x), s.Px(12), s.Px(1));
    EXPECT_NEAR(right - left + 1, s.Px(16), s.Px(1));
    EXPECT_EQ(top, s.Px(6));
    EXPECT_NEAR(bottom + 1, s.Px(18), s.Px(1));
}

TEST_F(WindowDpiTest, FrameOutlinesAreAtLeastOneScaledPixelWide) {
    HWND window = ShowForm();
    const DisplayScale s(WindowDpi(window));
    RECT client{};
    ::GetClientRect(window, &client);
    const int y = s.Px(200);
    const int line = s.Line(1);
    const int inside = Luminance(BackgroundPixel(*engine, window, s.Px(20), y));
    // The dark outline on the edge, the white one just inside it, each a scaled pixel wide.
    for (int i = 0; i < line; ++i) {
        EXPECT_LT(Luminance(BackgroundPixel(*engine, window, i, y)), inside) << "column " << i;
        EXPECT_GT(Luminance(BackgroundPixel(*engine, window, line + i, y)), inside) << "column " << line + i;
        EXPECT_GT(Luminance(BackgroundPixel(*engine, window, client.right - 1 - line - i, y)), inside);
    }
    EXPECT_EQ(BackgroundPixel(*engine, window, 2 * line + 1, y), kGround);
}

TEST_F(WindowDpiTest, RegionCornersAreCutAtTheScale) {
    HWND window = ShowForm();
    const DisplayScale s(WindowDpi(window));
    ExpectCornerCut(window, s);
}

TEST_F(WindowDpiTest, StatusStripHeightMarginAndWidthsFollowTheScale) {
    SkinEngine::FormOptions options;
    HWND window = ShowForm(options);
    const DisplayScale s(WindowDpi(window));
    ASSERT_EQ(engine->SetStatusStrip(window, 22, {"就绪", "其余"}, {120, 0}), 1);
    const RECT strip = StatusStripRect(*form);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(strip.bottom - strip.top, s.Px(22));
    EXPECT_EQ(strip.bottom, client.bottom);
    ASSERT_EQ(form->statusItems.size(), 2u);
    EXPECT_EQ(form->statusItems[0].rect.left, s.Px(kStatusMargin));
    EXPECT_NEAR(form->statusItems[0].rect.right - form->statusItems[0].rect.left, s.Px(120), 1);
    EXPECT_EQ(form->statusItems[1].rect.right, client.right - s.Px(kStatusMargin));
}

TEST_F(WindowDpiTest, DockedChildrenArePlacedAtTheScale) {
    HWND window = ShowForm();
    const DisplayScale s(WindowDpi(window));
    HWND top = skintest::MakeChild(window, "Static", 0, 0, 10, 10);
    HWND bottom = skintest::MakeChild(window, "Static", 0, 0, 10, 10);
    ASSERT_EQ(engine->Dock(window, top, 130, 40), 1);
    ASSERT_EQ(engine->Dock(window, bottom, -50, 30), 1);  // 50 above the bottom edge
    RECT client{};
    ::GetClientRect(window, &client);
    auto placed = [&](HWND child) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT t = placed(top), b = placed(bottom);
    EXPECT_EQ(t.left, s.Px(2));
    EXPECT_EQ(t.right, client.right - s.Px(2));
    EXPECT_EQ(t.top, s.Px(130));
    EXPECT_EQ(t.bottom, s.Px(170));
    EXPECT_EQ(b.top, client.bottom - s.Px(50));
    EXPECT_EQ(b.bottom, client.bottom - s.Px(20));
}

TEST_F(WindowDpiTest, TitleIsDrawnInAScaledFont) {
    HWND window = ShowForm();
    const DisplayScale s(WindowDpi(window));
    auto titleRows = [&](const char* title) {
        ::SetWindowTextA(window, title);
        engine->RebuildBackground(formIndex, nullptr, false);
        std::vector<std::vector<COLORREF>> rows;
        for (int y = 0; y < s.Px(40); ++y) {
            rows.emplace_back();
            for (int x = s.Px(28); x < s.Px(90); ++x) rows.back().push_back(BackgroundPixel(*engine, window, x, y));
        }
        return rows;
    };
    const auto untitled = titleRows("");
    const auto titled = titleRows("WWWW");
    // The rows the title and its shadow changed: at 96 DPI rows 7 to 17 (the
    // capitals of the 12-pixel font and a pixel of shadow above and below),
    // at another scale as many scaled rows.
    int top = -1, bottom = -1;
    for (int y = 0; y < static_cast<int>(titled.size()); ++y) {
        if (titled[y] == untitled[y]) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    ASSERT_GE(top, 0);
    EXPECT_NEAR(top, s.Px(7), s.Px(1));
    EXPECT_NEAR(bottom - top + 1, s.Px(11), s.Px(1)) << top << ".." << bottom;
}

BOOL CALLBACK MatchSkinnedBox(HWND window, LPARAM out) {
    if (ClassNameOf(window) != "#32770" || !GetProperty(window, prop::kPreviousProc)) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

// A message box shown by its own thread, as the update thread shows them.
class Box {
public:
    Box() {
        thread_ = std::thread([this] {
            threadId_ = ::GetCurrentThreadId();
            SkinnedMessageBox(nullptr, "更新完成！", MB_OK, "提示");
            done_ = true;
        });
    }
    ~Box() {
        while (!done_) {
            if (HWND box = Find()) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            Pump(20);
        }
        thread_.join();
    }
    HWND Find() const {
        HWND found = nullptr;
        if (threadId_) ::EnumThreadWindows(threadId_, MatchSkinnedBox, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

TEST_F(WindowDpiTest, MessageBoxBandsRegionAndCloseButtonFollowItsScale) {
    Box shown;
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = shown.Find()) != nullptr; }));
    FormSkin* dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        dialog = engine->Form(engine->FormIndexOf(box));
        return dialog && dialog->dialogPainted && BackgroundPixel(*engine, box, 10, 10) != CLR_INVALID;
    }));
    Pump(300);  // the fade-in's last step
    const DisplayScale s(WindowDpi(box));
    EXPECT_EQ(dialog->dpi, s.Dpi());
    RECT r{};
    ::GetWindowRect(box, &r);
    const int w = r.right - r.left;

    // The caption band is 26 rows at 96 DPI: a band row and a row just below it differ.
    const int x = w - s.Px(60);
    const int inBand = Luminance(BackgroundPixel(*engine, box, x, s.Px(26) - 1));
    const int below = Luminance(BackgroundPixel(*engine, box, x, s.Px(26) + 1));
    EXPECT_GE(std::abs(inBand - below), 3) << inBand << " " << below;
    EXPECT_EQ(BackgroundPixel(*engine, box, x, s.Px(26) + 1), BackgroundPixel(*engine, box, x, s.Px(40)));

    // The close button, 36 x 22 at the right edge; hit-testing finds it there.
    ASSERT_EQ(dialog->captionButtons.size(), 1u);
    const ButtonRect& close = dialog->captionButtons[0].rect;
    EXPECT_EQ(static_cast<int>(close.x + close.width), w);
    EXPECT_EQ(static_cast<int>(close.width), s.Px(kDialogCloseWidth));
    EXPECT_EQ(static_cast<int>(close.height), s.Px(kDialogCloseHeight));
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(r.right - s.Px(10), r.top + s.Px(18))), HTCLOSE);
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(r.left + s.Px(60), r.top + s.Px(24))), HTCAPTION);
    EXPECT_EQ(::SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(r.left + s.Px(60), r.top + s.Px(26) + 1)), HTCLIENT);

    // The region's corner, cut as the form's.
    ExpectCornerCut(box, s);
}

// Moved to a monitor of another scale, the box is skinned at the new DPI in
// the rectangle the system suggests.
TEST_F(WindowDpiTest, MessageBoxFollowsAChangeOfDpi) {
    Box shown;
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = shown.Find()) != nullptr; }));
    FormSkin* dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        dialog = engine->Form(engine->FormIndexOf(box));
        return dialog && dialog->dialogPainted;
    }));
    const DisplayScale before(WindowDpi(box));
    const DisplayScale after(before.Dpi() == 192 ? 96 : 192);
    RECT r{};
    ::GetWindowRect(box, &r);
    RECT suggested{r.left, r.top, r.left + after.From(r.right - r.left, before.Dpi()),
                   r.top + after.From(r.bottom - r.top, before.Dpi())};
    ::SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(after.Dpi(), after.Dpi()), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog->dpi, after.Dpi());
    RECT now{};
    ::GetWindowRect(box, &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    const ButtonRect& close = dialog->captionButtons[0].rect;
    EXPECT_EQ(static_cast<int>(close.width), after.Px(kDialogCloseWidth));
    EXPECT_EQ(static_cast<int>(close.x + close.width), now.right - now.left);
    RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(box, region.Get()), ERROR);
    RECT bounds{};
    ::GetRgnBox(region.Get(), &bounds);
    EXPECT_EQ(bounds.right, now.right - now.left);
    int first = 0;
    while (first < 40 && !::PtInRegion(region.Get(), first, 0)) ++first;
    EXPECT_GE(first, after.Px(5) * 3 / 10);
    EXPECT_LE(first, after.Px(5) / 2);
}

}  // namespace
