// The control painters at the display scale the program runs at: a form
// laid out in device pixels for that scale holds one control of each kind,
// and what they paint is measured against the 96-DPI sizes scaled. The
// program runs at 96 DPI and again in prefixes at 120, 144 and 192 DPI;
// every expectation follows the scale the form was skinned at.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/win_handles.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/frame_band.h"
#include "skin/controls/static_skin.h"
#include "skin/model/display_scale.h"
#include "skin/paint/paint_primitives.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::Greenish;
using skintest::Luminance;
using skintest::PrintedClient;

constexpr COLORREF kDark = RGB(40, 40, 40);
constexpr COLORREF kLight = RGB(225, 225, 225);

// The smallest box holding the pixels of a printed client that pass a test;
// empty when none does.
template <typename Pass>
RECT BoundsOf(const PrintedClient& printed, const RECT& area, Pass&& pass) {
    RECT found{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!pass(printed.At(x, y))) continue;
            found.left = std::min<LONG>(found.left, x);
            found.top = std::min<LONG>(found.top, y);
            found.right = std::max<LONG>(found.right, x + 1);
            found.bottom = std::max<LONG>(found.bottom, y + 1);
        }
    }
    return found;
}

bool Dark(COLORREF c) { return Luminance(c) < 110; }
// At least half covered by an arrow image (RGB(32, 32, 32)) over a face
// lighter than 200: an enlarged image fades at its edges.
bool ArrowInk(COLORREF c) { return Luminance(c) < 130; }

class ControlDpi : public skintest::SkinTest {
protected:
    void SetUp() override {
        ::InitCommonControls();
        form = Keep(skintest::MakeWindow(s.Px(560), s.Px(400), WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, 40, 40));
        ASSERT_NE(form, nullptr);
        label = Make("Static", "标签文字", 0, 20, 130, 200, 24);
        check = Make("Button", "复选框", BS_AUTOCHECKBOX, 260, 130, 150, 20);
        bar = Make(TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS, 260, 160, 150, 30);
        upDown = Make(UPDOWN_CLASSA, "", 0, 420, 130, 17, 40);
        combo = Make("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL, 260, 200, 150, 200);
        header = Make(WC_HEADERA, "", HDS_HORZ, 260, 240, 200, 22);
        edit = Make("Edit", "文字", ES_AUTOHSCROLL, 260, 280, 150, 22, WS_EX_CLIENTEDGE);
        // A face GDI+ makes no font of: the caption takes the default.
        button = Make("Button", "确定", BS_PUSHBUTTON, 20, 300, 100, 26);
        vertical.Reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "@SimSun"));
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(vertical.Get()), FALSE);

        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("第一项"));
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = s.Px(120);
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<char*>("名称");
        ::SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

        // Dark on the left (the label's glow shows there), light on the right.
        const ByteArray back = skintest::TwoColourPng(560, 400, 240, kDark, kLight);
        ASSERT_EQ(skintest::SkinLikeTheUpdater(*engine, form, back), 1);
        AttachStaticSkin(*engine, 1, form);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
        // The layout above assumed the form is skinned at the system's scale.
        ASSERT_EQ(ScaleOfWindow(*engine, form), s);
    }
    // A control at a 96-DPI rectangle, each edge scaled, in the GUI font.
    HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0) {
        const RECT r = s.Rect(RECT{x, y, x + w, y + h});
        HWND control = ::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, form, nullptr,
                                         ::GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(control, nullptr) << cls;
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }
    static RECT ClientOf(HWND window) {
        RECT r{};
        ::GetClientRect(window, &r);
        return r;
    }
    ControlRecord ButtonRecord(HWND control) {
        return engine->WithForms([&](FormSkinList& forms) {
            for (const ControlRecord& r : forms[0]->buttons) {
                if (r.window == control) return r;
            }
            return ControlRecord();
        });
    }

    const DisplayScale s{SystemDpi()};
    FontHandle vertical;
    HWND form = nullptr, label = nullptr, check = nullptr, bar = nullptr, upDown = nullptr, combo = nullptr,
         header = nullptr, edit = nullptr, button = nullptr;
};

TEST_F(ControlDpi, CheckBoxSquareAndFocusCueFollowTheScale) {
    const RECT client = ClientOf(check);
    const int middle = client.bottom / 2, square = s.Px(13);
    {
        // The empty box: a dark border around white, from column 0 to the
        // square's last column; the caption starts only beyond it.
        const PrintedClient printed(check);
        const RECT box = BoundsOf(printed, RECT{0, middle, s.Px(16), middle + 1},
                                  [](COLORREF c) { return Luminance(c) < 160; });
        EXPECT_EQ(box.left, 0);
        EXPECT_NEAR(box.right, square, 1) << "dpi " << s.Dpi();
        EXPECT_GT(Luminance(printed.At(square / 2, middle)), 230);
    }
    // The focus cue runs between the box and the caption, at least a pixel wide.
    ::SetFocus(check);
    skintest::Pump(30);
    const PrintedClient focused(check);
    EXPECT_TRUE(Greenish(focused.At(s.Px(15), middle))) << std::hex << focused.At(s.Px(15), middle);
    int cue = 0;
    for (int x = square; x < s.Px(19); ++x) cue += Greenish(focused.At(x, middle)) ? 1 : 0;
    EXPECT_GE(cue, s.Line(1));
    ::SetFocus(form);
}

TEST_F(ControlDpi, TrackBarHoverFrameSurroundsAScaledKnob) {
    engine->WithForms([](FormSkinList& forms) { forms[0]->trackBars[0].hovered = 1; });
    const PrintedClient printed(bar);
    const RECT frame = BoundsOf(printed, ClientOf(bar), [](COLORREF c) { return Greenish(c); });
    // The frame is the knob's width plus a margin on each side along the
    // channel, and the knob's height across it, and the outline's width more.
    EXPECT_NEAR(frame.right - frame.left, s.Px(11) + 2 * s.Px(5) + s.Line(1), 1) << "dpi " << s.Dpi();
    EXPECT_NEAR(frame.bottom - frame.top, s.Px(11) + s.Line(1), 1) << "dpi " << s.Dpi();
}

TEST_F(ControlDpi, UpDownArrowsAreDrawnAtTheScaledSizeInTheirHalves) {
    const RECT client = ClientOf(upDown);
    const PrintedClient printed(upDown);
    // Inside each half's outline and away from its rounded corners.
    const int W = client.right, half = client.bottom / 2, side = s.Line(1), corner = s.Px(3) + side;
    const RECT up = BoundsOf(printed, RECT{side, corner, W - side, half - corner}, ArrowInk);
    const RECT down = BoundsOf(printed, RECT{side, half + corner, W - side, client.bottom - corner}, ArrowInk);
    for (const RECT& arrow : {up, down}) {
        EXPECT_NEAR(arrow.right - arrow.left, s.Px(7), 2) << "dpi " << s.Dpi();
        EXPECT_NEAR(arrow.bottom - arrow.top, s.Px(4), 1) << "dpi " << s.Dpi();
    }
    // Each centred in its half.
    EXPECT_NEAR(up.top + up.bottom, client.bottom / 2, 2);
    EXPECT_NEAR(down.top + down.bottom, client.bottom / 2 + client.bottom, 2);
}

TEST_F(ControlDpi, ComboButtonIsTheScaledWidthWithItsArrowInTheMiddle) {
    RECT window{};
    ::GetWindowRect(combo, &window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    const int U = s.Px(17), buttonLeft = W - s.Px(2) - U;
    ::InvalidateRect(combo, nullptr, TRUE);
    ::UpdateWindow(combo);
    skintest::Pump(30);
    RECT arrow{W, H, 0, 0};
    for (int y = 0; y < H; ++y) {
        for (int x = W - 3 * U; x < W; ++x) {
            if (!ArrowInk(skintest::WindowPixel(combo, x, y))) continue;
            arrow = RECT{std::min<LONG>(arrow.left, x), std::min<LONG>(arrow.top, y), std::max<LONG>(arrow.right, x + 1),
                         std::max<LONG>(arrow.bottom, y + 1)};
        }
    }
    EXPECT_NEAR(arrow.right - arrow.left, s.Px(7), 2) << "dpi " << s.Dpi();
    EXPECT_NEAR(arrow.left + arrow.right, 2 * buttonLeft + U, 2) << "dpi " << s.Dpi();
}

TEST_F(ControlDpi, HeaderTextKeepsTheScaledInset) {
    RECT item{};
    ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const PrintedClient printed(header);
    const RECT ink = BoundsOf(printed, item, Dark);
    ASSERT_LT(ink.left, ink.right) << "no text drawn";
    // The inset, then what GDI+ leaves before the first glyph (about a
    // sixth of the em, which grows with the font).
    EXPECT_GE(ink.left - item.left, s.Px(4) + s.Px(2)) << "dpi " << s.Dpi();
    EXPECT_LE(ink.left - item.left, s.Px(4) + s.Px(4)) << "dpi " << s.Dpi();
}

TEST_F(ControlDpi, LabelGlowReachesTheScaledSizeBeyondTheText) {
    const RECT client = ClientOf(label);
    const PrintedClient printed(label);
    const RECT text = BoundsOf(printed, client, [](COLORREF c) { return Luminance(c) < 20; });
    const RECT glow = BoundsOf(printed, client, [](COLORREF c) { return Luminance(c) > 120; });
    ASSERT_LT(text.left, text.right) << "no text drawn";
    // The halo spreads about half the glow size around the glyphs.
    EXPECT_GE(text.top - glow.top, s.Px(4) / 2 - 1) << "dpi " << s.Dpi();
    EXPECT_LE(text.top - glow.top, s.Px(4) + 2) << "dpi " << s.Dpi();
}

// Accent-coloured columns from the window's left edge along its middle row.
int AccentColumns(HWND window, int height) {
    int n = 0;
    while (n < 10 && Greenish(skintest::WindowPixel(window, n, height / 2))) ++n;
    return n;
}

TEST_F(ControlDpi, EditFocusAndHoverFramesAreScaledLinesNeverUnderAPixel) {
    RECT window{};
    ::GetWindowRect(edit, &window);
    const int H = window.bottom - window.top;
    // The client area covers what lies further in.
    const int border = static_cast<int>(EditClientRect(edit).left);
    PaintEditFrame(*engine, edit, true, true, false, true);
    const int focus = AccentColumns(edit, H);
    EXPECT_GE(focus, 1);
    EXPECT_EQ(focus, std::min(s.Line(1), border)) << "dpi " << s.Dpi();
    PaintEditFrame(*engine, edit, false, true, true, true);
    const int hover = AccentColumns(edit, H);
    EXPECT_EQ(hover, std::min(s.Line(2), border)) << "dpi " << s.Dpi();
    PaintEditFrame(*engine, edit, false, true, false, true);
    EXPECT_EQ(AccentColumns(edit, H), 0);
}

TEST_F(ControlDpi, DefaultCaptionFontIsScaledAndANewFontIsFollowed) {
    ControlRecord record = ButtonRecord(button);
    ASSERT_EQ(record.window, button);
    EXPECT_EQ(record.fontSize, s.Px(12));
    // The form gives its children new fonts when the scale changes.
    ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    const ControlFont font = ReadControlFont(button);
    ASSERT_GT(font.size, 0);
    record = ButtonRecord(button);
    EXPECT_EQ(record.fontSize, font.size);
    EXPECT_EQ(record.fontFace, font.face);
}

}  // namespace
