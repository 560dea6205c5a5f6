// Windows, images and input for the skin tests: a GDI+ session for the whole
// test program, plain top-level windows to skin, a message pump, pixels of a
// form's background DC, and mouse input sent from a helper thread while the
// test thread serves its windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "runtime/gdiplus_session.h"
#include "runtime/value_types.h"
#include "skin/skin_engine.h"

namespace skintest {

// A fresh engine per test (its destructor ends the GDI+ session it found
// started), and the windows the test made, destroyed before the engine.
class SkinTest : public ::testing::Test {
protected:
    SkinTest() {
        StartGdiplus();
        engine = std::make_unique<SkinEngine>();
    }
    ~SkinTest() override {
        for (HWND window : windows) {
            if (::IsWindow(window)) ::DestroyWindow(window);
        }
        engine.reset();
    }
    HWND Keep(HWND window) {
        windows.push_back(window);
        return window;
    }
    std::unique_ptr<SkinEngine> engine;
    std::vector<HWND> windows;
};

// A popup like the updater's main window (no system frame, minimise box),
// shown at (left, top). The caller destroys it.
HWND MakeWindow(int width = 492, int height = 293, DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                int left = 100, int top = 100, const char* title = "软件更新");
HWND MakeChild(HWND parent, const char* className, int x, int y, int width, int height, const char* text = "");

// Dispatches the thread's messages for the given time.
void Pump(DWORD milliseconds);
// Dispatches messages until the condition holds (true) or the time is up (false).
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 5000);

// The updater's own skinning of its main window.
int SkinLikeTheUpdater(SkinEngine& engine, HWND window, const ByteArray& background);

// Pixel of the form's background DC; CLR_INVALID when there is none.
COLORREF BackgroundPixel(SkinEngine& engine, HWND window, int x, int y);
int Luminance(COLORREF colour);

// A PNG file image: the left part (x < split) one colour, the rest another.
ByteArray TwoColourPng(int width, int height, int split, COLORREF left, COLORREF right);

// Mouse input at screen points, sent from another thread while this one
// pumps messages until the steps have run.
struct MouseStep {
    enum Kind { Move, Down, Up } kind;
    POINT screen;
    DWORD pauseAfter;  // milliseconds
};
void RunMouse(const std::vector<MouseStep>& steps);

// Moves the one mouse pointer to a screen point (SendInput, absolute).
void MoveMouseTo(POINT screen);
// Runs every message waiting for this thread, then returns.
void DrainMessages();
// Pumps messages until the engine's first form has painted its background
// (at most five seconds); false when it did not.
bool WaitForFirstFormPainted(SkinEngine& engine);
// The centre of a window in screen coordinates.
POINT WindowCentre(HWND window);
// One leak-test round: the mouse rests on each control's centre while the
// control is repainted whole, then moves to `away`.
void HoverAndRepaint(const std::vector<HWND>& controls, POINT away);

// What a window paints for WM_PRINTCLIENT into a memory DC of its client size.
class PrintedClient {
public:
    explicit PrintedClient(HWND window);
    ~PrintedClient();
    PrintedClient(const PrintedClient&) = delete;
    PrintedClient& operator=(const PrintedClient&) = delete;
    COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_ = 0, height_ = 0;
};

// Distance of two colours: the largest difference of a channel.
int ColourDistance(COLORREF a, COLORREF b);
POINT ClientToScreenPoint(HWND window, int x, int y);

// Hover-and-repaint rounds of the control leak tests: 200 by default, which
// shows any object left behind per paint 200 times over; SKIN_LEAK_ROUNDS
// sets another count (1000 for a long run). Each round over the gallery
// costs about a quarter of a second under Wine.
int LeakRounds();

}  // namespace skintest
