// Builds a form and its controls from a static description.
#pragma once

#include <windows.h>

#include <vector>

enum class ControlKind { ProgressBar, Label, Edit, MultiLineEdit, Button, Timer };

struct ControlDescription {
    const char* name;
    ControlKind kind;
    int unitId;
    int left, top, width, height;
    const char* caption;
    int timerInterval;  // timers only; 0 never fires
};

struct FormDescription {
    int formId;
    const char* title;
    int left, top, width, height;
    std::vector<ControlDescription> controls;
    void (*onCreated)();  // runs after every control exists, before the form shows
};

// Creates the form (hidden), its controls, registers them for WindowHandle,
// fires the created event, then shows the form. Returns the form window.
HWND LoadForm(const FormDescription& form, HICON icon);

// Runs `call` on the form's own thread, when its message loop gets to it.
// Returns false when the form is gone.
bool PostToFormThread(HWND form, void (*call)());

// Runs the message loop until the form's window is gone.
void RunFormLoop(HWND form);
