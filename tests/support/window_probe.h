// Helpers for Windows tests that drive other processes and their windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

// Directory of the running test program (helpers are built beside it).
std::string BinDirectory();

struct Child {
    HANDLE process = nullptr;
    DWORD id = 0;
    ~Child();
    // Waits for the end; returns the exit code or STILL_ACTIVE on timeout.
    DWORD Wait(DWORD milliseconds);
};

// Starts a program (command line) in the given directory (empty: current).
bool Start(Child& child, const std::string& commandLine, const std::string& directory = "");

// Waits for a top-level window of the process with the class and title
// (either may be empty to match any); nullptr on timeout.
HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& title,
                   DWORD milliseconds);

// Waits for a message box (#32770) of the process with the caption that is
// shown, so its texts and buttons exist; nullptr on timeout.
HWND WaitForMessageBox(DWORD processId, const std::string& caption, DWORD milliseconds);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// Texts of a message box's Static controls that are not icons.
std::string MessageBoxText(HWND box);
// Presses a dialog button by id (BM_CLICK posted to it, or WM_COMMAND).
bool PressButton(HWND box, int id);

}  // namespace probe
