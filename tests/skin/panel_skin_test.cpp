// Panels and containers: the placeholder record, group boxes as rounded
// panels whose children are skinned, the background owner above a panel,
// the fill, what a form leaves to other skins, and tool bars composited over
// the skin background.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/controls/button_skin.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/progress_skin.h"
#include "skin/window/container_skin.h"
#include "skin/window/panel_skin.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::PrintedClient;
using skintest::SkinTest;

constexpr COLORREF kGrey = RGB(128, 128, 128);

class PanelSkin : public SkinTest {
protected:
    void SkinForm() {
        engine->SetBackground(Text(), skintest::TwoColourPng(492, 293, 492, kGrey, kGrey), kGrey, 0x51AE51, 3);
        engine->SetOptions(1, 80);
        SkinEngine::FormOptions options;
        options.captionSheen = 0;
        options.resizable = 0;
        formIndex = engine->AttachForm(form, options, ByteArray());
        ::ShowWindow(form, SW_SHOWNORMAL);
        skintest::WaitForFirstFormPainted(*engine);
    }
    HWND Group(HWND parent, int x, int y, int w, int h) {
        return ::CreateWindowExA(0, "Button", "分组", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, x, y, w, h, parent,
                                 nullptr, nullptr, nullptr);
    }
    WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }
    HWND form = Keep(skintest::MakeWindow());
    int formIndex = 0;
};

TEST_F(PanelSkin, GroupBoxBecomesARoundedPanelInThePlaceholderRecordAndSkinsItsChildren) {
    HWND group = Group(form, 20, 120, 220, 120);
    HWND bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 30, 180, 20, group, nullptr,
                                 nullptr, nullptr);
    SkinForm();
    ASSERT_EQ(engine->Form(formIndex)->panels.size(), 1u);  // the empty first record
    ASSERT_NE(ProcOf(bar), &ProgressSkinProc);  // the form does not reach into the group

    EXPECT_EQ(AttachPanel(*engine, group), 1);
    const PanelRecord& record = engine->Form(formIndex)->panels[0];
    EXPECT_EQ(engine->Form(formIndex)->panels.size(), 1u);
    EXPECT_EQ(record.window, group);
    EXPECT_EQ(record.rounded, 1);
    EXPECT_EQ(record.attached, 1);
    EXPECT_EQ(ProcOf(group), &PanelProc);
    EXPECT_EQ(::GetPropA(group, "Hw_lbID"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(::GetPropA(group, "Hw_FuID"), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(formIndex)));
    // Its child is skinned and finds its form.
    EXPECT_EQ(ProcOf(bar), &ProgressSkinProc);
    EXPECT_EQ(::GetPropA(bar, "Hw_FuID"), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(formIndex)));

    // Twice does nothing; a second panel is appended.
    EXPECT_EQ(AttachPanel(*engine, group), 0);
    HWND plain = skintest::MakeChild(form, "Static", 300, 120, 100, 100);
    EXPECT_EQ(AttachPanel(*engine, plain), 2);
    EXPECT_EQ(engine->Form(formIndex)->panels[1].rounded, 0);
    // No skinned form above: nothing.
    HWND lone = Keep(skintest::MakeWindow(200, 100));
    EXPECT_EQ(AttachPanel(*engine, skintest::MakeChild(lone, "Static", 0, 0, 50, 50)), 0);
}

TEST_F(PanelSkin, CheckBoxAndRadioOnAFormGetTheButtonSkinAndAGroupBoxKeepsItsOwnLook) {
    HWND check = ::CreateWindowExA(0, "Button", "选", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 120, 100, 20,
                                   form, nullptr, nullptr, nullptr);
    HWND radio = ::CreateWindowExA(0, "Button", "单", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 20, 150, 100, 20,
                                   form, nullptr, nullptr, nullptr);
    HWND group = Group(form, 200, 120, 200, 100);
    const WNDPROC before[] = {ProcOf(check), ProcOf(radio), ProcOf(group)};
    SkinForm();
    EXPECT_EQ(ProcOf(check), &ButtonSkinProc);
    EXPECT_EQ(ProcOf(radio), &ButtonSkinProc);
    EXPECT_EQ(::GetPropA(check, "Hw_hProc"), reinterpret_cast<HANDLE>(before[0]));
    EXPECT_EQ(ProcOf(group), before[2]);
    EXPECT_EQ(::GetPropA(group, "Hw_hProc"), nullptr);
    EXPECT_EQ(engine->Form(formIndex)->buttons.size(), 2u);
}

TEST_F(PanelSkin, DockedChildFollowsThePanelsWidth) {
    HWND panel = skintest::MakeChild(form, "Static", 20, 120, 200, 100);
    HWND child = skintest::MakeChild(panel, "Static", 50, 50, 20, 20);
    SkinForm();
    EXPECT_FALSE(DockToPanel(*engine, panel, child, 10, 30));  // not a panel yet
    ASSERT_GE(AttachPanel(*engine, panel), 1);
    ASSERT_TRUE(DockToPanel(*engine, panel, child, 10, 30));
    ::MoveWindow(panel, 20, 120, 300, 100, TRUE);
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 298);
    EXPECT_EQ(r.bottom, 40);
}

TEST_F(PanelSkin, ProgressBarSkinnedTwiceKeepsOneRecordAndStillForwards) {
    HWND bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 20, 120, 200, 20, form, nullptr,
                                 nullptr, nullptr);
    SkinForm();
    ASSERT_EQ(ProcOf(bar), &ProgressSkinProc);
    AttachProgressSkin(*engine, formIndex, form);
    EXPECT_EQ(engine->Form(formIndex)->progressBars.size(), 1u);
    EXPECT_NE(::GetPropA(bar, "Hw_hProc"), reinterpret_cast<HANDLE>(&ProgressSkinProc));
    ::SendMessageA(bar, PBM_SETPOS, 30, 0);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 30);
}

TEST_F(PanelSkin, PanelTakesItsBackgroundOwnerFromTheNearestAncestor) {
    HWND host = skintest::MakeChild(form, "Static", 10, 100, 400, 180);
    HWND middle = skintest::MakeChild(host, "Static", 10, 10, 300, 150);
    HWND group = Group(middle, 10, 10, 200, 100);
    ::SetPropA(host, "Wxk_Zpf", reinterpret_cast<HANDLE>(1));
    SkinForm();
    ASSERT_GE(AttachPanel(*engine, group), 1);
    EXPECT_EQ(::GetPropA(group, "Mb_zpf"), host);
    EXPECT_EQ(FindBackgroundOwnerAncestor(host), nullptr);
}

TEST_F(PanelSkin, FilledGroupPaintsItsRoundedFillAndCaption) {
    HWND group = Group(form, 20, 120, 220, 120);
    SkinForm();
    ASSERT_GE(AttachPanel(*engine, group, 1, RGB(255, 255, 255), 128), 1);
    PrintedClient shown(group);
    EXPECT_EQ(shown.At(110, 2), kGrey);                        // above the rounded figure
    EXPECT_GT(skintest::Luminance(shown.At(110, 80)), 170);    // white at half over grey
    EXPECT_LT(skintest::Luminance(shown.At(110, 80)), 230);
    int caption = 0;
    for (int x = 8; x < 40; ++x) {
        for (int y = 0; y < 14; ++y) caption += skintest::Luminance(shown.At(x, y)) < 60;
    }
    EXPECT_GT(caption, 3);  // the group's caption text
}

TEST_F(PanelSkin, ToolBarIsCompositedOverTheSkinBackground) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN |
                                     CCS_NORESIZE | CCS_NODIVIDER,
                                 20, 120, 300, 30, form, nullptr, nullptr, nullptr);
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>("打开文件");
    ::SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    SkinForm();
    AttachToolbars(*engine, formIndex, form);
    EXPECT_EQ(ProcOf(bar), &ContainerProc);
    EXPECT_EQ(::GetPropA(bar, "Kj_lbID"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(::GetPropA(bar, "Kj_hProc"), reinterpret_cast<HANDLE>(&PanelProc));  // a panel beneath
    AttachToolbars(*engine, formIndex, form);
    EXPECT_EQ(engine->Form(formIndex)->containers.size(), 1u);

    PrintedClient shown(bar);
    // Beyond its buttons the skin background shows through.
    for (int x = 200; x < 300; x += 9) EXPECT_EQ(shown.At(x, 15), kGrey) << x;
    // Its own button text is there.
    int ink = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 30; ++y) ink += skintest::Luminance(shown.At(x, y)) < 60;
    }
    EXPECT_GT(ink, 5);
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);
}

// The engine's defaults: the panel paints what lies behind it itself, and
// no colour is laid over it (a fill of colour 1 would be nearly black).
TEST_F(PanelSkin, EngineDefaultsPaintTheBackgroundWithoutAColour) {
    HWND panel = skintest::MakeChild(form, "Static", 20, 120, 200, 100);
    SkinForm();
    ASSERT_EQ(engine->AttachPanel(panel), 1);
    const PanelRecord& record = engine->Form(formIndex)->panels[0];
    EXPECT_EQ(record.filled, 1);
    EXPECT_EQ(record.fillColour, 0u);
    PrintedClient shown(panel);
    EXPECT_EQ(shown.At(100, 50), kGrey);
    EXPECT_EQ(shown.At(5, 5), kGrey);
}

// A form of a lower index goes away: the panels of the later forms take
// their forms' new indexes, and a panel never works through a record that
// is not its own (another form's fill or docked windows).
TEST_F(PanelSkin, PanelsFollowTheirFormWhenAnEarlierFormGoes) {
    HWND first = skintest::MakeWindow(200, 150);
    HWND third = Keep(skintest::MakeWindow());
    HWND ours = skintest::MakeChild(form, "Static", 20, 120, 200, 100);
    HWND theirs = skintest::MakeChild(third, "Static", 20, 120, 200, 100);
    HWND theirChild = skintest::MakeChild(theirs, "Static", 0, 0, 10, 10);
    SkinEngine::FormOptions options;
    ASSERT_EQ(engine->AttachForm(first, options, ByteArray()), 1);
    SkinForm();
    ASSERT_EQ(formIndex, 2);
    ASSERT_EQ(engine->AttachForm(third, options, ByteArray()), 3);
    ASSERT_EQ(AttachPanel(*engine, ours, 1, RGB(0, 255, 0), 255), 1);
    ASSERT_EQ(AttachPanel(*engine, theirs, 1, RGB(255, 0, 0), 255), 1);
    ASSERT_TRUE(DockToPanel(*engine, theirs, theirChild, 10, 20));

    ::DestroyWindow(first);
    EXPECT_EQ(GetProperty(ours, prop::kFormIndex), 1);
    EXPECT_EQ(GetProperty(theirs, prop::kFormIndex), 2);
    {
        PrintedClient shown(ours);
        EXPECT_EQ(shown.At(100, 50), RGB(0, 0xFF, 0));
    }

    // An index that points at the other form's panel record is not used.
    SetProperty(ours, prop::kFormIndex, 2);
    ::MoveWindow(ours, 20, 120, 300, 100, TRUE);
    RECT placed{};
    ::GetWindowRect(theirChild, &placed);
    ::MapWindowPoints(nullptr, theirs, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.right - placed.left, 196);  // as docked in its own panel, not in ours
    EXPECT_EQ(engine->Form(2)->panels[0].window, theirs);
}

// A skinned edit inside a panel, and read-only or disabled edits (which ask
// with WM_CTLCOLORSTATIC), are answered with the veiled background their
// skin paints, not the bare background behind them.
TEST_F(PanelSkin, EditsInPanelsAndReadOnlyEditsAnswerTheirVeil) {
    HWND panel = skintest::MakeChild(form, "Static", 20, 120, 300, 120);
    HWND inPanel = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, panel, nullptr,
                                     nullptr, nullptr);
    HWND readOnly = ::CreateWindowExA(0, "Edit", "只读", WS_CHILD | WS_VISIBLE | ES_READONLY, 20, 60, 120, 24, form,
                                      nullptr, nullptr, nullptr);
    HWND disabled = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 60, 120, 24, panel,
                                      nullptr, nullptr, nullptr);
    SkinForm();
    ASSERT_EQ(engine->AttachPanel(panel), 1);
    ASSERT_TRUE(IsSkinnedEdit(*engine, inPanel));
    ASSERT_TRUE(IsSkinnedEdit(*engine, readOnly));
    ASSERT_TRUE(IsSkinnedEdit(*engine, disabled));

    // The colour of the answered brush's bitmap against the skin's own veil.
    auto answered = [&](HWND parent, UINT message, HWND edit) -> COLORREF {
        WindowDc screen(nullptr);
        MemoryDc dc(::CreateCompatibleDC(screen.Get()));
        ::SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(edit));
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(GetProperty(edit, prop::kChildBrushBitmap));
        if (!bitmap) return CLR_INVALID;
        HGDIOBJ previous = ::SelectObject(dc.Get(), bitmap);
        const COLORREF colour = ::GetPixel(dc.Get(), 20, 5);
        ::SelectObject(dc.Get(), previous);
        return colour;
    };
    auto veil = [&](HWND edit) {
        BitmapHandle bitmap = MakeEditBackgroundBitmap(*engine, edit);
        WindowDc screen(nullptr);
        MemoryDc dc(::CreateCompatibleDC(screen.Get()));
        HGDIOBJ previous = ::SelectObject(dc.Get(), bitmap.Get());
        const COLORREF colour = ::GetPixel(dc.Get(), 20, 5);
        ::SelectObject(dc.Get(), previous);
        return colour;
    };
    const COLORREF veiled = veil(inPanel);
    ASSERT_GT(skintest::Luminance(veiled), skintest::Luminance(kGrey) + 20);
    EXPECT_EQ(answered(panel, WM_CTLCOLOREDIT, inPanel), veiled);
    EXPECT_EQ(answered(form, WM_CTLCOLORSTATIC, readOnly), veil(readOnly));
    EXPECT_EQ(answered(panel, WM_CTLCOLORSTATIC, disabled), veil(disabled));
}

}  // namespace
