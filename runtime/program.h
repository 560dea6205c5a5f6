// The program's start and end: runtime initialisation on the window thread,
// the program directory, the orderly end (also from worker threads) and the
// fatal-error box.
#pragma once

#include <windows.h>

#include "runtime/value_types.h"

// Private message that asks the window thread to end the program (wParam = code).
constexpr UINT kEndProgramMessage = WM_APP + 0x3E7;

// Runs once on the thread that becomes the window thread: OLE, program
// directory and current directory, the hidden message window, the Windows
// fatal-error handler.
void InitialiseRuntime();

// Registers a function the orderly end runs before the process exits
// (the program's exit clean-up). Later registrations run first.
void RegisterExitCleanup(void (*cleanup)());

// Directory of the program file, without a trailing separator.
Text ProgramDirectory();
Text ProgramFileName();

bool IsWindowThread();
HWND MessageWindow();

// Ends the program with the code. From a worker thread the window thread does
// the clean-up (through the hidden message window); the caller never returns.
[[noreturn]] void EndProgram(int exitCode);

// Runs the exit clean-up once and ends the process; used by the message loop
// when the main window is gone and by EndProgram on the window thread.
[[noreturn]] void ExitAfterCleanup(int exitCode);
