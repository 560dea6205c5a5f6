// The reference for the start-up benchmark: a bare Win32 program that shows
// an unskinned popup window of the main window's size, then waits to be ended.
#include "bench/bare_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return ShowBareWindowUntilEnded(instance); }
