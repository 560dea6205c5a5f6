#include "tests/skin/skin_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/encoders.h"
#include "gdip/graphics.h"
#include "runtime/gdiplus_session.h"
#include "skin/paint/paint_primitives.h"

namespace skintest {

namespace {

constexpr char kTestWindowClass[] = "SkinTestWindow";

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WNDCLASSA cls{};
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = ::DefWindowProcA;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        cls.lpszClassName = kTestWindowClass;
        ::RegisterClassA(&cls);
    }
};

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

HWND MakeWindow(int width, int height, DWORD style, int left, int top, const char* title) {
    HWND window = ::CreateWindowExA(WS_EX_APPWINDOW, kTestWindowClass, title, style, left, top, width, height,
                                    nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    return window;
}

HWND MakeChild(HWND parent, const char* className, int x, int y, int width, int height, const char* text) {
    return ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMilliseconds) return false;
        Pump(10);
    }
    return true;
}

int SkinLikeTheUpdater(SkinEngine& engine, HWND window, const ByteArray& background) {
    engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
    engine.SetOptions(1, 80);
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.captionOn = 1;
    options.resizable = 0;
    options.titleOn = 1;
    options.captionSheen = 1;
    options.backMode = 3;
    return engine.AttachForm(window, options, background);
}

COLORREF BackgroundPixel(SkinEngine& engine, HWND window, int x, int y) {
    FormSkin* form = engine.Form(engine.FormIndexOf(window));
    if (!form || !form->backgroundDc) return CLR_INVALID;
    return ::GetPixel(form->backgroundDc.Get(), x, y);
}

int Luminance(COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; }

ByteArray TwoColourPng(int width, int height, int split, COLORREF left, COLORREF right) {
    GdipBitmap bitmap;
    bitmap.CreateBitmapFromScan0(width, height, kPixelFormat32bppArgb);
    {
        GdipGraphics graphics;
        graphics.GetImageGraphicsContext(bitmap);
        GdipSolidBrush a, b;
        a.CreateSolidFill(ToArgb(left, 255, true));
        b.CreateSolidFill(ToArgb(right, 255, true));
        graphics.FillRectangleI(a, 0, 0, split, height);
        graphics.FillRectangleI(b, split, 0, width - split, height);
    }
    return bitmap.SaveImageToStream(kImageFormatPng);
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(window, &p);
    return p;
}

void RunMouse(const std::vector<MouseStep>& steps) {
    std::atomic<bool> done{false};
    std::thread input([&] {
        const int cx = ::GetSystemMetrics(SM_CXSCREEN) - 1, cy = ::GetSystemMetrics(SM_CYSCREEN) - 1;
        for (const MouseStep& step : steps) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dx = step.screen.x * 65535 / cx;
            in.mi.dy = step.screen.y * 65535 / cy;
            in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
            if (step.kind == MouseStep::Down) in.mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
            if (step.kind == MouseStep::Up) in.mi.dwFlags |= MOUSEEVENTF_LEFTUP;
            ::SendInput(1, &in, sizeof in);
            ::Sleep(step.pauseAfter);
        }
        done = true;
    });
    while (!done) Pump(10);
    input.join();
    Pump(50);
}

PrintedClient::PrintedClient(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    HDC screen = ::GetDC(nullptr);
    dc_ = ::CreateCompatibleDC(screen);
    bitmap_ = ::CreateCompatibleBitmap(screen, width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1);
    ::ReleaseDC(nullptr, screen);
    previous_ = ::SelectObject(dc_, bitmap_);
    ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
}

PrintedClient::~PrintedClient() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
}

int ColourDistance(COLORREF a, COLORREF b) {
    const int dr = std::abs(GetRValue(a) - GetRValue(b)), dg = std::abs(GetGValue(a) - GetGValue(b)),
              db = std::abs(GetBValue(a) - GetBValue(b));
    return std::max(dr, std::max(dg, db));
}

int LeakRounds() {
    char value[32] = {};
    const DWORD n = ::GetEnvironmentVariableA("SKIN_LEAK_ROUNDS", value, sizeof value);
    const int rounds = n > 0 && n < sizeof value ? std::atoi(value) : 0;
    return rounds > 0 ? rounds : 200;
}

void MoveMouseTo(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = screen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = screen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &in, sizeof in);
}

void DrainMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

bool WaitForFirstFormPainted(SkinEngine& engine) {
    return PumpUntil([&] { return engine.Form(1) && engine.Form(1)->backgroundDc.IsValid(); });
}

POINT WindowCentre(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void HoverAndRepaint(const std::vector<HWND>& controls, POINT away) {
    for (HWND control : controls) {
        MoveMouseTo(WindowCentre(control));
        DrainMessages();
        ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
    MoveMouseTo(away);
    DrainMessages();
}

}  // namespace skintest
