// The main window at the display scale it runs at (the program is run again
// in prefixes at 120, 144 and 192 DPI): its table laid out at that scale, the
// caption buttons where the mouse finds them, every label's text inside its
// control, a skinned box around its text, and a move to another scale.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <utility>
#include <thread>

#include "app/main_form.h"
#include "app/message_box.h"
#include "resources/embedded_images.h"
#include "skin/model/display_scale.h"
#include "../skin/skin_test_support.h"

namespace {

using skintest::MouseStep;

BOOL CALLBACK MatchSkinnedBox(HWND window, LPARAM found) {
    if (ClassNameOf(window) != "#32770" || !GetProperty(window, prop::kPreviousProc)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

class MainFormAtScale : public skintest::SkinTest {
protected:
    void SetUp() override {
        window = Keep(LoadMainFormWithoutEvents(LoadProgramIcon()));
        ASSERT_NE(window, nullptr);
        form = skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background));
        ASSERT_GT(form, 0);
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        scale = DisplayScale(WindowDpi(window));
    }
    FormSkin& Entry() { return *engine->Form(form); }
    static SIZE SizeOf(HWND w) {
        RECT r{};
        ::GetWindowRect(w, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    static RECT PlaceInParent(HWND child) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The text of a label as drawn with its font: it must fit the client
    // area, in height up to `overhang` (the table's 12-px labels hold a 12-px
    // font whose line is 14 px: at 96 DPI the descent is cut by 2 px, and
    // at any scale it may be by no more than that, scaled).
    static void ExpectTextFits(HWND label, const char* name, int overhang = 0) {
        char text[512] = {};
        ::GetWindowTextA(label, text, sizeof text);
        HDC dc = ::GetDC(label);
        HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &extent);
        ::SelectObject(dc, previous);
        ::ReleaseDC(label, dc);
        RECT client{};
        ::GetClientRect(label, &client);
        EXPECT_LE(extent.cx, client.right) << name << " \"" << text << "\"";
        EXPECT_LE(extent.cy, client.bottom + overhang) << name << " \"" << text << "\"";
    }

    HWND window = nullptr;
    int form = 0;
    DisplayScale scale;
};

TEST_F(MainFormAtScale, WindowAndTableAreLaidOutAtTheScale) {
    EXPECT_EQ(Entry().dpi, scale.Dpi());
    const SIZE size = SizeOf(window);
    EXPECT_EQ(size.cx, scale.Px(492));
    EXPECT_EQ(size.cy, scale.Px(293));
    // 进度条1 at (38, 50) 418 x 32 and 编辑框1 at (37, 158) 419 x 79: edges scaled one by one.
    const RECT bar = PlaceInParent(WindowHandle(MainRef(kProgressBar1)));
    EXPECT_EQ(bar.left, scale.Px(38));
    EXPECT_EQ(bar.top, scale.Px(50));
    EXPECT_EQ(bar.right, scale.Px(38 + 418));
    EXPECT_EQ(bar.bottom, scale.Px(50 + 32));
    const RECT edit = PlaceInParent(WindowHandle(MainRef(kEdit1)));
    EXPECT_EQ(edit.right, scale.Px(37 + 419));
    EXPECT_EQ(edit.bottom, scale.Px(158 + 79));
    // The labels' font grows with the scale: the system font at 96 DPI is 12 px high (Wine, MS Shell Dlg).
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(WindowHandle(MainRef(kLabel1)), WM_GETFONT, 0, 0)),
                 sizeof font, &font);
    LOGFONTA stock{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_EQ(font.lfHeight, ::MulDiv(stock.lfHeight, scale.Dpi(), SystemDpi()));
    // The title-bar and task-bar icons at the scale's sizes (16 and 32 px at 96 DPI).
    if (!scale.IsBase()) {
        for (auto [kind, size] : {std::pair{ICON_SMALL, 16}, std::pair{ICON_BIG, 32}}) {
            HICON icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, kind, 0));
            ICONINFO info{};
            ASSERT_TRUE(icon && ::GetIconInfo(icon, &info)) << size;
            BITMAP bitmap{};
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, scale.Px(size));
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
        }
    }
}

TEST_F(MainFormAtScale, EveryLabelTextFitsItsControl) {
    // As a download shows them (the longest the labels carry).
    SetControlProperty(MainRef(kLabel4), kPropertyText, "Norvane      |      文件大小:10240KB");
    SetControlProperty(MainRef(kLabel5), kPropertyText, "5120.0KB           |      所用时间:12秒");
    SetControlProperty(MainRef(kLabel6), kPropertyText, "512.0KB/s        |       剩余时间:0时0分10秒");
    SetControlProperty(MainRef(kLabel8), kPropertyText, "http://127.0.0.1:8080/Norvane.exe");
    const struct {
        MainControl unit;
        const char* name;
    } labels[] = {{kLabel1, "标签1"}, {kLabel2, "标签2"}, {kLabel3, "标签3"}, {kLabel4, "标签4"},
                  {kLabel5, "标签5"}, {kLabel6, "标签6"}, {kLabel7, "标签7"}, {kLabel8, "标签8"}};
    for (const auto& label : labels) ExpectTextFits(WindowHandle(MainRef(label.unit)), label.name, scale.Px(2));
}

TEST_F(MainFormAtScale, CaptionBandAndCloseButtonFollowTheScale) {
    FormSkin& entry = Entry();
    ASSERT_GE(entry.captionButtons.size(), 2u);
    const ButtonRect close = entry.captionButtons.back().rect;
    ASSERT_EQ(entry.captionButtons.back().command, kCommandClose);
    // The close button's 40 x 18 hit area at the scale (its edges are
    // rounded, not its size: a pixel either way), reaching the right edge
    // (2 px past it at 96 DPI, as designed), inside the caption band.
    EXPECT_NEAR(close.width, scale.Px(40), 1);
    EXPECT_NEAR(close.height, scale.Px(18), 1);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_GE(close.x + close.width, client.right);
    EXPECT_LE(close.x + close.width, client.right + scale.Px(2) + 1);
    EXPECT_LT(close.y + close.height, scale.Px(entry.captionHeight));

    // The caption band is drawn Px(110) high: its sheen brightens it down
    // to its last rows, and under it the background is flat.
    auto rowLuminance = [&](int y) {
        long sum = 0;
        for (int x = scale.Px(20); x < scale.Px(470); x += 3) {
            sum += skintest::Luminance(skintest::BackgroundPixel(*engine, window, x, y));
        }
        return sum;
    };
    // On a flat grey background the band's sheen shows where the band ends.
    const COLORREF grey = RGB(120, 120, 120);
    engine->SetFormBackground(window, skintest::TwoColourPng(64, 64, 32, grey, grey), 3);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int band = scale.Px(110);
    const long flat = rowLuminance(band + scale.Px(40));
    EXPECT_GT(rowLuminance(band - scale.Px(6)), flat);
    EXPECT_EQ(rowLuminance(band + 1), flat);

    // Hovered at its centre, the close button is hot; just left of the strip nothing is.
    POINT centre{static_cast<int>(close.x + close.width / 2), static_cast<int>(close.y + close.height / 2)};
    POINT beside{static_cast<int>(entry.buttonStripX) - scale.Px(4), centre.y};
    ::ClientToScreen(window, &centre);
    ::ClientToScreen(window, &beside);
    skintest::RunMouse({{MouseStep::Move, beside, 150}});
    EXPECT_EQ(Entry().hotButton, 0);
    skintest::RunMouse({{MouseStep::Move, centre, 150}});
    EXPECT_EQ(Entry().hotButton, static_cast<int>(entry.captionButtons.size()));
    skintest::RunMouse({{MouseStep::Move, POINT{centre.x, centre.y + scale.Px(150)}, 150}});
}

TEST_F(MainFormAtScale, SkinnedBoxHoldsItsTextAtItsScale) {
    InstallMessageBoxHook();
    std::atomic<DWORD> thread{0};
    std::atomic<bool> done{false};
    std::thread shower([&] {
        thread = ::GetCurrentThreadId();
        SkinnedMessageBox(window, "更新完成！是否启动新程序！", MB_YESNO, "提示信息");
        done = true;
    });
    HWND box = nullptr;
    skintest::PumpUntil([&] {
        ::EnumThreadWindows(thread, &MatchSkinnedBox, reinterpret_cast<LPARAM>(&box));
        return box != nullptr;
    });
    ASSERT_NE(box, nullptr);
    skintest::Pump(300);
    // Its text inside its own static, the static inside the box.
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) != "Static" || (::GetWindowLongA(child, GWL_STYLE) & SS_ICON)) continue;
        ExpectTextFits(child, "box text");
        RECT place = PlaceInParent(child), client{};
        ::GetClientRect(box, &client);
        EXPECT_LE(place.right, client.right);
        EXPECT_LE(place.bottom, client.bottom);
    }
    // Wider than its text and a title band of 30 px at the scale.
    const SIZE size = SizeOf(box);
    EXPECT_GT(size.cy, scale.Px(30) + scale.Px(24));
    EXPECT_GT(size.cx, scale.Px(120));
    ::PostMessageA(box, WM_COMMAND, IDNO, 0);
    skintest::PumpUntil([&] { return done.load(); });
    shower.join();
}

TEST_F(MainFormAtScale, MovingToAnotherScaleTakesTheSuggestedRectangle) {
    const int to = scale.Dpi() == 192 ? 96 : 192;
    const DisplayScale next(to);
    const RECT suggested{40, 30, 40 + next.Px(492), 30 + next.Px(293)};
    HWND bar = WindowHandle(MainRef(kProgressBar1));
    HWND label = WindowHandle(MainRef(kLabel1));
    LOGFONTA before{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof before, &before);

    ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    ::UpdateWindow(window);
    skintest::Pump(100);

    RECT placed{};
    ::GetWindowRect(window, &placed);
    EXPECT_TRUE(::EqualRect(&placed, &suggested));
    EXPECT_EQ(Entry().dpi, to);
    // From 96 DPI the table's places exactly; from another scale, whose
    // places were rounded once already, within a pixel of them.
    const RECT r = PlaceInParent(bar);
    const int slack = scale.IsBase() ? 0 : 1;
    EXPECT_NEAR(r.left, next.Px(38), slack);
    EXPECT_NEAR(r.right, next.Px(38 + 418), slack);
    EXPECT_NEAR(r.bottom, next.Px(50 + 32), slack);
    LOGFONTA after{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof after, &after);
    EXPECT_EQ(after.lfHeight, ::MulDiv(before.lfHeight, to, scale.Dpi()));
    ExpectTextFits(label, "标签1", next.Px(2));
    // The background is rebuilt at the new size, the close button placed for the new scale.
    BITMAP bitmap{};
    ASSERT_TRUE(Entry().backgroundDc.IsValid());
    ::GetObjectA(::GetCurrentObject(Entry().backgroundDc.Get(), OBJ_BITMAP), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, next.Px(492));
    EXPECT_EQ(bitmap.bmHeight, next.Px(293));
    EXPECT_NEAR(Entry().captionButtons.back().rect.width, next.Px(40), 1);

    // And back, twice over: exactly the places and font of the start.
    const RECT home{40, 30, 40 + scale.Px(492), 30 + scale.Px(293)};
    for (int round = 0; round < 2; ++round) {
        ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(scale.Dpi(), scale.Dpi()), reinterpret_cast<LPARAM>(&home));
        const RECT back = PlaceInParent(bar);
        EXPECT_EQ(back.left, scale.Px(38));
        EXPECT_EQ(back.right, scale.Px(38 + 418));
        EXPECT_EQ(back.bottom, scale.Px(50 + 32));
        const RECT away{40, 30, 40 + next.Px(492), 30 + next.Px(293)};
        if (round == 0) ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&away));
    }
    LOGFONTA back{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof back, &back);
    EXPECT_EQ(back.lfHeight, before.lfHeight);
}

}  // namespace
