// The form procedure under real input (SendInput, served by this thread),
// its control-colour answers, track sizes, and the leak check over many
// hover fades and rebuilds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "gdip/gdip_object.h"
#include "resources/embedded_images.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::BackgroundPixel;
using skintest::MouseStep;
using skintest::SkinTest;

class SkinnedWindow : public SkinTest {
protected:
    HWND UpdaterWindow() {
        HWND window = Keep(skintest::MakeWindow());
        EXPECT_EQ(skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::SetForegroundWindow(window);
        ::UpdateWindow(window);
        skintest::Pump(30);
        return window;
    }
    POINT ButtonCentre(HWND window, int button) {
        const ButtonRect& r = engine->Form(engine->FormIndexOf(window))->captionButtons[button - 1].rect;
        return skintest::ClientToScreenPoint(window, static_cast<int>(r.x) + 9, static_cast<int>(r.y) + 5);
    }
};

// A child's rectangle in its parent's client coordinates, as "left,top,right,bottom".
std::string PlacedIn(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST_F(SkinnedWindow, DockedChildrenFollowTheFormsSize) {
    HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_SYSMENU | WS_MAXIMIZEBOX));
    HWND top = skintest::MakeChild(window, "Static", 0, 0, 10, 10);
    HWND bottom = skintest::MakeChild(window, "Static", 0, 0, 10, 10);
    HWND group = skintest::MakeChild(window, "Button", 0, 0, 10, 10, "组");
    ::SetWindowLongPtrA(group, GWL_STYLE, ::GetWindowLongPtrA(group, GWL_STYLE) | BS_GROUPBOX);
    HWND inner = skintest::MakeChild(group, "Static", 0, 0, 10, 10);
    SkinEngine::FormOptions options;
    ASSERT_EQ(engine->AttachForm(window, options, ByteArray()), 1);
    ASSERT_GE(engine->AttachPanel(group), 1);
    ASSERT_EQ(engine->Dock(window, top, 30, 40), 1);
    ASSERT_EQ(engine->Dock(window, bottom, -50, 30), 1);  // 50 above the bottom edge
    ASSERT_EQ(engine->Dock(window, group, 80, 100), 1);
    ASSERT_EQ(engine->Dock(group, inner, 20, 25), 1);
    EXPECT_EQ(PlacedIn(window, top), "2,30,398,70");
    EXPECT_EQ(PlacedIn(window, bottom), "2,250,398,280");
    EXPECT_EQ(PlacedIn(group, inner), "2,20,394,45");

    ::SetWindowPos(window, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(PlacedIn(window, top), "2,30,598,70");
    EXPECT_EQ(PlacedIn(window, bottom), "2,350,598,380");
    EXPECT_EQ(PlacedIn(window, group), "2,80,598,180");
    EXPECT_EQ(PlacedIn(group, inner), "2,20,594,45");  // through the panel's width

    // Docked again with another placement; a destroyed window is forgotten.
    ASSERT_EQ(engine->Dock(window, top, 35, 20), 1);
    EXPECT_EQ(PlacedIn(window, top), "2,35,598,55");
    ::DestroyWindow(bottom);
    ::SetWindowPos(window, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(PlacedIn(window, top), "2,35,498,55");
    EXPECT_EQ(engine->Form(1)->docked.size(), 2u);

    // Only children of a form or a panel are docked.
    HWND stranger = Keep(skintest::MakeWindow());
    EXPECT_EQ(engine->Dock(window, stranger, 0, 10), 0);
    EXPECT_EQ(engine->Dock(stranger, top, 0, 10), 0);
    EXPECT_EQ(engine->Dock(top, inner, 0, 10), 0);
}

TEST_F(SkinnedWindow, RealHoverShowsTheFaceAndLeavingRestoresIt) {
    HWND window = UpdaterWindow();
    const POINT close = ButtonCentre(window, 2), minimise = ButtonCentre(window, 1);
    POINT client = close;
    ::ScreenToClient(window, &client);
    POINT minimiseClient = minimise;
    ::ScreenToClient(window, &minimiseClient);
    const COLORREF closeNormal = BackgroundPixel(*engine, window, client.x, client.y);
    const COLORREF minimiseNormal = BackgroundPixel(*engine, window, minimiseClient.x, minimiseClient.y);

    // Input is slower on a busy machine: each state is waited for (up to
    // five seconds), then checked.
    auto pixel = [&](POINT p) { return BackgroundPixel(*engine, window, p.x, p.y); };
    auto reddish = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 60; };
    auto greenish = [](COLORREF c) { return GetGValue(c) > GetRValue(c) + 30 && GetGValue(c) > GetBValue(c) + 30; };
    skintest::RunMouse({{MouseStep::Move, skintest::ClientToScreenPoint(window, 200, 200), 50},
                        {MouseStep::Move, close, 50}});
    skintest::PumpUntil([&] { return engine->Form(1)->hoverIn.step >= kHoverSteps; });
    EXPECT_TRUE(reddish(pixel(client))) << std::hex << pixel(client);

    skintest::RunMouse({{MouseStep::Move, minimise, 50}});
    skintest::PumpUntil([&] {
        FormSkin* form = engine->Form(1);
        return form->hoverIn.step >= kHoverSteps && form->hoverOut.step >= kHoverSteps;
    });
    EXPECT_TRUE(greenish(pixel(minimiseClient))) << std::hex << pixel(minimiseClient);
    EXPECT_EQ(pixel(client), closeNormal);

    // Out of the window: the leave ends the fade and the timer.
    skintest::RunMouse({{MouseStep::Move, POINT{900, 700}, 50}});
    skintest::PumpUntil([&] { return engine->Form(1)->timerOn == 0 && engine->Form(1)->hoverOut.button == 0; });
    EXPECT_EQ(pixel(minimiseClient), minimiseNormal);
    EXPECT_EQ(engine->Form(1)->timerOn, 0);
}

TEST_F(SkinnedWindow, PressAndReleaseOnCloseClosesTheForm) {
    HWND window = UpdaterWindow();
    const POINT close = ButtonCentre(window, 2);
    skintest::RunMouse({{MouseStep::Move, close, 50}, {MouseStep::Down, close, 50}, {MouseStep::Up, close, 100}});
    skintest::PumpUntil([&] { return !::IsWindow(window); });
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return f.size(); }), 0u);
}

TEST_F(SkinnedWindow, DraggingTheCaptionMovesAFixedSizeForm) {
    HWND window = UpdaterWindow();
    RECT before{};
    ::GetWindowRect(window, &before);
    const POINT start = skintest::ClientToScreenPoint(window, 150, 60);
    const POINT end{start.x + 40, start.y + 30};
    skintest::RunMouse({{MouseStep::Move, start, 50},
                        {MouseStep::Down, start, 100},
                        {MouseStep::Move, POINT{start.x + 20, start.y + 15}, 100},
                        {MouseStep::Move, end, 100},
                        {MouseStep::Up, end, 200}});
    RECT after{};
    skintest::PumpUntil([&] {
        ::GetWindowRect(window, &after);
        return after.left - before.left == 40 && after.top - before.top == 30;
    });
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(after.right - after.left, before.right - before.left);  // not resized
}

TEST_F(SkinnedWindow, ControlColoursAnswerPatternAndHollowBrushes) {
    HWND window = UpdaterWindow();
    HWND label = skintest::MakeChild(window, "Static", 40, 140, 100, 16, "下载地址:");
    HWND button = skintest::MakeChild(window, "Button", 40, 200, 80, 24, "按钮");
    ::SetPropA(label, "Kj_Ztys", reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(RGB(10, 20, 30))));
    HDC dc = ::GetDC(label);
    const LRESULT brush = ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetPropA(label, "Kj_dxjb"), reinterpret_cast<HANDLE>(brush));
    EXPECT_EQ(::GetTextColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    const HANDLE firstBitmap = ::GetPropA(label, "Kj_wtjb");
    const long brushes = BrushHandle::Live();
    ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(BrushHandle::Live(), brushes);  // the old brush went first
    EXPECT_EQ(::GetObjectType(firstBitmap), 0u);
    ::ReleaseDC(label, dc);

    HDC buttonDc = ::GetDC(button);
    EXPECT_EQ(::SendMessageA(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(buttonDc),
                             reinterpret_cast<LPARAM>(button)),
              reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
    ::ReleaseDC(button, buttonDc);

    // Without an explicit alpha the system answers.
    engine->SetOptions(1);
    const HANDLE held = ::GetPropA(label, "Kj_dxjb");
    dc = ::GetDC(label);
    const LRESULT system =
        ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_NE(reinterpret_cast<HANDLE>(system), held);
    EXPECT_EQ(::GetPropA(label, "Kj_dxjb"), held);
    EXPECT_EQ(BrushHandle::Live(), brushes);
    ::ReleaseDC(label, dc);
}

TEST_F(SkinnedWindow, TrackSizesAndSizingOfAResizableForm) {
    HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_MAXIMIZEBOX | WS_THICKFRAME));
    ASSERT_EQ(engine->AttachForm(window, SkinEngine::FormOptions{}, ByteArray()), 1);
    MINMAXINFO info{};
    ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.ptMaxTrackSize.y, ::GetSystemMetrics(SM_CYSCREEN));

    // A double click on the caption of a resizable form maximises, and again restores.
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SendMessageA(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 10));
    EXPECT_TRUE(::IsZoomed(window));
    ::SendMessageA(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 10));
    EXPECT_FALSE(::IsZoomed(window));

    HWND fixed = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_MAXIMIZEBOX));
    SkinEngine::FormOptions options;
    options.resizable = 0;
    ASSERT_EQ(engine->AttachForm(fixed, options, ByteArray()), 2);
    ::ShowWindow(fixed, SW_SHOWNORMAL);
    ::SendMessageA(fixed, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 10));
    EXPECT_FALSE(::IsZoomed(fixed));
}

TEST_F(SkinnedWindow, ReleaseOverAnotherButtonClicksThatOne) {
    HWND window = UpdaterWindow();
    const ButtonRect& minimise = engine->Form(1)->captionButtons[0].rect;
    const ButtonRect& close = engine->Form(1)->captionButtons[1].rect;
    const LPARAM overClose = MAKELPARAM(static_cast<int>(close.x) + 9, 5);
    const LPARAM overMinimise = MAKELPARAM(static_cast<int>(minimise.x) + 9, 5);
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, overClose);
    ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, overMinimise);
    ::SendMessageA(window, WM_LBUTTONUP, 0, overMinimise);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_EQ(engine->Form(1)->minimised, 1);
}

// The system's work area set for one test and put back afterwards (a
// taskbar docked somewhere, as far as the windows can tell).
class WorkArea {
public:
    explicit WorkArea(RECT area) {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
        ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    }
    ~WorkArea() { ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
    WorkArea(const WorkArea&) = delete;
    WorkArea& operator=(const WorkArea&) = delete;

private:
    RECT saved_{};
};

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Maximised, the form fills the work area of its monitor wherever the
// taskbar is docked: below, on the left (a taskbar's height would leave a
// window of no height) or on top (the form would cover it).
TEST_F(SkinnedWindow, MaximisedFormFillsTheWorkAreaOfItsMonitor) {
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT areas[] = {{0, 0, screenWidth, screenHeight - 40},
                          {60, 0, screenWidth, screenHeight},
                          {0, 30, screenWidth, screenHeight}};
    for (const RECT& area : areas) {
        WorkArea workArea(area);
        HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        const int index = engine->AttachForm(window, SkinEngine::FormOptions{}, ByteArray());
        ASSERT_GE(index, 1);
        ::ShowWindow(window, SW_SHOWNORMAL);
        engine->ClickCaptionButton(index, 2);
        RECT r{};
        ::GetWindowRect(window, &r);
        EXPECT_EQ(RectText(r), RectText(area));
        MINMAXINFO info{};
        ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMaxTrackSize.y, area.bottom - area.top);
        EXPECT_EQ(info.ptMaxPosition.x, area.left);
        EXPECT_EQ(info.ptMaxPosition.y, area.top);
        // The caption buttons follow the new width.
        FormSkin* form = engine->Form(index);
        EXPECT_EQ(form->buttonStripX, area.right - area.left - form->buttonStripWidth + 1);
        ::DestroyWindow(window);
    }
}

TEST_F(SkinnedWindow, ManyHoverFadesAndRebuildsLeaveNoObjectBehind) {
    HWND window = UpdaterWindow();
    const ButtonRect& r = engine->Form(1)->captionButtons[1].rect;
    const LPARAM over = MAKELPARAM(static_cast<int>(r.x) + 9, static_cast<int>(r.y) + 5);
    auto counters = [] {
        return std::vector<long>{MemoryDc::Live(),         BitmapHandle::Live(),         BrushHandle::Live(),
                                 PenHandle::Live(),        RegionHandle::Live(),         FontHandle::Live(),
                                 GdipGraphicsHandle::Live(), GdipPathHandle::Live(),     GdipBrushHandle::Live(),
                                 GdipPenHandle::Live(),    GdipImageHandle::Live(),      GdipFontHandle::Live(),
                                 GdipFontFamilyHandle::Live(), GdipStringFormatHandle::Live()};
    };
    const std::vector<long> before = counters();
    for (int i = 0; i < 1000; ++i) {
        ::SendMessageA(window, WM_MOUSEMOVE, 0, over);
        ::SendMessageA(window, WM_MOUSEHOVER, 0, over);
        for (int t = 0; t < kHoverSteps; ++t) ::SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
        ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        for (int t = 0; t < kHoverSteps; ++t) ::SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
    }
    for (int i = 0; i < 100; ++i) engine->RebuildBackground(1, nullptr, true);
    EXPECT_EQ(counters(), before);
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);
}

}  // namespace
