// Track bars of the gallery's second page: which bars are skinned and how
// their styles are read, the dot that grows to a knob under real mouse input,
// the plate that TrackOption 0 leaves out, the selection outline, the channel
// of a vertical bar and the objects left after many hover rounds.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skin/controls/track_bar_skin.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/gallery_form.h"

using skintest::DrainMessages;
using skintest::MoveMouseTo;

namespace {

// Something that subclasses a control after the skin did: it passes every
// message on to the skin's procedure.
WNDPROC gSkinProc = nullptr;
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(gSkinProc, window, message, wParam, lParam);
}

using skintest::MouseStep;
using skintest::WindowPixel;

constexpr LONG kTickBits = TBS_TOP | TBS_BOTH | TBS_NOTICKS;

class TrackBarSkin : public skintest::SkinTest {
protected:
    void Show() {
        form = Keep(CreateGalleryForm(*engine, 1));
        ASSERT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
    }
    std::vector<HWND> Bars() {
        std::vector<HWND> bars;
        for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (ClassNameOf(c) == TRACKBAR_CLASSA) bars.push_back(c);
        }
        return bars;
    }
    // The first bar whose style has exactly these bits among `mask`.
    HWND Bar(LONG bits, LONG mask) {
        for (HWND bar : Bars()) {
            if ((::GetWindowLongPtrA(bar, GWL_STYLE) & mask) == bits) return bar;
        }
        return nullptr;
    }
    const ControlRecord& Record(HWND bar) {
        return engine->Form(1)->trackBars[reinterpret_cast<LONG_PTR>(::GetPropA(bar, "Hw_lbID")) - 1];
    }
    // The form's background at a point of the bar.
    COLORREF Behind(HWND bar, int x, int y) {
        POINT p{x, y};
        ::MapWindowPoints(bar, form, &p, 1);
        return skintest::BackgroundPixel(*engine, form, p.x, p.y);
    }
    void TrackOption(int option) {
        engine->SetOptions(1, 80, option);
        for (HWND bar : Bars()) ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    POINT Away() { return skintest::ClientToScreenPoint(form, 700, 480); }
    POINT Centre(HWND window) { return skintest::WindowCentre(window); }
    HWND form = nullptr;
};

RECT ThumbRect(HWND bar) {
    RECT t{};
    ::SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

RECT ChannelRect(HWND bar) {
    RECT c{};
    ::SendMessageA(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    return c;
}

TEST_F(TrackBarSkin, EveryBarIsSkinnedOnceWithItsStyleRead) {
    Show();
    const std::vector<HWND> bars = Bars();
    ASSERT_EQ(bars.size(), 6u);
    // The placeholder record is taken by the first bar: one record per bar.
    EXPECT_EQ(engine->Form(1)->trackBars.size(), bars.size());
    for (HWND bar : bars) {
        EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), &TrackBarSkinProc);
        EXPECT_EQ(Record(bar).window, bar);
    }
    const HWND below = Bar(0, kTickBits | TBS_VERT | TBS_ENABLESELRANGE);
    const HWND above = Bar(TBS_TOP, kTickBits);
    const HWND both = Bar(TBS_BOTH, kTickBits);
    const HWND none = Bar(TBS_NOTICKS, kTickBits);
    const HWND selection = Bar(TBS_ENABLESELRANGE, TBS_ENABLESELRANGE);
    const HWND vertical = Bar(TBS_VERT, TBS_VERT);
    ASSERT_TRUE(below && above && both && none && selection && vertical);
    EXPECT_EQ(Record(below).tickPlacement, 1);
    EXPECT_EQ(Record(above).tickPlacement, 0);
    EXPECT_EQ(Record(both).tickPlacement, 2);
    EXPECT_EQ(Record(none).tickPlacement, 3);
    EXPECT_EQ(Record(selection).selectionRange, 1);
    EXPECT_EQ(Record(below).selectionRange, 0);
    EXPECT_EQ(Record(vertical).vertical, 1);
    EXPECT_EQ(Record(below).vertical, 0);

    // Attached again: no second record, and the bar does not become its own
    // previous procedure (a message would then recurse until the stack ends).
    AttachTrackBarSkin(*engine, 1, form);
    EXPECT_EQ(engine->Form(1)->trackBars.size(), bars.size());
    EXPECT_NE(::GetPropA(below, "Hw_hProc"), reinterpret_cast<HANDLE>(&TrackBarSkinProc));
    ::SendMessageA(below, TBM_SETPOS, TRUE, 60);
    EXPECT_EQ(::SendMessageA(below, TBM_GETPOS, 0, 0), 60);
    ::RedrawWindow(below, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);

    // With control skinning off a new bar is left alone.
    HWND later = skintest::MakeChild(form, TRACKBAR_CLASSA, 600, 300, 150, 30);
    engine->SetOptions(0);
    AttachTrackBarSkin(*engine, 1, form);
    EXPECT_EQ(::GetPropA(later, "Hw_hProc"), nullptr);
    EXPECT_EQ(engine->Form(1)->trackBars.size(), bars.size());
}

TEST_F(TrackBarSkin, DotGrowsToAKnobWithTheAccentFrameWhileHoveredAndShrinksOnLeave) {
    Show();
    TrackOption(0);  // nothing but channel and thumb over the form's background
    HWND bar = Bar(0, kTickBits | TBS_VERT | TBS_ENABLESELRANGE);
    ASSERT_NE(bar, nullptr);
    const RECT t = ThumbRect(bar), c = ChannelRect(bar);
    const POINT centre{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    // Four pixels across the channel from the centre: outside a 4-pixel dot
    // and the thin channel running through it, inside an 11-pixel knob.
    ASSERT_LE(c.bottom - c.top, 6);
    const POINT probe{centre.x, centre.y + 4};
    auto knobShown = [&] { return WindowPixel(bar, probe.x, probe.y) != Behind(bar, probe.x, probe.y); };

    EXPECT_FALSE(knobShown());
    EXPECT_NE(WindowPixel(bar, centre.x, centre.y), Behind(bar, centre.x, centre.y));  // the dot
    EXPECT_EQ(Record(bar).hovered, 0);

    skintest::RunMouse({{MouseStep::Move, Away(), 30}, {MouseStep::Move, Centre(bar), 60}});
    EXPECT_TRUE(skintest::PumpUntil(knobShown));
    EXPECT_EQ(Record(bar).hovered, 1);
    EXPECT_EQ(engine->Form(1)->hotControlClass, 2);
    EXPECT_EQ(engine->Form(1)->previousHotControl, reinterpret_cast<LONG_PTR>(::GetPropA(bar, "Hw_lbID")));
    // The knob stays within 11 pixels: three pixels further out is background
    // again, except where the frame runs.
    const int outside = centre.y + 8;
    EXPECT_EQ(WindowPixel(bar, centre.x, outside), Behind(bar, centre.x, outside));
    // The frame's left side runs ten pixels left of the centre, beside the knob.
    const COLORREF frame = WindowPixel(bar, centre.x - 10, probe.y);
    EXPECT_TRUE(skintest::Greenish(frame)) << std::hex << frame;
    EXPECT_EQ(WindowPixel(bar, centre.x - 13, probe.y), Behind(bar, centre.x - 13, probe.y));

    skintest::RunMouse({{MouseStep::Move, Away(), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return !knobShown(); }));
    EXPECT_EQ(Record(bar).hovered, 0);
    EXPECT_EQ(engine->Form(1)->previousHotControl, 0);
    EXPECT_EQ(WindowPixel(bar, centre.x - 10, probe.y), Behind(bar, centre.x - 10, probe.y));
}

TEST_F(TrackBarSkin, TrackOptionZeroLeavesOnlyChannelAndThumb) {
    Show();
    HWND bar = Bar(TBS_NOTICKS, kTickBits);
    ASSERT_NE(bar, nullptr);
    RECT r{};
    ::GetClientRect(bar, &r);
    const RECT c = ChannelRect(bar);
    const RECT t = ThumbRect(bar);
    // The plate's top outline, its face near the bottom, and the channel far from the thumb.
    const POINT outline{r.right / 2, 0}, face{r.right / 2, r.bottom - 3};
    // The channel runs through the thumb's centre line.
    const POINT channel{t.right + 30 < c.right ? t.right + 20 : c.left + 5, (t.top + t.bottom) / 2};
    auto differs = [&](POINT p) { return WindowPixel(bar, p.x, p.y) != Behind(bar, p.x, p.y); };
    EXPECT_TRUE(differs(outline));
    EXPECT_TRUE(differs(face));

    TrackOption(0);
    EXPECT_FALSE(differs(outline));
    EXPECT_FALSE(differs(face));
    EXPECT_FALSE(differs(POINT{2, r.bottom / 2}));
    // The channel darkens the background.
    EXPECT_LT(skintest::Luminance(WindowPixel(bar, channel.x, channel.y)),
              skintest::Luminance(Behind(bar, channel.x, channel.y)) - 10);

    TrackOption(1);
    EXPECT_TRUE(differs(outline));
}

TEST_F(TrackBarSkin, SelectionRangeIsOutlinedAlongTheChannel) {
    Show();
    HWND bar = Bar(TBS_ENABLESELRANGE, TBS_ENABLESELRANGE);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::SendMessageA(bar, TBM_GETSELSTART, 0, 0), 25);
    // Where the control puts its thumb for positions 25 and 75 is where the
    // selection starts and ends.
    auto thumbCentreAt = [&](int position) {
        ::SendMessageA(bar, TBM_SETPOS, TRUE, position);
        const RECT t = ThumbRect(bar);
        return (t.left + t.right) / 2;
    };
    const int start = thumbCentreAt(25), end = thumbCentreAt(75);
    ::SendMessageA(bar, TBM_SETPOS, TRUE, 50);
    ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const RECT t = ThumbRect(bar);
    const int y = (t.top + t.bottom) / 2;
    auto brightestNear = [&](int x) {
        int best = 0;
        for (int dx = -1; dx <= 1; ++dx) best = std::max(best, skintest::Luminance(WindowPixel(bar, x + dx, y)));
        return best;
    };
    const int channel = skintest::Luminance(WindowPixel(bar, start - 5, y));
    EXPECT_GT(brightestNear(start), channel + 25);
    EXPECT_GT(brightestNear(end), channel + 25);
    // Between its ends the selection is not filled.
    EXPECT_LT(skintest::Luminance(WindowPixel(bar, (start + 3 * end) / 4, y)), channel + 10);
}

TEST_F(TrackBarSkin, VerticalBarChannelRunsDownTheBar) {
    Show();
    TrackOption(0);
    HWND bar = Bar(TBS_VERT, TBS_VERT);
    ASSERT_NE(bar, nullptr);
    RECT r{};
    ::GetClientRect(bar, &r);
    const RECT t = ThumbRect(bar);
    const int x = (t.left + t.right) / 2;
    // Below the thumb, near the top and near the bottom: channel; beside it: background.
    for (int y : {r.bottom / 8, r.bottom * 7 / 8}) {
        ASSERT_TRUE(y < t.top - 8 || y > t.bottom + 8);
        EXPECT_LT(skintest::Luminance(WindowPixel(bar, x, y)), skintest::Luminance(Behind(bar, x, y)) - 10) << y;
        EXPECT_EQ(WindowPixel(bar, r.right - 4, y), Behind(bar, r.right - 4, y)) << y;
    }
    // Nothing runs across the bar at the height of the channel's ends.
    EXPECT_EQ(WindowPixel(bar, r.right - 4, r.bottom / 2), Behind(bar, r.right - 4, r.bottom / 2));
}

TEST_F(TrackBarSkin, FocusCueFramesTheBarOnlyWhileFocusedAndNotHidden) {
    Show();
    TrackOption(0);
    HWND bar = Bar(TBS_NOTICKS, kTickBits);
    ASSERT_NE(bar, nullptr);
    RECT r{};
    ::GetClientRect(bar, &r);
    // The cue's left side, halfway down.
    const int x = 1, y = r.bottom / 2;
    ASSERT_EQ(WindowPixel(bar, x, y), Behind(bar, x, y));

    ::SetFocus(bar);
    skintest::Pump(20);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(bar, x, y))) << std::hex << WindowPixel(bar, x, y);
    EXPECT_EQ(Record(bar).focused, 1);
    ::SendMessageA(bar, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    skintest::Pump(20);
    EXPECT_EQ(WindowPixel(bar, x, y), Behind(bar, x, y));
    ::SendMessageA(bar, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    skintest::Pump(20);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(bar, x, y))) << std::hex << WindowPixel(bar, x, y);

    ::SetFocus(form);
    skintest::Pump(20);
    EXPECT_EQ(WindowPixel(bar, x, y), Behind(bar, x, y));
    EXPECT_EQ(Record(bar).focused, 0);
}

TEST_F(TrackBarSkin, DisabledBarShowsAGreyKnobAndAFainterChannel) {
    Show();
    TrackOption(0);
    HWND bar = Bar(TBS_NOTICKS, kTickBits);
    ASSERT_NE(bar, nullptr);
    const RECT t = ThumbRect(bar);
    const POINT centre{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    const POINT channel{t.right + 20, centre.y};
    const COLORREF knob = WindowPixel(bar, centre.x, centre.y);
    const COLORREF line = WindowPixel(bar, channel.x, channel.y);

    ::EnableWindow(bar, FALSE);
    skintest::Pump(30);
    const COLORREF greyKnob = WindowPixel(bar, centre.x, centre.y);
    EXPECT_TRUE(skintest::Neutral(greyKnob, 3)) << std::hex << greyKnob;
    EXPECT_LT(skintest::Luminance(greyKnob), skintest::Luminance(knob) - 30) << std::hex << knob << " " << greyKnob;
    EXPECT_GT(skintest::Luminance(WindowPixel(bar, channel.x, channel.y)), skintest::Luminance(line));

    ::EnableWindow(bar, TRUE);
    skintest::Pump(30);
    EXPECT_EQ(WindowPixel(bar, centre.x, centre.y), knob);
}

TEST_F(TrackBarSkin, BarSubclassedAfterTheSkinKeepsThatSubclassWhenAttachedAgain) {
    Show();
    HWND bar = Bar(TBS_NOTICKS, kTickBits);
    ASSERT_NE(bar, nullptr);
    gSkinProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC));
    const WNDPROC later = &LaterSubclass;
    ::SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later));
    const std::size_t records = engine->Form(1)->trackBars.size();
    AttachTrackBarSkin(*engine, 1, form);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), later);
    EXPECT_EQ(engine->Form(1)->trackBars.size(), records);
    ::SendMessageA(bar, TBM_SETPOS, TRUE, 40);
    EXPECT_EQ(::SendMessageA(bar, TBM_GETPOS, 0, 0), 40);
}

TEST_F(TrackBarSkin, HoverAndRepaintRoundsLeaveNothingBehind) {
    Show();
    const std::vector<HWND> bars = Bars();
    auto round = [&] { skintest::HoverAndRepaint(bars, Away()); };
    round();
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) round();
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
}

}  // namespace
