// Check boxes and radio buttons on the gallery's second page: which of them
// are skinned (once), where the box sits, the ticked image after a click and
// after BM_SETCHECK, the teal dot and its absence for an indeterminate state,
// the hover overlay, the disabled face, the focus cue, the caption in a font
// GDI+ cannot use, and no object left after many paints.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/win_handles.h"
#include "skin/controls/button_skin.h"
#include "skin/controls/check_radio_skin.h"
#include "skin/paint/paint_primitives.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/checks_section.h"
#include "tools/gallery/gallery_form.h"

namespace {

using skintest::ColourDistance;
using skintest::MouseStep;
using skintest::WindowPixel;

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

// The ticked image's border and the empty image's border.
bool Bluish(COLORREF c) { return GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > 120; }
bool DarkGrey(COLORREF c) { return skintest::Neutral(c, 8) && GetRValue(c) < 110; }
bool Tealish(COLORREF c) { return GetGValue(c) > GetRValue(c) + 40 && GetBValue(c) > GetRValue(c) + 40; }

class CheckRadioSkin : public skintest::SkinTest {
protected:
    void SetUp() override {
        form = Keep(CreateGalleryForm(*engine, 1));
        ASSERT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
    }
    HWND Get(int id) { return ::GetDlgItem(form, id); }
    ControlRecord RecordOf(HWND control) {
        ControlRecord copy;
        engine->WithForms([&](FormSkinList& forms) {
            for (const ControlRecord& r : forms[0]->buttons) {
                if (r.window == control) copy = r;
            }
        });
        return copy;
    }
    std::size_t Records() {
        return engine->WithForms([](FormSkinList& forms) { return forms[0]->buttons.size(); });
    }
    void Repaint(HWND control) {
        ::InvalidateRect(control, nullptr, TRUE);
        ::UpdateWindow(control);
        skintest::Pump(20);
    }
    int Height(HWND control) {
        RECT r{};
        ::GetClientRect(control, &r);
        return r.bottom;
    }
    POINT Centre(HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point of the form's caption, away from every control.
    POINT Away() { return skintest::ClientToScreenPoint(form, 300, 12); }
    HWND form = nullptr;
};

TEST_F(CheckRadioSkin, OnlyAutomaticRadiosAndCheckBoxesAreSkinnedAndOnlyOnce) {
    // Check boxes are types 2, 3 and 0xA; radio buttons type 9 only.
    for (LONG type = 0; type <= 0xF; ++type) {
        const int expected = (type == 2 || type == 3 || type == 0xA) ? kButtonCheckBox : type == 9 ? kButtonRadio : 0;
        EXPECT_EQ(CheckRadioKindOfStyle(WS_CHILD | WS_VISIBLE | type), expected) << type;
    }
    HWND group = Get(kGalleryOwnLookGroup);
    for (int id : {kGalleryThreeState, kGalleryPlainRadio}) {
        HWND own = ::GetDlgItem(group, id);
        ASSERT_NE(own, nullptr) << id;
        EXPECT_NE(ProcOf(own), &ButtonSkinProc) << id;
        EXPECT_EQ(::GetPropA(own, "Hw_hProc"), nullptr) << id;
        EXPECT_EQ(RecordOf(own).window, nullptr) << id;
    }
    struct Expected {
        int id, kind, checked;
    };
    for (const Expected& e : {Expected{kGalleryCheckSmall, kButtonCheckBox, 1}, {kGalleryCheckTall, kButtonCheckBox, 0},
                              {kGalleryRadioOne, kButtonRadio, 1}, {kGalleryRadioTwo, kButtonRadio, 0},
                              {kGalleryDisabledCheck, kButtonCheckBox, 1}, {kGalleryDisabledRadio, kButtonRadio, 1}}) {
        HWND control = Get(e.id);
        EXPECT_EQ(ProcOf(control), &ButtonSkinProc) << e.id;
        const ControlRecord record = RecordOf(control);
        EXPECT_EQ(record.kind, e.kind) << e.id;
        EXPECT_EQ(record.checkedAtAttach, e.checked) << e.id;
        EXPECT_EQ(record.parent, form) << e.id;
        // The style is left as it was: not owner-drawn.
        EXPECT_NE(::GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << e.id;
    }
    // Inside a group box the panel hands it over.
    HWND inGroup = ::GetDlgItem(group, kGalleryGroupCheck);
    EXPECT_EQ(ProcOf(inGroup), &ButtonSkinProc);
    EXPECT_EQ(RecordOf(inGroup).parent, group);
    // The section's first control took the first record.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropA(Get(kGalleryCheckSmall), "Hw_lbID")), 1);

    // Attaching again adds nothing and leaves the procedure chain as it was:
    // the control still answers and changes state.
    const std::size_t records = Records();
    HWND tall = Get(kGalleryCheckTall);
    const HANDLE previous = ::GetPropA(tall, "Hw_hProc");
    AttachCheckRadioSkin(*engine, 1, form);
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(::GetPropA(tall, "Hw_hProc"), previous);
    ::SendMessageA(tall, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(::SendMessageA(tall, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// The dark column of the box's left border, as first and last row.
std::pair<int, int> BorderRows(HWND control, int height) {
    int first = -1, last = -1;
    for (int y = 0; y < height; ++y) {
        const COLORREF c = WindowPixel(control, 0, y);
        if (skintest::Luminance(c) < 150) {
            if (first < 0) first = y;
            last = y;
        }
    }
    return {first, last};
}

TEST_F(CheckRadioSkin, BoxSitsAtTheTopOfA13PixelControlAndIsCentredInATallerOne) {
    HWND small = Get(kGalleryCheckSmall);
    HWND tall = Get(kGalleryCheckTall);
    ASSERT_EQ(Height(small), 13);
    ASSERT_EQ(Height(tall), 30);
    Repaint(small);
    Repaint(tall);
    // The ticked image fills rows 0..12 of the small box exactly.
    EXPECT_TRUE(Bluish(WindowPixel(small, 0, 0))) << std::hex << WindowPixel(small, 0, 0);
    EXPECT_TRUE(Bluish(WindowPixel(small, 12, 12))) << std::hex << WindowPixel(small, 12, 12);
    EXPECT_EQ(WindowPixel(small, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(BorderRows(small, 13), std::make_pair(0, 12));
    // Printing the control paints the same.
    const skintest::PrintedClient printed(small);
    EXPECT_EQ(printed.At(0, 0), WindowPixel(small, 0, 0));
    EXPECT_EQ(printed.At(6, 6), WindowPixel(small, 6, 6));
    // Taller: from (30 - 13) / 2 = 8.5, so the half-covered rows 8 and 21 may show.
    const auto rows = BorderRows(tall, 30);
    EXPECT_GE(rows.first, 8);
    EXPECT_LE(rows.first, 9);
    EXPECT_GE(rows.second, 20);
    EXPECT_LE(rows.second, 21);
    EXPECT_TRUE(DarkGrey(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);
    EXPECT_GT(skintest::Luminance(WindowPixel(tall, 6, 15)), 230);
}

TEST_F(CheckRadioSkin, CaptionStartsRightOfTheBox) {
    HWND tall = Get(kGalleryCheckTall);
    Repaint(tall);
    RECT r{};
    ::GetClientRect(tall, &r);
    int textLeft = r.right;
    for (int x = 13; x < r.right && textLeft == r.right; ++x) {
        for (int y = 0; y < r.bottom; ++y) {
            if (skintest::Luminance(WindowPixel(tall, x, y)) < 90) {
                textLeft = x;
                break;
            }
        }
    }
    EXPECT_GE(textLeft, 17);
    EXPECT_LT(textLeft, 24);
}

TEST_F(CheckRadioSkin, ClickAndSetCheckShowTheTickedImage) {
    HWND tall = Get(kGalleryCheckTall);
    Repaint(tall);
    ASSERT_TRUE(DarkGrey(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);
    const POINT p = Centre(tall);
    skintest::RunMouse({{MouseStep::Move, p, 30}, {MouseStep::Down, p, 30}, {MouseStep::Up, p, 50}});
    skintest::PumpUntil([&] { return ::SendMessageA(tall, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    ASSERT_EQ(::SendMessageA(tall, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Bluish(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);

    ::SendMessageA(tall, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_TRUE(DarkGrey(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);
    ::SendMessageA(tall, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Bluish(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);

    // The space key toggles it back.
    ::SetFocus(tall);
    ::SendMessageA(tall, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(tall, WM_KEYUP, VK_SPACE, 0xC0000001);
    skintest::Pump(20);
    EXPECT_EQ(::SendMessageA(tall, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(DarkGrey(WindowPixel(tall, 0, 15))) << std::hex << WindowPixel(tall, 0, 15);
}

// Answers BM_GETCHECK with 2 (the control itself keeps only 0 or 1 for an
// automatic radio button) and passes everything else on.
WNDPROC gBelowIndeterminate = nullptr;
LRESULT CALLBACK IndeterminateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_GETCHECK) return BST_INDETERMINATE;
    return ::CallWindowProcA(gBelowIndeterminate, window, message, wParam, lParam);
}

TEST_F(CheckRadioSkin, SelectedRadioShowsTheTealDotAndAnIndeterminateOneNone) {
    HWND one = Get(kGalleryRadioOne);
    HWND two = Get(kGalleryRadioTwo);
    Repaint(one);
    Repaint(two);
    // The dot spans x 5..11, y (T - 12) / 2 + 3 .. + 9; its rim is teal.
    const int T = Height(one), rimX = 6, rimY = (T - 12) / 2 + 6;
    EXPECT_TRUE(Tealish(WindowPixel(one, rimX, rimY))) << std::hex << WindowPixel(one, rimX, rimY);
    EXPECT_FALSE(Tealish(WindowPixel(two, rimX, rimY))) << std::hex << WindowPixel(two, rimX, rimY);

    // Clicking the second moves the dot.
    const POINT p = Centre(two);
    skintest::RunMouse({{MouseStep::Move, p, 30}, {MouseStep::Down, p, 30}, {MouseStep::Up, p, 50}});
    skintest::PumpUntil([&] { return ::SendMessageA(two, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    skintest::Pump(30);
    EXPECT_TRUE(Tealish(WindowPixel(two, rimX, rimY))) << std::hex << WindowPixel(two, rimX, rimY);
    EXPECT_FALSE(Tealish(WindowPixel(one, rimX, rimY))) << std::hex << WindowPixel(one, rimX, rimY);

    // Selected underneath, but reporting 2: no dot.
    gBelowIndeterminate = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(two, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IndeterminateProc)));
    Repaint(two);
    EXPECT_FALSE(Tealish(WindowPixel(two, rimX, rimY))) << std::hex << WindowPixel(two, rimX, rimY);
    ::SetWindowLongPtrA(two, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBelowIndeterminate));
    Repaint(two);
    EXPECT_TRUE(Tealish(WindowPixel(two, rimX, rimY))) << std::hex << WindowPixel(two, rimX, rimY);
}

TEST_F(CheckRadioSkin, HoverOverlayAppearsAndGoes) {
    HWND tall = Get(kGalleryCheckTall);
    HWND radio = Get(kGalleryRadioTwo);
    // Inside the box near the start of the accent gradient; inside the circle.
    const int bx = 4, by = 11, rx = 6, ry = (Height(radio) - 12) / 2 + 4;
    skintest::RunMouse({{MouseStep::Move, Away(), 30}});
    Repaint(tall);
    Repaint(radio);
    const COLORREF boxBefore = WindowPixel(tall, bx, by), radioBefore = WindowPixel(radio, rx, ry);
    ASSERT_FALSE(skintest::Greenish(boxBefore)) << std::hex << boxBefore;

    skintest::RunMouse({{MouseStep::Move, Centre(tall), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(tall, bx, by)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(tall, bx, by))) << std::hex << WindowPixel(tall, bx, by);

    skintest::RunMouse({{MouseStep::Move, Centre(radio), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(radio, rx, ry)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(radio, rx, ry))) << std::hex << WindowPixel(radio, rx, ry);
    // Leaving the box for the radio button restored the box.
    EXPECT_EQ(WindowPixel(tall, bx, by), boxBefore);

    skintest::RunMouse({{MouseStep::Move, Away(), 50}});
    skintest::PumpUntil([&] { return WindowPixel(radio, rx, ry) == radioBefore; });
    EXPECT_EQ(WindowPixel(radio, rx, ry), radioBefore);
}

TEST_F(CheckRadioSkin, DisabledControlsShowTheSilverFaceWithoutBoxOrDot) {
    HWND check = Get(kGalleryDisabledCheck);
    HWND radio = Get(kGalleryDisabledRadio);
    Repaint(check);
    Repaint(radio);
    const int T = Height(check);
    for (HWND control : {check, radio}) {
        // Beside where the mark would be, at 60 % of the height.
        const COLORREF face = WindowPixel(control, 8, T * 6 / 10);
        EXPECT_TRUE(skintest::Neutral(face, 3)) << std::hex << face;
        EXPECT_NEAR(GetRValue(face), 180, 14) << std::hex << face;
        // Lighter at the top than at the 60 % stop.
        EXPECT_GT(GetRValue(WindowPixel(control, 8, 2)), GetRValue(face));
    }
    // Both are checked, yet neither the ticked image nor the dot shows.
    EXPECT_FALSE(Bluish(WindowPixel(check, 0, T / 2)));
    EXPECT_FALSE(Tealish(WindowPixel(radio, 6, (T - 12) / 2 + 6)));

    // The control paints its own look straight away when it is enabled,
    // disabled or given a caption; the skin's look stays.
    ::EnableWindow(check, TRUE);
    skintest::Pump(30);
    EXPECT_TRUE(Bluish(WindowPixel(check, 0, T / 2))) << std::hex << WindowPixel(check, 0, T / 2);
    ::SetWindowTextA(check, "改名的复选框");
    skintest::Pump(30);
    EXPECT_TRUE(Bluish(WindowPixel(check, 0, T / 2))) << std::hex << WindowPixel(check, 0, T / 2);
    ::EnableWindow(check, FALSE);
    skintest::Pump(30);
    EXPECT_NEAR(GetRValue(WindowPixel(check, 8, T * 6 / 10)), 180, 14) << std::hex << WindowPixel(check, 8, T * 6 / 10);
}

// Hides or shows focus cues as the dialog manager does through the parent.
void SetHideFocus(HWND control, bool hide) {
    ::SendMessageA(control, WM_UPDATEUISTATE, MAKEWPARAM(hide ? UIS_SET : UIS_CLEAR, UISF_HIDEFOCUS), 0);
    skintest::Pump(20);
}

TEST_F(CheckRadioSkin, FocusCueRunsBeforeTheCaptionOnlyWhileFocusedAndNotHidden) {
    for (int id : {kGalleryCheckTall, kGalleryRadioTwo}) {
        HWND control = Get(id);
        Repaint(control);
        // The cue's left side, between the mark and the caption.
        const int x = 15, y = Height(control) / 2;
        const COLORREF plain = WindowPixel(control, x, y);
        ASSERT_FALSE(skintest::Greenish(plain)) << id << " " << std::hex << plain;

        ::SetFocus(control);
        skintest::Pump(20);
        EXPECT_TRUE(skintest::Greenish(WindowPixel(control, x, y))) << id << " " << std::hex << WindowPixel(control, x, y);
        SetHideFocus(control, true);
        EXPECT_EQ(WindowPixel(control, x, y), plain) << id;
        SetHideFocus(control, false);
        EXPECT_TRUE(skintest::Greenish(WindowPixel(control, x, y))) << id;

        ::SetFocus(form);
        skintest::Pump(20);
        EXPECT_EQ(WindowPixel(control, x, y), plain) << id;
    }
}

TEST_F(CheckRadioSkin, CaptionInAFontGdiplusCannotUseFallsBackToTheDefaultFont) {
    HWND check = ::CreateWindowExA(0, "Button", "系统字体", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 258, 200, 20,
                                   form, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(check, nullptr);
    // A vertical face: GDI+ makes no font of it.
    FontHandle vertical(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "@SimSun"));
    ASSERT_TRUE(vertical);
    ::SendMessageA(check, WM_SETFONT, reinterpret_cast<WPARAM>(vertical.Get()), FALSE);
    ASSERT_TRUE(ReadControlFont(check).face.empty());
    AttachCheckRadioSkin(*engine, 1, form);
    ASSERT_EQ(ProcOf(check), &ButtonSkinProc);
    Repaint(check);
    int ink = 0;
    for (int y = 0; y < Height(check); ++y) {
        for (int x = 18; x < 120; ++x) {
            POINT p{x, y};
            ::MapWindowPoints(check, form, &p, 1);
            if (ColourDistance(WindowPixel(check, x, y), skintest::BackgroundPixel(*engine, form, p.x, p.y)) > 60) ++ink;
        }
    }
    EXPECT_GT(ink, 20);
    ::DestroyWindow(check);
}

TEST_F(CheckRadioSkin, ManyHoversAndRepaintsLeaveNoObjectBehind) {
    std::vector<HWND> controls;
    for (int id : {kGalleryCheckSmall, kGalleryCheckTall, kGalleryRadioOne, kGalleryRadioTwo, kGalleryDisabledCheck,
                   kGalleryDisabledRadio}) {
        controls.push_back(Get(id));
    }
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) {
        for (HWND c : controls) {
            ::SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            ::SendMessageA(c, WM_MOUSELEAVE, 0, 0);
            ::SendMessageA(c, BM_SETCHECK, ::SendMessageA(c, BM_GETCHECK, 0, 0), 0);
            ::InvalidateRect(c, nullptr, TRUE);
            ::UpdateWindow(c);
        }
    }
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
}

}  // namespace
