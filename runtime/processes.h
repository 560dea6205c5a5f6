// Programs, threads, processes and the calling thread's message queue.
#pragma once

#include <windows.h>

#include "runtime/value_types.h"

// Show modes 1-6 (clamped; 2 when left out): hide, normal, minimised,
// maximised, no-activate, minimise.
bool RunProgram(const Text& commandLine, bool wait, int showMode = 2);

using ThreadEntry = DWORD(WINAPI*)(LPVOID);
// true if the thread was created; the handle goes to *threadHandle when given,
// otherwise it is closed at once.
bool StartThread(ThreadEntry entry, LPVOID parameter = nullptr, HANDLE* threadHandle = nullptr);

// A window title first, then a case-insensitive match of the executable name
// in a process snapshot. Terminates with exit code 0.
bool TerminateProcessByName(const Text& name);
bool TerminateProcessById(DWORD processId);

struct ProcessStopReport {
    int found = 0;         // processes running from that file
    int stillRunning = 0;  // of those, still running when the wait ran out
};
// Terminates (exit code 0) every process whose program file is `imagePath`,
// compared as full paths without regard to case, and waits up to
// `waitMilliseconds` for them to end. Names, other directories and window
// titles never match; this process is left alone.
ProcessStopReport StopProcessesByImagePath(const Text& imagePath, DWORD waitMilliseconds);
// Whether a process with this executable name (case-insensitive) runs.
bool ProcessExists(const Text& exeName);

// Dispatches queued messages of this thread until the queue is empty or the
// next one is WM_QUIT, which stays queued.
void ProcessPendingEvents();
