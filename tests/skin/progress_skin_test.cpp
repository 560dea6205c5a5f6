// The progress bar skin: where the bar ends for a position, vertical bars,
// an empty range, and the updater's own download bar.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/transfer_stats.h"
#include "resources/embedded_images.h"
#include "runtime/window_ops.h"
#include "skin/controls/progress_skin.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::ColourDistance;
using skintest::PrintedClient;
using skintest::SkinTest;

constexpr COLORREF kAccent = 0x51AE51;  // the updater's accent (green)

class ProgressSkin : public SkinTest {
protected:
    // A skinned window like the updater's with one bar, shown and painted.
    HWND SkinnedBar(DWORD style, int width, int height) {
        form = Keep(skintest::MakeWindow());
        HWND bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | style, 38, 120, width, height,
                                     form, nullptr, nullptr, nullptr);
        ::SendMessageA(bar, PBM_SETRANGE32, 0, 100);
        skintest::SkinLikeTheUpdater(*engine, form, EmbeddedImageBytes(EmbeddedImage::Background));
        ::ShowWindow(form, SW_SHOWNORMAL);
        skintest::WaitForFirstFormPainted(*engine);
        return bar;
    }
    HWND form = nullptr;
};

// The bar ends where W x share says: its last column is just inside, and
// from there on the picture is the bar at position 0 (the bare track).
void ExpectHorizontalBarEndsAt(HWND bar, int position, const PrintedClient& track) {
    PrintedClient shown(bar);
    const int w = shown.Width(), mid = shown.Height() / 2;
    const int length = w * position / 100;
    SCOPED_TRACE(position);
    if (length > 6) {
        EXPECT_GT(ColourDistance(shown.At(length - 3, mid), track.At(length - 3, mid)), 20);
        const COLORREF inside = shown.At(length - 6, mid);
        EXPECT_GT(GetGValue(inside), GetRValue(inside) + 20);  // the green accent
    }
    for (int x = std::max(length, 0); x < w; x += 7) EXPECT_EQ(shown.At(x, mid), track.At(x, mid)) << x;
    if (length < w) {
        EXPECT_EQ(shown.At(length, mid), track.At(length, mid));
    }
}

TEST_F(ProgressSkin, BarEndsAtTheShareOfTheWidthAndFillsTheTrackAtHigh) {
    HWND bar = SkinnedBar(0, 300, 24);
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), &ProgressSkinProc);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    PrintedClient track(bar);
    // The track itself is drawn over the background: the face is lighter
    // at the top than at the bottom.
    EXPECT_GT(skintest::Luminance(track.At(150, 3)), skintest::Luminance(track.At(150, 20)));
    for (int position : {3, 25, 50, 77, 99}) {
        ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        ExpectHorizontalBarEndsAt(bar, position, track);
    }

    // Position = high: the bar figure spans the track from x = 1 to W - 2.
    ::SendMessageA(bar, PBM_SETPOS, 100, 0);
    PrintedClient full(bar);
    EXPECT_GT(ColourDistance(full.At(3, 12), track.At(3, 12)), 20);
    EXPECT_GT(ColourDistance(full.At(296, 12), track.At(296, 12)), 20);
}

TEST_F(ProgressSkin, VerticalBarAtHalfFillsTheLowerHalf) {
    HWND bar = SkinnedBar(PBS_VERTICAL, 24, 120);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    PrintedClient track(bar);
    ::SendMessageA(bar, PBM_SETPOS, 50, 0);
    PrintedClient half(bar);
    for (int y = 63; y < 116; y += 4) EXPECT_GT(ColourDistance(half.At(12, y), track.At(12, y)), 20) << y;
    for (int y = 0; y <= 60; y += 4) EXPECT_EQ(half.At(12, y), track.At(12, y)) << y;
    // Across the thickness the face runs from light (left) to dark (right).
    EXPECT_GT(skintest::Luminance(track.At(3, 30)), skintest::Luminance(track.At(20, 30)));
}

TEST_F(ProgressSkin, BarsOneOrTwoPixelsLongDrawNothingBeyondTheirLength) {
    for (const bool vertical : {false, true}) {
        HWND bar = vertical ? SkinnedBar(PBS_VERTICAL, 24, 200) : SkinnedBar(0, 200, 24);
        ::SendMessageA(bar, PBM_SETRANGE32, 0, 200);
        ::SendMessageA(bar, PBM_SETPOS, 0, 0);
        PrintedClient track(bar);
        for (const int length : {1, 2}) {
            ::SendMessageA(bar, PBM_SETPOS, length, 0);
            PrintedClient shown(bar);
            SCOPED_TRACE(testing::Message() << (vertical ? "vertical " : "horizontal ") << length);
            int differing = 0;
            for (int along = length; along < 200; ++along) {
                for (int across = 0; across < 24; ++across) {
                    const int x = vertical ? across : along, y = vertical ? 199 - along : across;
                    differing += shown.At(x, y) != track.At(x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0);
        }
    }
}

TEST_F(ProgressSkin, EmptyRangeDrawsOnlyTheTrack) {
    HWND bar = SkinnedBar(0, 200, 20);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    PrintedClient track(bar);
    ::SendMessageA(bar, PBM_SETRANGE32, 40, 40);
    ::SendMessageA(bar, PBM_SETPOS, 40, 0);
    ASSERT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 40);
    PrintedClient empty(bar);
    for (int x = 0; x < 200; x += 5) EXPECT_EQ(empty.At(x, 10), track.At(x, 10)) << x;
}

TEST_F(ProgressSkin, OwnBorderAndBackgroundAreNeverDrawn) {
    HWND bar = SkinnedBar(0, 200, 20);
    HDC dc = ::GetDC(bar);
    EXPECT_EQ(::SendMessageA(bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    ::ReleaseDC(bar, dc);
    EXPECT_EQ(::SendMessageA(bar, WM_NCPAINT, 1, 0), 1);
}

// The updater's own window: every position a download reports is painted
// by the skin, the bar ending at W x percent.
TEST_F(SkinTest, UpdaterDownloadBarFollowsEveryReportedPosition) {
    HWND form = Keep(LoadMainFormWithoutEvents(nullptr));
    ASSERT_NE(form, nullptr);
    const int F = skintest::SkinLikeTheUpdater(*engine, form, EmbeddedImageBytes(EmbeddedImage::Background));
    ASSERT_GE(F, 1);
    ::ShowWindow(form, SW_SHOWNORMAL);
    ::InvalidateRect(form, nullptr, TRUE);
    ASSERT_TRUE(skintest::PumpUntil([&] { return engine->Form(F) && engine->Form(F)->backgroundDc.IsValid(); }));
    HWND bar = WindowHandle(MainRef(kProgressBar1));
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), &ProgressSkinProc);
    PrintedClient track(bar);
    SetTransferFileName("Norvane");
    for (int percent = 0; percent <= 100; percent += 9) {
        TransferStats(1000, percent * 10, 1000, percent * 10);
        ASSERT_TRUE(skintest::PumpUntil([&] { return ::SendMessageA(bar, PBM_GETPOS, 0, 0) == percent; }));
        ExpectHorizontalBarEndsAt(bar, percent, track);
    }
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);
}

// Its labels are painted by the system over a pattern brush of what lies
// behind them: an empty label shows exactly the skin background.
TEST_F(SkinTest, UpdaterLabelsShowTheBackgroundBehindThem) {
    HWND form = Keep(LoadMainFormWithoutEvents(nullptr));
    ASSERT_NE(form, nullptr);
    const int F = skintest::SkinLikeTheUpdater(*engine, form, EmbeddedImageBytes(EmbeddedImage::Background));
    ASSERT_GE(F, 1);
    ::ShowWindow(form, SW_SHOWNORMAL);
    ::InvalidateRect(form, nullptr, TRUE);
    ASSERT_TRUE(skintest::PumpUntil([&] { return engine->Form(F) && engine->Form(F)->backgroundDc.IsValid(); }));
    HWND label = WindowHandle(MainRef(kLabel4));  // empty until a download runs, at (121, 90)
    ::SetWindowTextA(label, "");
    PrintedClient shown(label);
    int compared = 0;
    for (int x = 0; x < shown.Width(); x += 13) {
        for (int y = 0; y < shown.Height(); y += 5) {
            EXPECT_EQ(shown.At(x, y), skintest::BackgroundPixel(*engine, form, 121 + x, 90 + y)) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 20);
    EXPECT_NE(::GetPropA(label, "Kj_wtjb"), nullptr);
}

}  // namespace
