// Push buttons of a skinned form: which buttons are skinned, the owner-draw
// route, hover and focus under real input, swallowed double clicks, the
// disabled face, image buttons and the objects left after many repaints.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/controls/button_skin.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace {

using skintest::Control;
using skintest::MouseStep;
using skintest::WindowPixel;

class ButtonSkin : public skintest::SkinTest {
protected:
    HWND Form(bool translucent = true) {
        HWND form = Keep(skintest::MakeControlsForm(*engine, translucent));
        skintest::Pump(30);
        return form;
    }
    std::size_t ButtonRecords() {
        return engine->WithForms([](FormSkinList& forms) { return forms[0]->buttons.size(); });
    }
    POINT Centre(HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    POINT Away(HWND form) { return skintest::ClientToScreenPoint(form, 200, 60); }
};

TEST_F(ButtonSkin, OnlyPushButtonsBecomeOwnerDrawnAndOnlyOnce) {
    HWND form = Keep(skintest::MakeWindow(400, 300));
    HWND check = skintest::MakeChild(form, "Button", 10, 130, 90, 20, "选择");
    HWND radio = skintest::MakeChild(form, "Button", 10, 160, 90, 20, "单选");
    HWND group = skintest::MakeChild(form, "Button", 120, 130, 120, 80, "分组");
    HWND push = skintest::MakeChild(form, "Button", 10, 250, 80, 24, "确定");
    HWND byDefault = skintest::MakeChild(form, "Button", 100, 250, 80, 24, "默认");
    ::SetWindowLongPtrA(check, GWL_STYLE, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX);
    ::SetWindowLongPtrA(radio, GWL_STYLE, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON);
    ::SetWindowLongPtrA(group, GWL_STYLE, WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
    ::SetWindowLongPtrA(byDefault, GWL_STYLE, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    engine->SetOptions(1, 80);
    ASSERT_EQ(engine->AttachForm(form, SkinEngine::FormOptions{}, ByteArray()), 1);

    // Check boxes and radio buttons get the procedure but keep their style.
    for (HWND own : {check, radio, group}) {
        EXPECT_NE(::GetWindowLongPtrA(own, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
    EXPECT_EQ(::GetPropA(group, "Hw_hProc"), nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(push, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(::GetWindowLongPtrA(byDefault, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropA(push, "Hw_lbID")), 1);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropA(byDefault, "Hw_lbID")), 2);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropA(byDefault, "Hw_FuID")), 1);

    const LONG_PTR procedure = ::GetWindowLongPtrA(push, GWLP_WNDPROC);
    AttachButtonSkin(*engine, 1, form);
    EXPECT_EQ(ButtonRecords(), 4u);  // two push buttons, the check box and the radio button
    EXPECT_EQ(::GetWindowLongPtrA(push, GWLP_WNDPROC), procedure);
    // The record follows the caption.
    ::SetWindowTextA(push, "好的");
    EXPECT_EQ(engine->Form(1)->buttons[0].text, Text("好的"));
    // With skinning of controls off nothing is attached.
    HWND later = skintest::MakeChild(form, "Button", 200, 250, 80, 24, "后来");
    engine->SetOptions(0);
    AttachButtonSkin(*engine, 1, form);
    EXPECT_EQ(ButtonRecords(), 4u);
    EXPECT_EQ(::GetPropA(later, "Hw_hProc"), nullptr);
}

TEST_F(ButtonSkin, DoubleClickGivesOneClickOnly) {
    HWND form = Form();
    HWND button = Control(form, kGalleryPushButton);
    const POINT p = Centre(button);
    skintest::RunMouse({{MouseStep::Move, p, 30},
                        {MouseStep::Down, p, 20},
                        {MouseStep::Up, p, 20},
                        {MouseStep::Down, p, 20},
                        {MouseStep::Up, p, 50}});
    skintest::PumpUntil([] { return skintest::CommandsSeen().clicked >= 1; });
    skintest::Pump(100);
    EXPECT_EQ(skintest::CommandsSeen().clicked, 1);
    EXPECT_EQ(skintest::CommandsSeen().doubleClicked, 0);

    // Two clicks far enough apart are two clicks.
    skintest::RunMouse({{MouseStep::Down, p, 20}, {MouseStep::Up, p, 20}});
    skintest::PumpUntil([] { return skintest::CommandsSeen().clicked >= 2; });
    EXPECT_EQ(skintest::CommandsSeen().clicked, 2);
}

TEST_F(ButtonSkin, HoverShowsTheAccentAndAFocusedButtonKeepsItsGlowAfterLeaving) {
    HWND form = Form();
    HWND button = Control(form, kGalleryPushButton);
    RECT r{};
    ::GetClientRect(button, &r);
    // A point on the left edge of the outline, halfway down.
    const int ex = 0, ey = r.bottom / 2;
    const COLORREF normal = WindowPixel(button, ex, ey);
    EXPECT_TRUE(skintest::Neutral(normal)) << std::hex << normal;

    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(button), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(button, ex, ey)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(button, ex, ey))) << std::hex << WindowPixel(button, ex, ey);
    EXPECT_EQ(engine->Form(1)->previousHotControl, static_cast<int>(reinterpret_cast<LONG_PTR>(::GetPropA(button, "Hw_lbID"))));
    EXPECT_EQ(engine->Form(1)->hotControlClass, 0);

    ::SetFocus(button);
    skintest::Pump(30);
    skintest::RunMouse({{MouseStep::Move, Away(form), 50}});
    skintest::PumpUntil([&] { return engine->Form(1)->previousHotControl == 0; });
    skintest::Pump(30);
    // The glow is drawn outside-in: the outer pixel of the outline is cyan.
    const COLORREF glow = WindowPixel(button, ex, ey);
    EXPECT_TRUE(skintest::Cyanish(glow)) << std::hex << glow;

    // Without focus the leave restores the neutral outline.
    ::SetFocus(form);
    skintest::RunMouse({{MouseStep::Move, Centre(button), 50}, {MouseStep::Move, Away(form), 50}});
    skintest::PumpUntil([&] { return skintest::Neutral(WindowPixel(button, ex, ey)); });
    EXPECT_TRUE(skintest::Neutral(WindowPixel(button, ex, ey))) << std::hex << WindowPixel(button, ex, ey);
}

TEST_F(ButtonSkin, DisabledButtonShowsTheSilverFace) {
    HWND form = Form();
    HWND disabled = Control(form, kGalleryDisabledButton);
    HWND enabled = Control(form, kGalleryPushButton);
    ::InvalidateRect(disabled, nullptr, TRUE);
    ::UpdateWindow(disabled);
    RECT r{};
    ::GetClientRect(disabled, &r);
    // Left of the text, at 60 % of the height (the darkest stop of the gloss).
    const COLORREF face = WindowPixel(disabled, 6, r.bottom * 6 / 10);
    EXPECT_TRUE(skintest::Neutral(face, 3)) << std::hex << face;
    EXPECT_NEAR(GetRValue(face), 180, 14) << std::hex << face;
    // The top of the face is lighter (white at 50) than the 60 % stop.
    EXPECT_GT(GetRValue(WindowPixel(disabled, 6, 2)), GetRValue(face));
    // An enabled button over the same grey background is not silver.
    EXPECT_NE(WindowPixel(enabled, 6, r.bottom * 6 / 10), face);
}

TEST_F(ButtonSkin, PressedFaceComesThroughTheParentsDrawItem) {
    HWND form = Form();
    HWND button = Control(form, kGalleryPushButton);
    RECT r{};
    ::GetClientRect(button, &r);
    const COLORREF before = WindowPixel(button, 4, r.bottom - 5);
    // BM_SETSTATE makes the system send WM_DRAWITEM with ODS_SELECTED.
    ::SendMessageA(button, BM_SETSTATE, TRUE, 0);
    skintest::Pump(20);
    const COLORREF pressed = WindowPixel(button, 4, r.bottom - 5);
    EXPECT_NE(pressed, before);
    EXPECT_GT(GetRValue(pressed), GetRValue(before));  // the inset fades to white
    ::SendMessageA(button, BM_SETSTATE, FALSE, 0);
    skintest::Pump(20);
    EXPECT_EQ(WindowPixel(button, 4, r.bottom - 5), before);
}

TEST_F(ButtonSkin, ImageButtonsPaintTheirImages) {
    HWND form = Form();
    HWND four = Control(form, kGalleryFourImageButton);
    HWND one = Control(form, kGalleryOneImageButton);
    EXPECT_EQ(engine->Form(1)->buttons[reinterpret_cast<LONG_PTR>(::GetPropA(four, "Hw_lbID")) - 1].kind, 3);
    EXPECT_EQ(::GetWindowLongPtrA(four, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ::InvalidateRect(four, nullptr, TRUE);
    ::UpdateWindow(four);
    // The normal image (blue square with a dark ring) at (2, 2).
    EXPECT_EQ(WindowPixel(four, 12, 12), RGB(90, 140, 220));
    EXPECT_EQ(WindowPixel(four, 2, 2), RGB(0x30, 0x30, 0x30));
    // Hot: the hot image.
    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(four), 50}});
    skintest::PumpUntil([&] { return WindowPixel(four, 12, 12) == RGB(34, 202, 221); });
    EXPECT_EQ(WindowPixel(four, 12, 12), RGB(34, 202, 221));
    // Without a hot image the normal image is drawn over a made face: the
    // accent outline shows beside the image.
    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(one), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(one, 0, 13)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(one, 0, 13))) << std::hex << WindowPixel(one, 0, 13);
    EXPECT_EQ(WindowPixel(one, 12, 12), RGB(220, 120, 60));
}

// A dialog moves its default button by setting BS_DEFPUSHBUTTON or
// BS_PUSHBUTTON; the button stays owner-drawn. Its caption's access-key mark
// is not drawn: "确(&O)" looks like "确(O)".
TEST_F(ButtonSkin, DefaultStyleKeepsTheSkinAndTheAccessKeyMarkIsNotDrawn) {
    HWND form = Form();
    HWND button = Control(form, kGalleryPushButton);
    ::SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ::SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    RECT r{};
    ::GetClientRect(button, &r);
    auto face = [&](const char* caption) {
        ::SetWindowTextA(button, caption);
        ::InvalidateRect(button, nullptr, TRUE);
        ::UpdateWindow(button);
        skintest::Pump(20);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < r.bottom; ++y) {
            for (int x = 0; x < r.right; ++x) pixels.push_back(WindowPixel(button, x, y));
        }
        return pixels;
    };
    EXPECT_EQ(face("确(&O)"), face("确(O)"));
}

// The default push button wears an accent ring inside its outline; the
// ring follows BM_SETSTYLE as the dialog manager moves the default.
TEST_F(ButtonSkin, DefaultButtonShowsItsRingAndFollowsTheStyle) {
    HWND form = Form();
    HWND plain = Control(form, kGalleryPushButton);
    HWND byDefault = Control(form, kGalleryDefaultButton);
    RECT r{};
    ::GetClientRect(plain, &r);
    const int ry = r.bottom / 2;
    auto ringPixel = [&](HWND button) {
        ::InvalidateRect(button, nullptr, TRUE);
        ::UpdateWindow(button);
        skintest::Pump(20);
        return WindowPixel(button, 1, ry);
    };
    auto dialogCode = [](HWND button) { return ::SendMessageA(button, WM_GETDLGCODE, 0, 0); };
    EXPECT_EQ(dialogCode(byDefault), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(dialogCode(plain), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    const COLORREF plainBefore = ringPixel(plain);
    EXPECT_TRUE(skintest::Neutral(plainBefore)) << std::hex << plainBefore;
    EXPECT_TRUE(skintest::Greenish(ringPixel(byDefault))) << std::hex << ringPixel(byDefault);

    // The default moves to the plain button.
    ::SendMessageA(byDefault, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    ::SendMessageA(plain, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(dialogCode(byDefault), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(dialogCode(plain), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongPtrA(plain, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(skintest::Greenish(ringPixel(plain))) << std::hex << ringPixel(plain);
    EXPECT_TRUE(skintest::Neutral(ringPixel(byDefault))) << std::hex << ringPixel(byDefault);
    // And back: the plain button paints exactly what it painted before.
    ::SendMessageA(plain, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(ringPixel(plain), plainBefore);
}

TEST_F(ButtonSkin, ManyHoversAndRepaintsLeaveNoObjectBehind) {
    HWND form = Form();
    std::vector<HWND> buttons;
    for (int id : {kGalleryPushButton, kGalleryDefaultButton, kGalleryDisabledButton, kGalleryImageTextButton,
                   kGalleryFourImageButton, kGalleryOneImageButton}) {
        buttons.push_back(Control(form, id));
    }
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) {
        for (HWND b : buttons) {
            ::SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            ::SendMessageA(b, WM_MOUSELEAVE, 0, 0);
            ::InvalidateRect(b, nullptr, TRUE);
            ::UpdateWindow(b);
        }
    }
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
}

}  // namespace
