// Up-down controls of the gallery's second page: which controls are skinned
// and which half a point falls in, the hot half following the mouse, the
// pressed half drawn inverted until release, the halves of a horizontal
// control, the skin's own arrows, and the objects left after many rounds.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/up_down_skin.h"
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

class UpDownSkin : public skintest::SkinTest {
protected:
    void Show() {
        form = Keep(CreateGalleryForm(*engine, 1));
        ASSERT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
        for (HWND c = ::GetWindow(form, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (ClassNameOf(c) != UPDOWN_CLASSA) continue;
            controls.push_back(c);
            if (::SendMessageA(c, UDM_GETBUDDY, 0, 0)) {
                buddied = c;
            } else if (::GetWindowLongPtrA(c, GWL_STYLE) & UDS_HORZ) {
                horizontal = c;
            } else {
                free = c;
            }
        }
    }
    const ControlRecord& Record(HWND control) {
        return engine->Form(1)->upDowns[reinterpret_cast<LONG_PTR>(::GetPropA(control, "Hw_lbID")) - 1];
    }
    SIZE Size(HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    POINT At(HWND control, int x, int y) { return skintest::ClientToScreenPoint(control, x, y); }
    POINT Away() { return skintest::ClientToScreenPoint(form, 700, 480); }
    HWND form = nullptr;
    std::vector<HWND> controls;
    HWND buddied = nullptr, free = nullptr, horizontal = nullptr;
};

// The outline of a hot half is the accent (green in the gallery) at alpha 200;
// a normal or pressed half has a dark outline.
bool HotOutline(COLORREF c) { return GetGValue(c) > GetRValue(c) + 45; }
bool DarkOutline(COLORREF c) { return GetGValue(c) < GetRValue(c) + 30 && skintest::Luminance(c) < 170; }

TEST_F(UpDownSkin, EveryControlIsSkinnedOnceAndSplitIntoTwoHalves) {
    Show();
    ASSERT_EQ(controls.size(), 3u);
    ASSERT_TRUE(buddied && free && horizontal);
    EXPECT_EQ(engine->Form(1)->upDowns.size(), 3u);
    for (HWND c : controls) EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(c, GWLP_WNDPROC)), &UpDownSkinProc);
    EXPECT_EQ(Record(horizontal).horizontal, 1);
    EXPECT_EQ(Record(free).horizontal, 0);

    const int index = static_cast<int>(reinterpret_cast<LONG_PTR>(::GetPropA(free, "Hw_lbID")));
    const SIZE s = Size(free);
    EXPECT_EQ(UpDownHitPart(*engine, 1, index, MAKELPARAM(s.cx - 1, s.cy / 2 - 1)), 1);
    EXPECT_EQ(UpDownHitPart(*engine, 1, index, MAKELPARAM(0, s.cy / 2)), 2);
    const int hIndex = static_cast<int>(reinterpret_cast<LONG_PTR>(::GetPropA(horizontal, "Hw_lbID")));
    const SIZE h = Size(horizontal);
    EXPECT_EQ(UpDownHitPart(*engine, 1, hIndex, MAKELPARAM(h.cx / 2 - 1, h.cy - 1)), 1);
    EXPECT_EQ(UpDownHitPart(*engine, 1, hIndex, MAKELPARAM(h.cx / 2, 0)), 2);
    EXPECT_EQ(UpDownHitPart(*engine, 1, 99, 0), 0);

    // Attached again: no second record and no procedure forwarding to itself.
    AttachUpDownSkin(*engine, 1, form);
    EXPECT_EQ(engine->Form(1)->upDowns.size(), 3u);
    EXPECT_NE(::GetPropA(free, "Hw_hProc"), reinterpret_cast<HANDLE>(&UpDownSkinProc));
    ::SendMessageA(free, UDM_SETPOS32, 0, 7);
    EXPECT_EQ(::SendMessageA(free, UDM_GETPOS32, 0, 0), 7);
}

TEST_F(UpDownSkin, HotHalfFollowsTheMouseFromUpperToLower) {
    Show();
    const SIZE s = Size(free);
    const int upperEdge = s.cy / 4, lowerEdge = s.cy * 3 / 4;
    auto upper = [&] { return WindowPixel(free, 0, upperEdge); };
    auto lower = [&] { return WindowPixel(free, 0, lowerEdge); };
    EXPECT_TRUE(DarkOutline(upper())) << std::hex << upper();
    EXPECT_TRUE(DarkOutline(lower())) << std::hex << lower();

    skintest::RunMouse({{MouseStep::Move, Away(), 30}, {MouseStep::Move, At(free, s.cx / 2, upperEdge), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return HotOutline(upper()); })) << std::hex << upper();
    EXPECT_TRUE(DarkOutline(lower())) << std::hex << lower();
    EXPECT_EQ(Record(free).hotPart, 1);

    skintest::RunMouse({{MouseStep::Move, At(free, s.cx / 2, lowerEdge), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return HotOutline(lower()); })) << std::hex << lower();
    // The control repaints itself when its arrow under the mouse changes;
    // that repaint must keep the lower half lit.
    skintest::Pump(150);
    EXPECT_TRUE(HotOutline(lower())) << std::hex << lower();
    EXPECT_TRUE(DarkOutline(upper())) << std::hex << upper();
    EXPECT_EQ(Record(free).hotPart, 2);
    EXPECT_EQ(engine->Form(1)->hotControlClass, 8);

    skintest::RunMouse({{MouseStep::Move, Away(), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return DarkOutline(lower()); })) << std::hex << lower();
    EXPECT_EQ(Record(free).hovered, 0);
}

TEST_F(UpDownSkin, PressedHalfIsInvertedUntilRelease) {
    Show();
    const SIZE s = Size(free);
    const POINT lower = At(free, s.cx / 2, s.cy * 3 / 4);
    // Near the top of the lower half, beside the arrow: white-based while hot,
    // accent-based while pressed.
    const int fx = 3, fy = s.cy / 2 + 2;
    auto fill = [&] { return WindowPixel(free, fx, fy); };
    auto pressedLook = [&] { return skintest::Greenish(fill()) && DarkOutline(WindowPixel(free, 0, s.cy * 3 / 4)); };
    const int before = static_cast<int>(::SendMessageA(free, UDM_GETPOS32, 0, 0));

    skintest::RunMouse({{MouseStep::Move, Away(), 30}, {MouseStep::Move, lower, 60}});
    ASSERT_TRUE(skintest::PumpUntil([&] { return HotOutline(WindowPixel(free, 0, s.cy * 3 / 4)); }));
    EXPECT_FALSE(skintest::Greenish(fill())) << std::hex << fill();

    skintest::RunMouse({{MouseStep::Down, lower, 60}});
    EXPECT_TRUE(skintest::PumpUntil(pressedLook)) << std::hex << fill();
    EXPECT_EQ(Record(free).mouseDown, 1);
    skintest::Pump(100);
    EXPECT_TRUE(pressedLook()) << std::hex << fill();

    skintest::RunMouse({{MouseStep::Up, lower, 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return !skintest::Greenish(fill()); })) << std::hex << fill();
    EXPECT_EQ(Record(free).mouseDown, 0);
    EXPECT_TRUE(HotOutline(WindowPixel(free, 0, s.cy * 3 / 4)));
    // The press reached the control: the lower half counts down.
    EXPECT_LT(static_cast<int>(::SendMessageA(free, UDM_GETPOS32, 0, 0)), before);
}

TEST_F(UpDownSkin, HorizontalControlHasLeftAndRightHalves) {
    Show();
    const SIZE s = Size(horizontal);
    auto left = [&] { return WindowPixel(horizontal, 0, s.cy / 2); };
    auto right = [&] { return WindowPixel(horizontal, s.cx - 1, s.cy / 2); };
    skintest::RunMouse({{MouseStep::Move, Away(), 30}, {MouseStep::Move, At(horizontal, s.cx / 4, s.cy / 2), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return HotOutline(left()); })) << std::hex << left();
    EXPECT_TRUE(DarkOutline(right())) << std::hex << right();
    skintest::RunMouse({{MouseStep::Move, At(horizontal, s.cx * 3 / 4, s.cy / 2), 60}});
    EXPECT_TRUE(skintest::PumpUntil([&] { return HotOutline(right()); })) << std::hex << right();
    EXPECT_TRUE(DarkOutline(left())) << std::hex << left();
    skintest::RunMouse({{MouseStep::Move, Away(), 60}});
    skintest::PumpUntil([&] { return Record(horizontal).hovered == 0; });
}

// The skin's arrows (near black, 7 x 4 or 4 x 7) sit in the middle of each
// half over a face that ends in the accent; the control's own grey buttons
// and arrows never show, not even after it repainted itself.
TEST_F(UpDownSkin, OnlyTheSkinsArrowsAndFacesAreDrawn) {
    Show();
    for (HWND c : controls) {
        ::SendMessageA(c, UDM_SETPOS32, 0, 50);
        ::RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        const SIZE s = Size(c);
        const bool across = (::GetWindowLongPtrA(c, GWL_STYLE) & UDS_HORZ) != 0;
        const int hw = across ? s.cx / 2 : s.cx, hh = across ? s.cy : s.cy / 2;
        for (int half = 0; half < 2; ++half) {
            const int x0 = across ? half * hw : 0, y0 = across ? 0 : half * hh;
            const int aw = across ? 4 : 7, ah = across ? 7 : 4;
            const int ax = x0 + (hw - aw) / 2, ay = y0 + (hh - ah) / 2;
            // The arrow's broad edge: the first row (column) of the down and
            // right arrows, the last of the up and left ones.
            const bool broadFirst = half == 1;
            const int bx = across ? (broadFirst ? ax : ax + aw - 1) : ax + aw / 2;
            const int by = across ? ay + ah / 2 : (broadFirst ? ay : ay + ah - 1);
            EXPECT_LT(skintest::Luminance(WindowPixel(c, bx, by)), 60) << half << std::hex << WindowPixel(c, bx, by);
            // The end of the face's gradient is the accent.
            const int ex = across ? x0 + hw - 3 : x0 + 2, ey = across ? y0 + 2 : y0 + hh - 3;
            EXPECT_TRUE(skintest::Greenish(WindowPixel(c, ex, ey))) << half << std::hex << WindowPixel(c, ex, ey);
        }
    }
}

TEST_F(UpDownSkin, HoverAndRepaintRoundsLeaveNothingBehind) {
    Show();
    auto round = [&] {
        for (HWND c : controls) {
            const SIZE s = Size(c);
            MoveMouseTo(At(c, s.cx / 4, s.cy / 4));
            DrainMessages();
            MoveMouseTo(At(c, s.cx * 3 / 4, s.cy * 3 / 4));
            DrainMessages();
            ::RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        MoveMouseTo(Away());
        DrainMessages();
    };
    round();
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) round();
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
}

TEST_F(UpDownSkin, DisabledControlIsGreyWhereTheAccentWas) {
    Show();
    ASSERT_NE(free, nullptr);
    const SIZE s = Size(free);
    // Low in the first half, away from its arrow: the accent end of the gradient.
    const int x = 3, y = s.cy / 2 - 3;
    const COLORREF accent = WindowPixel(free, x, y);
    ASSERT_TRUE(skintest::Greenish(accent)) << std::hex << accent;
    ::EnableWindow(free, FALSE);
    skintest::Pump(30);
    const COLORREF grey = WindowPixel(free, x, y);
    EXPECT_FALSE(skintest::Greenish(grey)) << std::hex << grey;
    EXPECT_LT(GetGValue(grey) - GetRValue(grey), GetGValue(accent) - GetRValue(accent) - 20) << std::hex << grey;
    ::EnableWindow(free, TRUE);
    skintest::Pump(30);
    EXPECT_EQ(WindowPixel(free, x, y), accent);
}

TEST_F(UpDownSkin, ControlSubclassedAfterTheSkinKeepsThatSubclassWhenAttachedAgain) {
    Show();
    ASSERT_NE(free, nullptr);
    gSkinProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(free, GWLP_WNDPROC));
    const WNDPROC later = &LaterSubclass;
    ::SetWindowLongPtrA(free, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later));
    AttachUpDownSkin(*engine, 1, form);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(free, GWLP_WNDPROC)), later);
    EXPECT_EQ(engine->Form(1)->upDowns.size(), 3u);
    ::SendMessageA(free, UDM_SETPOS32, 0, 7);
    EXPECT_EQ(::SendMessageA(free, UDM_GETPOS32, 0, 0), 7);
}

}  // namespace
