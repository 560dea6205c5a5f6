// The label skin: text with its halo, the empty label drawn by the control,
// the font a label is drawn in, what a style makes of a static, and the
// children a label leaves alone.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/string_format.h"
#include "skin/paint/glow_text.h"
#include "skin/paint/paint_primitives.h"
#include "skin/controls/progress_skin.h"
#include "skin/controls/static_skin.h"
#include "skin/window/panel_skin.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::PrintedClient;
using skintest::SkinTest;

constexpr COLORREF kGrey = RGB(128, 128, 128);

class StaticSkin : public SkinTest {
protected:
    // A form whose background is plain grey, skinned and painted.
    void MakeForm() {
        form = Keep(skintest::MakeWindow());
        engine->SetBackground(Text(), skintest::TwoColourPng(492, 293, 492, kGrey, kGrey), kGrey, 0x51AE51, 3);
        engine->SetOptions(1, 80);
        SkinEngine::FormOptions options;
        options.captionSheen = 0;
        options.resizable = 0;
        formIndex = engine->AttachForm(form, options, ByteArray());
        ::ShowWindow(form, SW_SHOWNORMAL);
        skintest::WaitForFirstFormPainted(*engine);
    }
    int Record(HWND label) { return FindControlRecord(*engine, formIndex, label, RecordList::Statics); }
    HWND form = nullptr;
    int formIndex = 0;
};

// Paints a marker where the system would paint the label, so a test sees
// who painted it.
constexpr COLORREF kMarker = RGB(255, 0, 255);
WNDPROC gStaticProc = nullptr;
LRESULT CALLBACK MarkingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && wParam) {
        RECT mark{2, 2, 6, 6};
        HBRUSH brush = ::CreateSolidBrush(kMarker);
        ::FillRect(reinterpret_cast<HDC>(wParam), &mark, brush);
        ::DeleteObject(brush);
        return 0;
    }
    return ::CallWindowProcA(gStaticProc, window, message, wParam, lParam);
}

TEST_F(StaticSkin, EmptyLabelIsDrawnByTheControlOverTheComposedBackground) {
    MakeForm();
    HWND label = skintest::MakeChild(form, "Static", 40, 150, 120, 20, "");
    gStaticProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MarkingStaticProc)));
    AttachStaticSkin(*engine, formIndex, form);
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(label, GWLP_WNDPROC)), &StaticSkinProc);
    {
        PrintedClient empty(label);
        EXPECT_EQ(empty.At(3, 3), kMarker);
        EXPECT_EQ(empty.At(60, 10), kGrey);  // the composed background around it, no halo
    }
    ::SetWindowTextA(label, "有字");
    PrintedClient text(label);
    EXPECT_NE(text.At(3, 3), kMarker);  // now the skin paints it
    int dark = 0, light = 0;
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 20; ++y) {
            const int l = skintest::Luminance(text.At(x, y));
            dark += l < 60;
            light += l > 150;  // the white halo around the black text
        }
    }
    EXPECT_GT(dark, 5);
    EXPECT_GT(light, 5);
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);
}

// Wine's GDI+ resolves a face for every font a DC can hold, so a label's own
// face is never empty here and the parent's face is not reached.
TEST_F(StaticSkin, LabelsRecordTheirFontInTheListsFirstEmptyRecordOnce) {
    MakeForm();
    HWND group = skintest::MakeChild(form, "Static", 20, 140, 200, 100, "");
    HWND inside = skintest::MakeChild(group, "Static", 10, 20, 100, 16, "组内");
    ::SendMessageA(inside, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    HWND outside = skintest::MakeChild(form, "Static", 240, 150, 100, 16, "组外");
    const ControlFont own = ReadControlFont(inside);
    ASSERT_FALSE(own.face.empty());

    AttachStaticSkin(*engine, formIndex, group);
    FormSkin* entry = engine->Form(formIndex);
    ASSERT_EQ(entry->staticLabels.size(), 1u);  // the empty first record, taken
    EXPECT_EQ(Record(inside), 1);
    EXPECT_EQ(::GetPropA(inside, "Hw_lbID"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(entry->staticLabels[0].fontFace, own.face);
    EXPECT_EQ(entry->staticLabels[0].fontSize, own.size > 0 ? own.size : 12);
    EXPECT_EQ(entry->staticLabels[0].kind, kStaticText);

    AttachStaticSkin(*engine, formIndex, form);  // the group itself and the label beside it
    EXPECT_EQ(entry->staticLabels.size(), 3u);
    EXPECT_EQ(Record(outside), 3);
    AttachStaticSkin(*engine, formIndex, form);
    AttachStaticSkin(*engine, formIndex, group);
    EXPECT_EQ(entry->staticLabels.size(), 3u);
}

// A label whose font GDI+ cannot take (a raster font on Windows; Wine's GDI+
// takes every font, so the choice is tested by itself) is drawn in its
// parent's whole font.
TEST(StaticFonts, ALabelWithoutAUsableFontTakesItsParentsWholeFont) {
    const ControlFont parent{Text("黑体"), 20, 3};
    const ControlFont taken = LabelFont(ControlFont{}, parent);
    EXPECT_EQ(taken.face, parent.face);
    EXPECT_EQ(taken.size, 20);
    EXPECT_EQ(taken.style, 3);

    const ControlFont own{Text("Tahoma"), 9, 1};
    const ControlFont kept = LabelFont(own, parent);
    EXPECT_EQ(kept.face, own.face);
    EXPECT_EQ(kept.size, 9);
    EXPECT_EQ(kept.style, 1);

    const ControlFont neither = LabelFont(ControlFont{}, ControlFont{});
    EXPECT_EQ(neither.face, Text("宋体"));
    EXPECT_EQ(neither.size, 12);
    EXPECT_EQ(neither.style, 0);
    EXPECT_EQ(LabelFont(ControlFont{Text("Tahoma"), 0, 0}, parent).size, 12);
}

// Something that subclasses a control after the skin, forwarding to it.
WNDPROC gLaterProcs[2] = {};
template <int N>
LRESULT CALLBACK LaterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(gLaterProcs[N], window, message, wParam, lParam);
}

TEST_F(StaticSkin, LabelsAndBarsSubclassedAfterTheSkinAreNotTakenAgain) {
    MakeForm();
    HWND label = skintest::MakeChild(form, "Static", 40, 150, 120, 20, "字");
    HWND bar = skintest::MakeChild(form, PROGRESS_CLASSA, 40, 180, 120, 20);
    AttachStaticSkin(*engine, formIndex, form);
    AttachProgressSkin(*engine, formIndex, form);
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(label, GWLP_WNDPROC)), &StaticSkinProc);
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), &ProgressSkinProc);
    gLaterProcs[0] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc<0>)));
    gLaterProcs[1] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc<1>)));
    const HANDLE labelPrevious = ::GetPropA(label, "Hw_hProc"), barPrevious = ::GetPropA(bar, "Hw_hProc");

    AttachStaticSkin(*engine, formIndex, form);
    AttachProgressSkin(*engine, formIndex, form);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(label, GWLP_WNDPROC)), &LaterProc<0>);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(bar, GWLP_WNDPROC)), &LaterProc<1>);
    EXPECT_EQ(::GetPropA(label, "Hw_hProc"), labelPrevious);
    EXPECT_EQ(::GetPropA(bar, "Hw_hProc"), barPrevious);
    // Messages still reach the controls themselves.
    ::SendMessageA(bar, PBM_SETPOS, 30, 0);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 30);
    char text[8] = {};
    EXPECT_EQ(::GetWindowTextA(label, text, sizeof text), 2);
    ::DestroyWindow(label);
    ::DestroyWindow(bar);
}

TEST(StaticKinds, TheTypeFieldDecidesAndCentringComesFirst) {
    EXPECT_EQ(StaticKindOf(SS_LEFT), kStaticText);
    EXPECT_EQ(StaticKindOf(SS_SIMPLE), kStaticText);      // shares the icon's low bits
    EXPECT_EQ(StaticKindOf(SS_BLACKFRAME), kStaticText);  // likewise
    EXPECT_EQ(StaticKindOf(SS_ICON | SS_CENTERIMAGE), kStaticIcon);
    EXPECT_EQ(StaticKindOf(SS_BITMAP | SS_NOTIFY), kStaticBitmap);
    EXPECT_EQ(StaticPlacementOf(SS_CENTERIMAGE | SS_REALSIZECONTROL | SS_RIGHTJUST), kPlaceCentred);
    EXPECT_EQ(StaticPlacementOf(SS_REALSIZECONTROL | SS_RIGHTJUST), kPlaceStretched);
    EXPECT_EQ(StaticPlacementOf(SS_RIGHTJUST), kPlaceBottomRight);
    EXPECT_EQ(StaticPlacementOf(0), kPlaceTopLeft);
}

// The bounding box of the pixels brighter than `threshold` on a black canvas.
RECT LitBox(GdipBitmap& canvas, int w, int h, int threshold) {
    RECT box{w, h, -1, -1};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Gdiplus::ARGB p = canvas.BitmapGetPixel(x, y);
            if (static_cast<int>((p >> 8) & 0xFF) > threshold) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
        }
    }
    return box;
}

// The halo is drawn half the glow size left of and 0.6 glow sizes above the
// layout origin, which centres the blur on the text: it reaches about as far
// on each side of the text as on the opposite one.
TEST_F(SkinTest, GlowHaloIsCentredOnTheText) {
    constexpr int w = 120, h = 60;
    const Text face("宋体");
    const GlowLayout layout{30, 20, 60, 24};
    float hx = 0, hy = 0;
    GlowHaloOrigin(layout, 4, hx, hy);
    EXPECT_FLOAT_EQ(hx, 28.0f);
    EXPECT_FLOAT_EQ(hy, 17.6f);

    GdipBitmap text, glow;
    for (GdipBitmap* b : {&text, &glow}) {
        b->CreateBitmapFromScan0(w, h);
        GdipGraphics g;
        g.GetImageGraphicsContext(*b);
        GdipSolidBrush black;
        black.CreateSolidFill(0xFF000000);
        g.FillRectangleI(black, 0, 0, w, h);
    }
    {
        GdipGraphics g;
        g.GetImageGraphicsContext(text);
        GdipFont font;
        ASSERT_TRUE(font.CreateFontByName(face, 12));
        GdipStringFormat format;
        format.CreateStringFormat();
        GdipSolidBrush white;
        white.CreateSolidFill(0xFFFFFFFF);
        g.DrawString(Text("工工"), font, Gdiplus::RectF(layout.x, layout.y, layout.width, layout.height), format,
                     white);
    }
    {
        GdipGraphics g;
        g.GetImageGraphicsContext(glow);
        // Text in the canvas colour: only the halo shows.
        DrawGlowText(g, Text("工工"), layout, RGB(0, 0, 0), RGB(255, 255, 255), 4, face, 0, true, 12, true, 0, 0);
    }
    const RECT t = LitBox(text, w, h, 128);
    const RECT g = LitBox(glow, w, h, 8);
    ASSERT_GE(t.right, t.left);
    ASSERT_GE(g.right, g.left);
    const int left = t.left - g.left, right = g.right - t.right, top = t.top - g.top, bottom = g.bottom - t.bottom;
    EXPECT_GT(left, 0);
    EXPECT_GT(right, 0);
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
    EXPECT_LE(std::abs(left - right), 2) << left << " " << right;
    EXPECT_LE(std::abs(top - bottom), 2) << top << " " << bottom;
}

// A box's text breaks its lines with "\r\n": the break is drawn exactly as
// a bare "\n" is, with no glyph for the "\r".
TEST_F(SkinTest, CarriageReturnLineFeedBreaksALineLikeALineFeed) {
    constexpr int w = 160, h = 70;
    const GlowLayout layout{10, 5, 140, 60};
    auto render = [&](const Text& text, GdipBitmap& bitmap) {
        bitmap.CreateBitmapFromScan0(w, h);
        GdipGraphics g;
        g.GetImageGraphicsContext(bitmap);
        GdipSolidBrush white;
        white.CreateSolidFill(0xFFFFFFFF);
        g.FillRectangleI(white, 0, 0, w, h);
        DrawGlowText(g, text, layout, RGB(0, 0, 0), RGB(255, 255, 255), 4, Text("宋体"), 0, true, 12, true, 0, 0);
    };
    GdipBitmap crlf, lf;
    render(Text("选择是启动\r\n新程序"), crlf);
    render(Text("选择是启动\n新程序"), lf);
    int differing = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) differing += crlf.BitmapGetPixel(x, y) != lf.BitmapGetPixel(x, y);
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(SkinTest, VisibleOpaqueChildrenAreLeftOutOfTheLabelsPainting) {
    HWND window = Keep(skintest::MakeWindow(300, 200));
    ::ShowWindow(window, SW_SHOWNORMAL);
    HWND label = skintest::MakeChild(window, "Static", 10, 10, 200, 100, "");
    HWND opaque = skintest::MakeChild(label, "Static", 10, 10, 30, 30, "");
    HWND clear = ::CreateWindowExA(WS_EX_TRANSPARENT, "Static", "", WS_CHILD | WS_VISIBLE, 60, 10, 30, 30, label,
                                   nullptr, nullptr, nullptr);
    HWND hidden = ::CreateWindowExA(0, "Static", "", WS_CHILD, 110, 10, 30, 30, label, nullptr, nullptr, nullptr);
    ASSERT_TRUE(opaque && clear && hidden);
    HDC dc = ExcludeVisibleChildren(label, nullptr, false);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(::PtVisible(dc, 20, 20));
    EXPECT_TRUE(::PtVisible(dc, 70, 20));
    EXPECT_TRUE(::PtVisible(dc, 120, 20));
    EXPECT_TRUE(::PtVisible(dc, 5, 80));
    ::ReleaseDC(label, dc);
}

}  // namespace
