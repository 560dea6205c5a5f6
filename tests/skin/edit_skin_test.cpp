// Edit and combo boxes of a skinned form: the frame of each state under real
// hover, the scroll bars left to the system, the translucent veil of the
// updater's information box, text kept on the lines a selection change does
// not repaint, the combo's drop-down button, attaching twice, the accent
// frame of a focused edit and combo, the hover frame through a repaint, the
// texts of disabled and simple combos, the inner edit's brush pair and the
// objects left after many repaints.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/main_form.h"
#include "resources/embedded_images.h"
#include "skin/controls/combo_skin.h"
#include "skin/controls/edit_skin.h"
#include "skin/paint/paint_primitives.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace {

using skintest::Control;
using skintest::MouseStep;
using skintest::WindowPixel;

class EditSkin : public skintest::SkinTest {
protected:
    HWND Form(bool translucent = true) {
        HWND form = Keep(skintest::MakeControlsForm(*engine, translucent));
        skintest::Pump(30);
        return form;
    }
    POINT Centre(HWND control) {
        RECT r{};
        ::GetWindowRect(control, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    POINT Away(HWND form) { return skintest::ClientToScreenPoint(form, 200, 60); }
    SIZE SizeOf(HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    std::size_t Records(std::vector<ControlRecord> FormSkin::*list) {
        return engine->WithForms([&](FormSkinList& forms) { return (forms[0].get()->*list).size(); });
    }
};

// Client rows [top, bottom) of each line a multi-line edit shows whole.
std::vector<std::pair<int, int>> WholeLineBands(HWND edit) {
    RECT client{};
    ::GetClientRect(edit, &client);
    auto lineTop = [&](int line) {
        const LRESULT first = ::SendMessageA(edit, EM_LINEINDEX, line, 0);
        return static_cast<int>(static_cast<short>(HIWORD(::SendMessageA(edit, EM_POSFROMCHAR, first, 0))));
    };
    const int firstVisible = static_cast<int>(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int lines = static_cast<int>(::SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    std::vector<std::pair<int, int>> bands;
    if (lines < firstVisible + 2) return bands;
    const int height = lineTop(firstVisible + 1) - lineTop(firstVisible);
    for (int line = firstVisible; line < lines; ++line) {
        const int top = lineTop(line);
        if (height <= 0 || top + height > client.bottom) break;
        bands.emplace_back(top, top + height);
    }
    return bands;
}

// Whether a band of client rows holds text: the edit's black glyphs, darker
// than the white veil lets any background be (80 of 255 at the least).
bool BandHasText(HWND edit, const std::pair<int, int>& band) {
    const RECT client = EditClientRect(edit);
    for (int y = band.first; y < band.second; ++y) {
        for (int x = 0; x < client.right - client.left; ++x) {
            if (skintest::Luminance(WindowPixel(edit, client.left + x, client.top + y)) < 50) return true;
        }
    }
    return false;
}

// Selects one whole line, as a Shift+arrow or a drag does, and checks that
// every other line the edit shows still has its text afterwards: the edit
// repaints only the lines whose selection changed.
void ExpectSelectionKeepsOtherLines(HWND edit) {
    ::SetFocus(edit);
    skintest::Pump(30);
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<std::pair<int, int>> bands = WholeLineBands(edit);
    ASSERT_GE(bands.size(), 3u);
    for (std::size_t i = 0; i < bands.size(); ++i) ASSERT_TRUE(BandHasText(edit, bands[i])) << "before, line " << i;

    const int firstVisible = static_cast<int>(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const LRESULT start = ::SendMessageA(edit, EM_LINEINDEX, firstVisible + 1, 0);
    const LRESULT end = start + ::SendMessageA(edit, EM_LINELENGTH, start, 0);
    const int column = ::GetScrollPos(edit, SB_HORZ);
    // The caret at the line's start: a caret past the right edge would scroll
    // the edit, and a scroll repaints it whole.
    ::SendMessageA(edit, EM_SETSEL, end, start);
    ::UpdateWindow(edit);
    ASSERT_EQ(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), firstVisible);
    ASSERT_EQ(::GetScrollPos(edit, SB_HORZ), column);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (i == 1) continue;  // the selected line
        EXPECT_TRUE(BandHasText(edit, bands[i])) << "line " << i << " lost its text";
    }
}

TEST_F(EditSkin, HoverFrameIsTwoAccentPixelsInsetByOneAndLeavingRestoresTheFrame) {
    HWND form = Form();
    HWND edit = Control(form, kGallerySingleLineEdit);
    const int y = SizeOf(edit).cy / 2;
    EXPECT_TRUE(skintest::Neutral(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
    const COLORREF band = WindowPixel(edit, 1, y);

    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(edit), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(edit, 1, y)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 1, y))) << std::hex << WindowPixel(edit, 1, y);
    EXPECT_EQ(engine->Form(1)->hotControlClass, 1);
    EXPECT_EQ(engine->Form(1)->hotEditParent, form);

    // Leaving unfocused: the one dark pixel, the white band inside it.
    skintest::RunMouse({{MouseStep::Move, Away(form), 50}});
    skintest::PumpUntil([&] { return !skintest::Greenish(WindowPixel(edit, 1, y)); });
    EXPECT_TRUE(skintest::Neutral(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
    EXPECT_EQ(WindowPixel(edit, 1, y), band);

    // Leaving focused: a one-pixel accent frame.
    ::SetFocus(edit);
    skintest::RunMouse({{MouseStep::Move, Centre(edit), 50}, {MouseStep::Move, Away(form), 50}});
    skintest::PumpUntil([&] { return engine->Form(1)->previousHotControl == 0; });
    skintest::Pump(30);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
    EXPECT_EQ(WindowPixel(edit, 1, y), band);
}

TEST_F(EditSkin, ScrollBarsStayTheSystemsAndTheFrameGoesAroundThem) {
    HWND form = Form();
    HWND edit = Control(form, kGalleryMultiLineEdit);
    const SIZE size = SizeOf(edit);
    const RECT client = EditClientRect(edit);
    RECT c{};
    ::GetClientRect(edit, &c);
    EXPECT_EQ(client.left, 2);  // the client edge
    EXPECT_EQ(client.right - client.left, c.right);
    EXPECT_EQ(client.bottom - client.top, c.bottom);

    RegionHandle bars = ScrollBarRegion(edit);
    ASSERT_TRUE(bars);
    RECT box{};
    ::GetRgnBox(bars.Get(), &box);
    EXPECT_EQ(box.left, client.left);  // the horizontal bar below the text
    EXPECT_EQ(box.right, client.right + ::GetSystemMetrics(SM_CXVSCROLL));  // the vertical one right of it
    EXPECT_EQ(box.top, client.top);
    EXPECT_EQ(box.bottom, client.bottom + ::GetSystemMetrics(SM_CYHSCROLL));  // and the horizontal one below

    const POINT inBar{client.right + 3, client.top + 30};
    const COLORREF bar = WindowPixel(edit, inBar.x, inBar.y);
    PaintEditFrame(*engine, edit, false, true, true, true);
    EXPECT_EQ(WindowPixel(edit, inBar.x, inBar.y), bar);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 1, size.cy / 2)));
    // A system repaint of the frame keeps the skin's frame and has the
    // system paint the scroll bars again.
    {
        WindowDc dc(edit, true);
        BrushHandle spoil(::CreateSolidBrush(RGB(255, 0, 255)));
        RECT spoilt{inBar.x - 1, inBar.y - 1, inBar.x + 2, inBar.y + 2};
        ::FillRect(dc.Get(), &spoilt, spoil.Get());
    }
    ASSERT_EQ(WindowPixel(edit, inBar.x, inBar.y), RGB(255, 0, 255));
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(skintest::Neutral(WindowPixel(edit, 0, size.cy / 2))) << std::hex << WindowPixel(edit, 0, size.cy / 2);
    EXPECT_EQ(WindowPixel(edit, inBar.x, inBar.y), bar);
}

TEST_F(EditSkin, UpdatersInformationBoxShowsTheBackgroundUnderAWhiteVeil) {
    HWND window = Keep(LoadMainFormWithoutEvents(nullptr));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
    // The window was shown before it was skinned: its first skinned paint.
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    skintest::Pump(50);
    HWND edit = WindowHandle(MainRef(kEdit1));
    ASSERT_NE(edit, nullptr);
    EXPECT_GE(reinterpret_cast<LONG_PTR>(::GetPropA(edit, "Hw_lbID")), 1);
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    const RECT client = EditClientRect(edit);
    RECT r{};
    ::GetWindowRect(edit, &r);
    POINT formOrigin{0, 0};
    ::ClientToScreen(window, &formOrigin);
    // A point of the text area right of any text, and the same point of the form.
    const int x = client.right - 12, y = client.bottom - 8;
    const COLORREF veiled = WindowPixel(edit, x, y);
    const COLORREF ground = skintest::BackgroundPixel(*engine, window, r.left - formOrigin.x + x, r.top - formOrigin.y + y);
    const int alpha = 80;
    const int expected = (255 * alpha + GetRValue(ground) * (255 - alpha)) / 255;
    EXPECT_NEAR(GetRValue(veiled), expected, 3) << std::hex << veiled << " over " << ground;
    EXPECT_NE(veiled, RGB(255, 255, 255));
    // The frame: one dark pixel (black at 80 over the band).
    EXPECT_LT(skintest::Luminance(WindowPixel(edit, 0, y)), skintest::Luminance(WindowPixel(edit, 1, y)));
}

TEST_F(EditSkin, SelectingALineOfTheInformationBoxKeepsTheOtherLinesText) {
    HWND window = Keep(LoadMainFormWithoutEvents(nullptr));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
    HWND information = WindowHandle(MainRef(kEdit1));
    ASSERT_NE(information, nullptr);
    ASSERT_TRUE(::GetWindowLongPtrA(information, GWL_STYLE) & WS_VSCROLL);
    std::string text;
    for (int i = 1; i <= 8; ++i) text += "更新说明第 " + std::to_string(i) + " 行：修正问题\r\n";
    ::SetWindowTextA(information, text.c_str());
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    skintest::Pump(50);
    ExpectSelectionKeepsOtherLines(information);
}

TEST_F(EditSkin, SelectingALineOfATranslucentEditWithBothScrollBarsKeepsTheOtherLinesText) {
    HWND form = Form();
    ExpectSelectionKeepsOtherLines(Control(form, kGalleryMultiLineEdit));
}

TEST_F(EditSkin, WithoutTranslucencyTheBandIsWhiteAndTheEditErasesItself) {
    HWND form = Form(false);
    HWND edit = Control(form, kGallerySingleLineEdit);
    const int y = SizeOf(edit).cy / 2;
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixel(edit, 1, y), RGB(255, 255, 255));
    const RECT client = EditClientRect(edit);
    EXPECT_EQ(WindowPixel(edit, client.right - 3, y), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(EditSkin, DropDownButtonsAre17And18PixelsWideWithTheArrow) {
    HWND form = Form();
    for (int id : {kGalleryDropDownListCombo, kGalleryDropDownCombo}) {
        HWND combo = Control(form, id);
        ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const SIZE size = SizeOf(combo);
        const int U = id == kGalleryDropDownListCombo ? 17 : 18;
        const int left = size.cx - U - 2, y = size.cy / 2;
        // The button's outline column is darker than the column left of it.
        EXPECT_LT(skintest::Luminance(WindowPixel(combo, left, y)), skintest::Luminance(WindowPixel(combo, left - 1, y)) - 20)
            << "combo " << id;
        // The arrow: a dark pixel at the button's centre.
        const int ax = left + U / 2, ay = 2 + (size.cy - 4) / 2;
        int darkest = 255;
        for (int dx = -3; dx <= 3; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) darkest = std::min(darkest, skintest::Luminance(WindowPixel(combo, ax + dx, ay + dy)));
        }
        EXPECT_LT(darkest, 90) << "combo " << id;
    }
    // The drop-down combo's edit is keyed out of the painting, not painted magenta.
    HWND dropDown = Control(form, kGalleryDropDownCombo);
    HWND inner = ::FindWindowExA(dropDown, nullptr, "Edit", nullptr);
    ASSERT_NE(inner, nullptr);
    const RECT innerRect = RectRelativeToWindow(dropDown, inner);
    for (int x = innerRect.left; x < innerRect.right; x += 7) {
        ASSERT_NE(WindowPixel(dropDown, x, (innerRect.top + innerRect.bottom) / 2), RGB(255, 0, 255)) << x;
    }
    // Hot: the frame in the accent colour.
    HWND list = Control(form, kGalleryDropDownListCombo);
    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(list), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(list, 0, SizeOf(list).cy / 2)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 0, SizeOf(list).cy / 2)));
    EXPECT_EQ(engine->Form(1)->hotControlClass, 3);
    // Its own text is drawn by the painter: the selected item.
    char text[32] = {};
    ::GetWindowTextA(list, text, sizeof text);
    EXPECT_STREQ(text, "第二项");
}

// Something that subclasses a combo after the skin did.
WNDPROC gComboSkinProc = nullptr;
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(gComboSkinProc, window, message, wParam, lParam);
}

TEST_F(EditSkin, AttachingAgainKeepsOneRecordAndOneSubclassOfEachControl) {
    HWND form = Form();
    const std::size_t edits = Records(&FormSkin::edits), combos = Records(&FormSkin::comboBoxes);
    EXPECT_EQ(combos, 3u);
    EXPECT_EQ(edits, 4u);  // two edits and the inner edits of two combos
    HWND combo = Control(form, kGalleryDropDownCombo);
    gComboSkinProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(combo, GWLP_WNDPROC));
    const WNDPROC later = &LaterSubclass;
    ::SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later));
    AttachEditSkin(*engine, 1, form);
    EXPECT_EQ(Records(&FormSkin::edits), edits);
    EXPECT_EQ(Records(&FormSkin::comboBoxes), combos);
    // The later subclass stays, and the skin still forwards to the combo's own procedure.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(combo, GWLP_WNDPROC)), later);
    EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    const LONG_PTR index = reinterpret_cast<LONG_PTR>(::GetPropA(combo, "Hw_lbID"));
    EXPECT_EQ(::GetPropA(combo, "Hw_hProc"),
              reinterpret_cast<HANDLE>(engine->Form(1)->comboBoxes[index - 1].previousProc));
    ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(EditSkin, FocusedEditShowsTheAccentFrameAtOnce) {
    HWND form = Form();
    HWND edit = Control(form, kGallerySingleLineEdit);
    const int y = SizeOf(edit).cy / 2;
    ASSERT_FALSE(skintest::Greenish(WindowPixel(edit, 0, y)));
    ::SetFocus(edit);
    skintest::Pump(30);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
    ::SetFocus(form);
    skintest::Pump(30);
    EXPECT_FALSE(skintest::Greenish(WindowPixel(edit, 0, y))) << std::hex << WindowPixel(edit, 0, y);
}

TEST_F(EditSkin, HoverFrameStaysTwoPixelsWideThroughARepaintUnderTheMouse) {
    HWND form = Form();
    HWND edit = Control(form, kGallerySingleLineEdit);
    const int y = SizeOf(edit).cy / 2;
    skintest::RunMouse({{MouseStep::Move, Away(form), 30}, {MouseStep::Move, Centre(edit), 50}});
    ASSERT_TRUE(skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(edit, 1, y)); }));
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    skintest::Pump(30);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(edit, 1, y))) << std::hex << WindowPixel(edit, 1, y);
    skintest::RunMouse({{MouseStep::Move, Away(form), 50}});
    skintest::PumpUntil([&] { return !skintest::Greenish(WindowPixel(edit, 1, y)); });
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_FALSE(skintest::Greenish(WindowPixel(edit, 1, y))) << std::hex << WindowPixel(edit, 1, y);
}

TEST_F(EditSkin, DropDownComboKeepsItsAccentFrameWhileItsEditHasTheFocusAndLosesItAfter) {
    HWND form = Form();
    HWND combo = Control(form, kGalleryDropDownCombo);
    const int y = SizeOf(combo).cy / 2;
    ASSERT_FALSE(skintest::Greenish(WindowPixel(combo, 0, y)));
    ::SetFocus(combo);
    skintest::Pump(30);
    ASSERT_TRUE(::IsChild(combo, ::GetFocus()));  // the combo's edit took the focus
    ::RedrawWindow(combo, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    skintest::Pump(30);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(combo, 0, y))) << std::hex << WindowPixel(combo, 0, y);
    ::SetFocus(Control(form, kGallerySingleLineEdit));
    skintest::Pump(30);
    EXPECT_FALSE(skintest::Greenish(WindowPixel(combo, 0, y))) << std::hex << WindowPixel(combo, 0, y);
}

// The darkest pixel of a combo's text area, left of its button.
int DarkestText(HWND combo, int width, int top, int bottom) {
    int least = 255;
    for (int y = top; y < bottom; ++y) {
        for (int x = 3; x < width; ++x) least = std::min(least, skintest::Luminance(WindowPixel(combo, x, y)));
    }
    return least;
}

TEST_F(EditSkin, DisabledDropDownListDrawsItsTextInGrey) {
    HWND form = Form();
    HWND list = Control(form, kGalleryDropDownListCombo);
    const SIZE size = SizeOf(list);
    const int width = size.cx - 3 - ComboButtonWidth(static_cast<LONG>(::GetWindowLongPtrA(list, GWL_STYLE))) - 4;
    ASSERT_LT(DarkestText(list, width, 3, size.cy - 3), 60);
    ::EnableWindow(list, FALSE);
    skintest::Pump(30);
    const int grey = DarkestText(list, width, 3, size.cy - 3);
    EXPECT_GE(grey, 100);
    EXPECT_LT(grey, 180);
    ::EnableWindow(list, TRUE);
    skintest::Pump(30);
    EXPECT_LT(DarkestText(list, width, 3, size.cy - 3), 60);
}

TEST_F(EditSkin, SimpleComboDrawsNoTextOverItsList) {
    HWND form = Form();
    HWND simple = Control(form, kGallerySimpleCombo);
    ::SendMessageA(simple, CB_RESETCONTENT, 0, 0);
    ::SetWindowTextA(simple, "组合框文字");
    ::RedrawWindow(simple, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    skintest::Pump(30);
    HWND inner = ::FindWindowExA(simple, nullptr, "Edit", nullptr);
    ASSERT_NE(inner, nullptr);
    // The empty list below the edit, around the middle of the combo where a
    // drawn text would sit.
    RECT edit{};
    ::GetWindowRect(inner, &edit);
    POINT below{0, edit.bottom};
    ::ScreenToClient(simple, &below);
    const SIZE size = SizeOf(simple);
    ASSERT_LT(below.y + 4, (size.cy - 12) / 2);
    EXPECT_GE(DarkestText(simple, 60, (size.cy - 12) / 2, (size.cy + 12) / 2), 100);
    // Straight after the skin's own painting, before the list paints again.
    const int index = static_cast<int>(reinterpret_cast<LONG_PTR>(::GetPropA(simple, "Hw_lbID")));
    PaintComboBox(*engine, 1, index, false, false, false, false);
    EXPECT_GE(DarkestText(simple, 60, (size.cy - 12) / 2, (size.cy + 12) / 2), 100);
}

TEST_F(EditSkin, InnerEditBrushPairIsReplacedOnEveryColourMessageAndDeletedWithTheEdit) {
    HWND form = Form();
    HWND combo = Control(form, kGalleryDropDownCombo);
    HWND inner = ::FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(inner, nullptr);
    EXPECT_GE(reinterpret_cast<LONG_PTR>(::GetPropA(inner, "Hw_lbID")), 1);
    ::SetPropA(inner, "Kj_Ztys", reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(RGB(200, 10, 10))));

    const long brushes = BrushHandle::Live(), bitmaps = BitmapHandle::Live();
    WindowDc dc(inner);
    const LRESULT first = ::SendMessageA(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                         reinterpret_cast<LPARAM>(inner));
    EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(first)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(::GetPropA(inner, "Kj_dxjb"), reinterpret_cast<HANDLE>(first));
    EXPECT_EQ(::GetTextColor(dc.Get()), RGB(200, 10, 10));
    const HANDLE firstBitmap = ::GetPropA(inner, "Kj_wtjb");
    EXPECT_EQ(::GetObjectType(firstBitmap), static_cast<DWORD>(OBJ_BITMAP));
    const long afterFirst = BrushHandle::Live();

    const LRESULT second = ::SendMessageA(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                          reinterpret_cast<LPARAM>(inner));
    EXPECT_EQ(::GetPropA(inner, "Kj_dxjb"), reinterpret_cast<HANDLE>(second));
    EXPECT_EQ(BrushHandle::Live(), afterFirst);
    EXPECT_EQ(::GetObjectType(firstBitmap), 0u);

    ::DestroyWindow(combo);
    EXPECT_LE(BrushHandle::Live(), brushes);
    EXPECT_LE(BitmapHandle::Live(), bitmaps);
}

TEST_F(EditSkin, ManyHoversAndRepaintsLeaveNoObjectBehind) {
    HWND form = Form();
    std::vector<HWND> controls;
    for (int id : {kGallerySingleLineEdit, kGalleryMultiLineEdit, kGallerySimpleCombo, kGalleryDropDownCombo,
                   kGalleryDropDownListCombo}) {
        controls.push_back(Control(form, id));
    }
    for (HWND combo : {controls[2], controls[3]}) controls.push_back(::FindWindowExA(combo, nullptr, "Edit", nullptr));
    skintest::Pump(30);
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) {
        for (HWND c : controls) {
            ::SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            ::SendMessageA(c, WM_MOUSELEAVE, 0, 0);
            ::RedrawWindow(c, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    }
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
}

}  // namespace
