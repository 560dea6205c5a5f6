// Empties the updater's working set whenever the application loses
// activation, on a short thread of its own.
#pragma once

#include <windows.h>

// The thread procedure: empties the process's working set. Runs that
// overlap are kept apart: a second one waits for the first.
DWORD WINAPI WorkingSetTrimmer(void* unused);

// Starts one trimmer thread (the deactivation handler of the main window).
void StartWorkingSetTrimmer();

// Completed runs since the process started.
long WorkingSetTrims();
