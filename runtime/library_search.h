// Where the program looks for the system libraries it loads: in the system
// directory only. The program's own directory and the current directory are
// places anyone may drop a file into (a download folder, a shared
// installation), and a library found there would run inside the program.
#pragma once

#include <windows.h>

// Makes the system directory the only place that later loads by name, and the
// libraries those import, are looked for. Call it first in WinMain, before
// anything loads a library. Returns false where the system lacks the setting
// (Windows 7 without KB2533623); only the current directory is then taken out
// of the search.
bool RestrictLibrarySearchToSystem();

// Loads a library by name from the system directory alone; a name that is an
// absolute path (drive or UNC) is loaded from that path. nullptr on failure,
// with GetLastError set.
HMODULE LoadSystemLibrary(const char* name);
