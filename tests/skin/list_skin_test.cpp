// List boxes, drop-down lists, list and tree views of a skinned form: every
// class taken once (also when attached twice), the frame of each state under
// real hover and focus, standard looks without translucency, the tree's and
// the list box's magenta keyed out over the veiled background, scrolling and
// selection changes repainting a translucent list, partial repaints that keep
// the text outside them, a list view painting without its header, a key
// leaving another window's capture, and the objects left after many hover
// and repaint rounds.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>

#include "resources/embedded_images.h"
#include "skin/controls/control_skin_common.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/header_skin.h"
#include "skin/controls/list_skin.h"
#include "skin/paint/paint_primitives.h"
#include "skin/window/panel_skin.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_lists.h"

using skintest::DrainMessages;
using skintest::MoveMouseTo;

namespace {

using skintest::MouseStep;
using skintest::WindowPixel;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kVeilAlpha = 80;  // the gallery's control alpha

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

SIZE SizeOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

class ListSkin : public skintest::SkinTest {
protected:
    // The gallery's second page, shown and painted.
    HWND Gallery() {
        form = Keep(CreateGalleryForm(*engine, 1));
        EXPECT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        EXPECT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
        return form;
    }
    HWND Item(int id) { return ::GetDlgItem(form, id); }
    POINT Away() { return skintest::ClientToScreenPoint(form, 400, 500); }
    std::size_t Records(std::vector<ControlRecord> FormSkin::*list) {
        return engine->WithForms([&](FormSkinList& forms) { return (forms[0].get()->*list).size(); });
    }
    ControlRecord RecordOf(HWND window) {
        ControlRecord copy;
        WithControlRecord(*engine, window, &FormSkin::lists, [&](FormSkin&, ControlRecord& r) { copy = r; });
        return copy;
    }
    // The veil over the form's background at a point of the window's client area.
    COLORREF VeiledGround(HWND window, int x, int y) {
        POINT p{x, y};
        ::MapWindowPoints(window, form, &p, 1);
        const COLORREF ground = skintest::BackgroundPixel(*engine, form, p.x, p.y);
        auto veil = [](int c) { return (255 * kVeilAlpha + c * (255 - kVeilAlpha)) / 255; };
        return RGB(veil(GetRValue(ground)), veil(GetGValue(ground)), veil(GetBValue(ground)));
    }
    HWND form = nullptr;
};

TEST_F(ListSkin, EveryListClassIsTakenOnceAlsoWhenAttachedAgain) {
    Gallery();
    HWND combo = Item(kGalleryListCombo);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    const HWND lists[] = {Item(kGalleryScrollList), Item(kGalleryPlainList), info.hwndList, Item(kGalleryAddress),
                          Item(kGalleryDatePicker), Item(kGalleryReportView), Item(kGalleryTreeView)};
    for (HWND list : lists) {
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ProcOf(list), &ListSkinProc) << ClassNameOf(list).c_str();
    }
    const std::size_t records = Records(&FormSkin::lists);
    EXPECT_EQ(records, 7u);

    AttachListSkin(*engine, 1, form);
    EXPECT_EQ(Records(&FormSkin::lists), records);
    for (HWND list : lists) {
        EXPECT_EQ(ProcOf(list), &ListSkinProc);
        EXPECT_NE(::GetPropA(list, "Hw_hProc"), reinterpret_cast<HANDLE>(&ListSkinProc));
    }
    // A message still reaches the control itself (no procedure forwards to itself).
    EXPECT_EQ(::SendMessageA(Item(kGalleryScrollList), LB_GETCOUNT, 0, 0), 20);
    EXPECT_EQ(::SendMessageA(Item(kGalleryTreeView), TVM_GETCOUNT, 0, 0), 7);
}

TEST_F(ListSkin, FrameIsDarkThenAccentOnHoverAndOnFocus) {
    Gallery();
    HWND list = Item(kGalleryPlainList);  // a client edge: a 2-pixel band
    const int y = SizeOf(list).cy / 2;
    ::SetFocus(form);
    skintest::RunMouse({{MouseStep::Move, Away(), 30}});
    skintest::Pump(30);
    const COLORREF rest = WindowPixel(list, 0, y);
    EXPECT_TRUE(skintest::Neutral(rest)) << std::hex << rest;
    EXPECT_LT(skintest::Luminance(rest), skintest::Luminance(WindowPixel(list, 1, y)));

    skintest::RunMouse({{MouseStep::Move, skintest::WindowCentre(list), 50}});
    skintest::PumpUntil([&] { return skintest::Greenish(WindowPixel(list, 1, y)); });
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 0, y))) << std::hex << WindowPixel(list, 0, y);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 1, y))) << std::hex << WindowPixel(list, 1, y);
    EXPECT_EQ(RecordOf(list).hovered, 1);
    EXPECT_EQ(engine->Form(1)->hotControlClass, 4);
    // The hover look survives a system frame repaint.
    ::RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 1, y)));

    skintest::RunMouse({{MouseStep::Move, Away(), 50}});
    skintest::PumpUntil([&] { return !skintest::Greenish(WindowPixel(list, 0, y)); });
    EXPECT_EQ(WindowPixel(list, 0, y), rest);
    EXPECT_EQ(RecordOf(list).hovered, 0);

    // Focused: a one-pixel accent border, the band inside it.
    ::SetFocus(list);
    skintest::Pump(30);
    EXPECT_EQ(RecordOf(list).focused, 1);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 0, y))) << std::hex << WindowPixel(list, 0, y);
    EXPECT_FALSE(skintest::Greenish(WindowPixel(list, 1, y)));
    ::SetFocus(form);
    skintest::Pump(30);
    EXPECT_EQ(WindowPixel(list, 0, y), rest);
}

TEST_F(ListSkin, ScrollBarAndItemsAreLeftToTheListWhenTheFrameIsPainted) {
    Gallery();
    HWND list = Item(kGalleryScrollList);
    RECT client{};
    ::GetClientRect(list, &client);
    const SIZE size = SizeOf(list);
    const POINT inBar{size.cx - 1 - ::GetSystemMetrics(SM_CXVSCROLL) / 2, size.cy / 2};
    const COLORREF bar = WindowPixel(list, inBar.x, inBar.y);
    const COLORREF item = WindowPixel(list, 4, 4);
    PaintListFrame(*engine, 1, static_cast<int>(reinterpret_cast<LONG_PTR>(::GetPropA(list, "Hw_lbID"))), false, true,
                   true, true);
    EXPECT_EQ(WindowPixel(list, inBar.x, inBar.y), bar);
    EXPECT_EQ(WindowPixel(list, 4, 4), item);
    EXPECT_TRUE(skintest::Greenish(WindowPixel(list, 0, size.cy / 2)));
}

TEST_F(ListSkin, DroppedDownListGetsTheFrameAroundItsOwnItems) {
    Gallery();
    HWND combo = Item(kGalleryListCombo);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(skintest::PumpUntil([&] { return ::IsWindowVisible(info.hwndList) != FALSE; }));
    ::RedrawWindow(info.hwndList, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const SIZE size = SizeOf(info.hwndList);
    const COLORREF border = WindowPixel(info.hwndList, 0, size.cy / 2);
    // black/80 over the opaque white band, never over the magenta key
    EXPECT_TRUE(skintest::Neutral(border)) << std::hex << border;
    EXPECT_NEAR(GetRValue(border), 255 - 80, 4);
    ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ListSkin, TranslucentTreeShowsTheVeiledBackgroundWhereItPaintedMagenta) {
    Gallery();
    HWND tree = Item(kGalleryTreeView);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), kMagenta);
    ::RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(tree, &client);
    WindowDc dc(tree);
    // Neither the key nor smoothed text blended into it (a purple fringe) survives.
    int magenta = 0, purple = 0, compared = 0;
    for (int x = 0; x < client.right; ++x) {
        for (int y = 0; y < client.bottom; ++y) {
            const COLORREF c = ::GetPixel(dc.Get(), x, y);
            if (c == kMagenta) ++magenta;
            if (GetRValue(c) > GetGValue(c) + 40 && GetBValue(c) > GetGValue(c) + 40) ++purple;
        }
    }
    EXPECT_EQ(magenta, 0);
    EXPECT_EQ(purple, 0);
    // The paint leaves the key colour set and nothing to paint again.
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), kMagenta);
    RECT dirty{};
    EXPECT_FALSE(::GetUpdateRect(tree, &dirty, FALSE));
    // Right of the items: the form's background under the white veil.
    for (int y = 4; y < client.bottom - 4; y += 9) {
        const int x = client.right - 6;
        const COLORREF shown = ::GetPixel(dc.Get(), x, y), expected = VeiledGround(tree, x, y);
        EXPECT_LE(skintest::ColourDistance(shown, expected), 3) << y << ": " << std::hex << shown << " " << expected;
        ++compared;
    }
    EXPECT_GT(compared, 5);
}

TEST_F(ListSkin, TranslucentListViewDrawsItsTextOverTheVeil) {
    Gallery();
    HWND view = Item(kGalleryReportView);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    ::GetClientRect(view, &client);
    WindowDc dc(view);
    const int x = client.right - 5, y = client.bottom - 5;  // below and right of every row
    EXPECT_LE(skintest::ColourDistance(::GetPixel(dc.Get(), x, y), VeiledGround(view, x, y)), 3);
}

TEST_F(ListSkin, ScrollingOrKeyNavigationInvalidatesATranslucentList) {
    Gallery();
    HWND list = Item(kGalleryScrollList);
    RECT client{};
    ::GetClientRect(list, &client);
    for (UINT message : {static_cast<UINT>(WM_VSCROLL), static_cast<UINT>(WM_MOUSEWHEEL)}) {
        ::ValidateRect(list, nullptr);
        const WPARAM wParam = message == WM_VSCROLL ? SB_LINEDOWN : MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
        ::SendMessageA(list, message, wParam, 0);
        RECT dirty{};
        EXPECT_TRUE(::GetUpdateRect(list, &dirty, FALSE)) << message;
        EXPECT_TRUE(::EqualRect(&dirty, &client)) << message;
        ::UpdateWindow(list);
    }
    EXPECT_GT(::SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);

    ::SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(RecordOf(list).keyNavigation, 1);
    ::ValidateRect(list, nullptr);
    // The repaint request posted by the key: the whole list, once.
    MSG posted{};
    ASSERT_TRUE(::PeekMessageA(&posted, list, WM_APP + 2, WM_APP + 2, PM_REMOVE));
    ::DispatchMessageA(&posted);
    EXPECT_EQ(RecordOf(list).keyNavigation, 0);
    RECT dirty{};
    EXPECT_TRUE(::GetUpdateRect(list, &dirty, FALSE));
    EXPECT_TRUE(::EqualRect(&dirty, &client));
}

// A window of the same thread that holds the mouse capture.
TEST_F(ListSkin, KeyUpInAListLeavesAnotherWindowsCapture) {
    Gallery();
    HWND list = Item(kGalleryScrollList);
    HWND other = Keep(skintest::MakeWindow(100, 100));
    ::SetCapture(other);
    ASSERT_EQ(::GetCapture(), other);
    ::SendMessageA(list, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(::GetCapture(), other);
    ::SetCapture(list);
    ::SendMessageA(list, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

// Counts the header's paints; the procedure it replaced is kept in a property.
LRESULT CALLBACK CountingHeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        const INT_PTR paints = reinterpret_cast<INT_PTR>(::GetPropA(window, "paints"));
        ::SetPropA(window, "paints", reinterpret_cast<HANDLE>(paints + 1));
    }
    return ::CallWindowProcA(reinterpret_cast<WNDPROC>(::GetPropA(window, "counted")), window, message, wParam, lParam);
}

TEST_F(ListSkin, PaintingATranslucentListViewLeavesItsHeaderAlone) {
    Gallery();
    HWND view = Item(kGalleryReportView);
    HWND header = reinterpret_cast<HWND>(::SendMessageA(view, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT headerRect{};
    ::GetWindowRect(header, &headerRect);
    ::MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&headerRect), 2);
    const POINT inHeader{headerRect.left + 3, (headerRect.top + headerRect.bottom) / 2};
    COLORREF before = CLR_INVALID;
    {
        WindowDc dc(view);
        before = ::GetPixel(dc.Get(), inHeader.x, inHeader.y);
    }
    ::SetPropA(header, "counted", reinterpret_cast<HANDLE>(::SetWindowLongPtrA(
                                      header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingHeaderProc))));
    for (int round = 0; round < 3; ++round) {
        ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
        skintest::Pump(30);
    }
    EXPECT_EQ(reinterpret_cast<INT_PTR>(::GetPropA(header, "paints")), 0);
    {
        WindowDc dc(view);
        EXPECT_EQ(::GetPixel(dc.Get(), inHeader.x, inHeader.y), before);
    }
    ::SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropA(header, "counted")));
    ::RemovePropA(header, "counted");
    ::RemovePropA(header, "paints");
}

// A repaint of the picker's right end only: the date on its left keeps its ink.
TEST_F(ListSkin, PartialRepaintOfATranslucentDatePickerKeepsTheRestOfItsText) {
    Gallery();
    HWND picker = Item(kGalleryDatePicker);
    ::RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(picker, &client);
    const RECT left{0, 0, client.right / 2, client.bottom};
    auto darkIn = [&](const RECT& r) {
        WindowDc dc(picker);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) n += skintest::Luminance(::GetPixel(dc.Get(), x, y)) < 90 ? 1 : 0;
        }
        return n;
    };
    const int inkBefore = darkIn(left);
    ASSERT_GT(inkBefore, 10);
    RECT rightEnd{client.right - 8, 0, client.right, client.bottom};
    ::RedrawWindow(picker, &rightEnd, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(darkIn(left), inkBefore);
}

// A form over a solid blue background holding list boxes of three rows, the
// second selected; the frame and its colour checks for translucent list boxes.
class BlueListForm : public ListSkin {
protected:
    static constexpr COLORREF kBlue = RGB(40, 90, 200);
    void SkinBlueForm(bool translucent) {
        engine->SetBackground(Text(), skintest::TwoColourPng(400, 260, 400, kBlue, kBlue), kBlue, 0x51AE51, 3);
        if (translucent) {
            engine->SetOptions(1, kVeilAlpha);
        } else {
            engine->SetOptions(1);
        }
        SkinEngine::FormOptions options;
        options.captionHeight = 30;
        options.resizable = 0;
        ASSERT_EQ(engine->AttachForm(form, options, ByteArray()), 1);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(50);
    }
    HWND ThreeRows(HWND parent, int x, int y) {
        HWND list = skintest::MakeChild(parent, "ListBox", x, y, 150, 100);
        ::SetWindowLongPtrA(list, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
        ::SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        // The gallery's font: its text is smoothed into the background.
        ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (const char* item : {"第一项", "第二项", "第三项"}) {
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        ::SendMessageA(list, LB_SETCURSEL, 1, 0);
        return list;
    }
    static RECT Row(HWND list, int row) {
        RECT r{};
        ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static int CountIn(HWND list, const RECT& r, const std::function<bool(COLORREF)>& match) {
        WindowDc dc(list);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) n += match(::GetPixel(dc.Get(), x, y)) ? 1 : 0;
        }
        return n;
    }
    static COLORREF ClientPixel(HWND list, int x, int y) {
        WindowDc dc(list);
        return ::GetPixel(dc.Get(), x, y);
    }
    // The key, or smoothed text blended into it.
    static bool Purple(COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetBValue(c) > GetGValue(c) + 40; }
    // What the skin composes as the list's veiled background, at a client point.
    COLORREF ExpectedVeil(HWND list, int x, int y) {
        HDC veiled = MakeVeiledBackground(*engine, list);
        if (!veiled) return CLR_INVALID;
        const COLORREF c = ::GetPixel(veiled, x, y);
        ReleaseMemoryDc(*engine, veiled);
        return c;
    }
    static void Repaint(HWND list) {
        ::RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
};

TEST_F(BlueListForm, TranslucentListBoxShowsTheVeilUnderItsRowsAndBelowThemWithReadableText) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND list = ThreeRows(form, 20, 60);
    SkinBlueForm(true);
    ASSERT_EQ(ProcOf(list), &ListSkinProc);
    Repaint(list);
    RECT client{};
    ::GetClientRect(list, &client);
    const RECT unselected = Row(list, 0), selected = Row(list, 1);
    ASSERT_LT(Row(list, 2).bottom, client.bottom - 8);  // an empty area below the rows

    const int xRight = client.right - 4, yEmpty = client.bottom - 4;
    const int yUnselected = (unselected.top + unselected.bottom) / 2, ySelected = (selected.top + selected.bottom) / 2;
    const COLORREF veil = VeiledGround(list, xRight, yEmpty);
    EXPECT_GT(skintest::ColourDistance(veil, RGB(255, 255, 255)), 60);  // the blue shows through the veil
    EXPECT_LE(skintest::ColourDistance(ClientPixel(list, xRight, yEmpty), veil), 3)
        << std::hex << ClientPixel(list, xRight, yEmpty);
    EXPECT_LE(skintest::ColourDistance(ClientPixel(list, xRight, yUnselected), VeiledGround(list, xRight, yUnselected)),
              3)
        << std::hex << ClientPixel(list, xRight, yUnselected);
    EXPECT_EQ(ClientPixel(list, xRight, ySelected), ::GetSysColor(COLOR_HIGHLIGHT));

    // No key, no purple fringe, no opaque white left anywhere outside the text.
    EXPECT_EQ(CountIn(list, client, &Purple), 0);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(CountIn(list, RECT{client.left, Row(list, 2).bottom, client.right, client.bottom},
                      [&](COLORREF c) { return c == white; }),
              0);
    // The text is still drawn: dark pixels in the unselected row, highlight text in the selected one.
    EXPECT_GT(CountIn(list, unselected, [](COLORREF c) { return skintest::Luminance(c) < 90; }), 10);
    const int highlight = skintest::Luminance(::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(CountIn(list, selected, [&](COLORREF c) { return skintest::Luminance(c) > highlight + 60; }), 10);

    // Outside its paint the form answers the list box as it always did.
    EXPECT_FALSE(IsListBoxPaintPass(list));
    WindowDc screen(nullptr);
    MemoryDc probe(::CreateCompatibleDC(screen.Get()));
    const LRESULT answer = ::SendMessageA(form, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(probe.Get()),
                                          reinterpret_cast<LPARAM>(list));
    EXPECT_NE(answer, reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH)));
    EXPECT_NE(::GetBkColor(probe.Get()), kMagenta);
}

TEST_F(BlueListForm, SelectionMovedByTheApplicationLeavesNoOpaqueRowBehind) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND list = ThreeRows(form, 20, 60);
    SkinBlueForm(true);
    Repaint(list);
    RECT client{};
    ::GetClientRect(list, &client);
    const int x = client.right - 4;
    const RECT first = Row(list, 0), second = Row(list, 1);
    // The list box repaints both rows straight into its window; the skin paints
    // it again over the veil.
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    ::UpdateWindow(list);
    const int yFirst = (first.top + first.bottom) / 2, ySecond = (second.top + second.bottom) / 2;
    EXPECT_EQ(ClientPixel(list, x, yFirst), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_LE(skintest::ColourDistance(ClientPixel(list, x, ySecond), VeiledGround(list, x, ySecond)), 3)
        << std::hex << ClientPixel(list, x, ySecond);
    EXPECT_EQ(CountIn(list, client, &Purple), 0);
}

TEST_F(BlueListForm, PartialRepaintOfAScrollingListKeepsTheTextOfEveryOtherRow) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND list = ThreeRows(form, 20, 60);
    ::SetWindowLongPtrA(list, GWL_STYLE, ::GetWindowLongPtrA(list, GWL_STYLE) | WS_VSCROLL);
    for (int i = 0; i < 10; ++i) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("更多的项"));
    ::SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SkinBlueForm(true);
    Repaint(list);
    auto dark = [](COLORREF c) { return skintest::Luminance(c) < 90; };
    ASSERT_GT(CountIn(list, Row(list, 0), dark), 10);
    ASSERT_GT(CountIn(list, Row(list, 2), dark), 10);
    // Only the third row is repainted, as after a change of its selection.
    RECT third = Row(list, 2);
    ::RedrawWindow(list, &third, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GT(CountIn(list, Row(list, 0), dark), 10);
    EXPECT_GT(CountIn(list, Row(list, 2), dark), 10);
    ::SendMessageA(list, LB_SETCURSEL, 2, 0);
    ::UpdateWindow(list);
    EXPECT_GT(CountIn(list, Row(list, 0), dark), 10);
    EXPECT_GT(CountIn(list, Row(list, 3), dark), 10);
}

// The list box asks its parent for its colours: on a panel it shows the veil
// as on the form; a parent the skin does not handle keeps it white, never
// showing the key.
TEST_F(BlueListForm, ListBoxOnAPanelShowsTheVeilAndUnderAnUnskinnedParentStaysWhite) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND group = ::CreateWindowExA(0, "Button", "分组", WS_CHILD | WS_VISIBLE | BS_GROUPBOX | WS_CLIPCHILDREN, 10, 40,
                                   180, 150, form, nullptr, nullptr, nullptr);
    HWND onPanel = ThreeRows(group, 10, 30);
    HWND holder = skintest::MakeChild(form, "Static", 210, 40, 170, 150);
    HWND underStatic = ThreeRows(holder, 10, 30);
    SkinBlueForm(true);
    ASSERT_GE(AttachPanel(*engine, group), 1);
    AttachListSkin(*engine, 1, holder);
    ASSERT_EQ(ProcOf(onPanel), &ListSkinProc);
    ASSERT_EQ(ProcOf(underStatic), &ListSkinProc);
    skintest::Pump(50);

    for (HWND list : {onPanel, underStatic}) {
        Repaint(list);
        RECT client{};
        ::GetClientRect(list, &client);
        EXPECT_EQ(CountIn(list, client, &Purple), 0);
    }
    RECT client{};
    ::GetClientRect(onPanel, &client);
    const int x = client.right - 4, y = client.bottom - 4;
    const COLORREF veil = ExpectedVeil(onPanel, x, y);
    EXPECT_NE(veil, RGB(255, 255, 255));
    EXPECT_LE(skintest::ColourDistance(ClientPixel(onPanel, x, y), veil), 3) << std::hex << ClientPixel(onPanel, x, y);
    EXPECT_EQ(ClientPixel(underStatic, x, y), ::GetSysColor(COLOR_WINDOW));
}

// A form without translucent controls: the lists keep their own look inside
// the skin's frame.
TEST_F(ListSkin, WithoutTranslucencyListsLookStandardInsideTheFrame) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND list = skintest::MakeChild(form, "ListBox", 20, 140, 150, 90);
    ::SetWindowLongPtrA(list, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    ::SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("一项"));
    HWND tree = skintest::MakeChild(form, WC_TREEVIEWA, 200, 140, 150, 90);
    HWND view = skintest::MakeChild(form, WC_LISTVIEWA, 20, 40, 150, 90);
    engine->SetBackground(Text(), EmbeddedImageBytes(EmbeddedImage::Background), std::nullopt, 0x51AE51, 3);
    engine->SetOptions(1);
    SkinEngine::FormOptions options;
    options.captionHeight = 30;
    ASSERT_EQ(engine->AttachForm(form, options, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
    ::ShowWindow(form, SW_SHOWNORMAL);
    skintest::PumpUntil([&] { return engine->Form(1)->backgroundDc.IsValid(); });
    skintest::Pump(50);
    ASSERT_EQ(ProcOf(list), &ListSkinProc);
    EXPECT_NE(static_cast<COLORREF>(::SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), kMagenta);
    EXPECT_NE(static_cast<COLORREF>(::SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);

    ::RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(list, &client);
    WindowDc dc(list);
    EXPECT_EQ(::GetPixel(dc.Get(), client.right - 4, client.bottom - 4), ::GetSysColor(COLOR_WINDOW));
    const int y = SizeOf(list).cy / 2;
    EXPECT_EQ(WindowPixel(list, 1, y), RGB(255, 255, 255));  // the opaque band
    const COLORREF border = WindowPixel(list, 0, y);         // black/80 over white
    EXPECT_NEAR(GetRValue(border), 255 - 80, 3);
    EXPECT_TRUE(skintest::Neutral(border));
    // The list erases its own background.
    WindowDc erase(list);
    EXPECT_NE(::SendMessageA(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erase.Get()), 0), 0);
    EXPECT_EQ(::GetBkMode(erase.Get()), OPAQUE);
}

TEST_F(ListSkin, HoveringAndRepaintingEveryListAndHeaderLeavesNothingBehind) {
    Gallery();
    std::vector<HWND> controls;
    for (int id = kGalleryScrollList; id <= kGalleryEmptyHeader; ++id) {
        if (HWND c = Item(id)) controls.push_back(c);
    }
    controls.push_back(::FindWindowExA(Item(kGalleryReportView), nullptr, WC_HEADERA, nullptr));
    ASSERT_EQ(controls.size(), 12u);
    auto round = [&] { skintest::HoverAndRepaint(controls, Away()); };
    round();
    const std::vector<long> before = skintest::LiveCounters(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) round();
    EXPECT_EQ(skintest::LiveCounters(*engine), before);
    EXPECT_EQ(before.back(), 0);
}

}  // namespace
