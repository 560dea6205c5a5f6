// The skin of standard dialogs (class "#32770", in practice message boxes):
// a rounded region over the system frame, a layered window that fades in,
// the whole window painted from an off-screen image (caption band with icon,
// title and close button, background) and the children handed to the
// control skins.
//
// Everything here runs on the dialog's own thread, which may be a worker
// thread: the entry is found by window handle under the engine's lock and
// then used without it; no lock is held across a call that sends a message.
#pragma once

#include <windows.h>

class GdipGraphics;
class SkinState;

// The dialog's caption and close button, at 96 DPI (scaled to the dialog's).
constexpr int kDialogCaptionHeight = 25;
constexpr int kDialogCloseWidth = 36;
constexpr int kDialogCloseHeight = 22;
// The fade-in: five steps 40 ms apart to alpha 250.
constexpr int kDialogFadeSteps = 5;
constexpr int kDialogFadeAlphaStep = 50;
constexpr DWORD kDialogFadeStepMilliseconds = 40;
constexpr BYTE kDialogFinalAlpha = kDialogFadeSteps * kDialogFadeAlphaStep;

// Skins one dialog: region, entry with the dialog defaults, WS_SYSMENU,
// layered and fully transparent, children skinned, subclassed with
// DialogProc. Nothing when the dialog has an entry already.
void AttachDialogSkin(SkinState& engine, HWND dialog);
// Places the close button at the right edge of the dialog's current size.
void LayoutDialogCaption(SkinState& engine, HWND dialog);
LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The fade-in thread's procedure; the argument is the dialog's handle.
DWORD WINAPI FadeIn(void* dialog);
// HTCLOSE over the close zone, HTCLIENT below the caption, else HTCAPTION.
LRESULT DialogHitTest(SkinState& engine, HWND window, LPARAM lParam);
// Rebuilds the dialog's off-screen image and copies it to the window.
void PaintDialog(SkinState& engine, HWND window);
// One caption button; without graphics (a hover change) what lies under it
// is painted again and the button's rectangle is copied to the window.
void PaintDialogCloseButton(SkinState& engine, HWND dialog, int buttonIndex, GdipGraphics* graphics,
                            bool fullRepaint, bool hot);

// How often the close button was painted outside a whole repaint (hover
// changes), for tests that count repaints.
long DialogCloseRepaints();
