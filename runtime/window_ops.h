// Forms and controls by reference, the message box, screen and time queries.
#pragma once

#include <windows.h>

#include "runtime/value_types.h"

// A form id and a unit id; a unit id whose top four bits are zero names the
// form itself, any other names one of its controls.
struct WindowRef {
    int formId;
    int unitId;
};

constexpr bool NamesForm(const WindowRef& ref) { return (static_cast<unsigned>(ref.unitId) >> 28) == 0; }

// Private message that destroys a form when its message loop reaches it.
constexpr UINT kDestroyFormMessage = WM_APP + 0x65;

// Property numbers of GetControlProperty / SetControlProperty.
constexpr int kPropertyText = 8;
constexpr int kPropertyPosition = 13;

// The form loader registers every window it creates.
void RegisterWindow(const WindowRef& ref, HWND window);
void ForgetForm(int formId);

HWND WindowHandle(const WindowRef& ref);  // nullptr when not loaded
void DestroyForm(const WindowRef& form);
Text GetControlProperty(const WindowRef& ref, int property);
// A window's whole text (GetWindowTextA), "" for none.
Text WindowText(HWND window);
void SetControlProperty(const WindowRef& ref, int property, const Text& value);
void SetControlProperty(const WindowRef& ref, int property, int value);

// Style as for MessageBoxA; task-modal unless system-modal; no owner.
// Results from 0: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
int ShowMessage(const Text& content, int style, const Text& caption = "信息：");
int MessageBoxResult(int buttonId);

int ScreenWidth();
int ScreenHeight();
int DefaultBackColor();
int OsKind();  // 1 Win32s, 2 Windows 9x, 3 NT family, 0 other
DateTime Now();
// TickCount() comes from runtime/arith.h (GetTickCount once the runtime is up).
