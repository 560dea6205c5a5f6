// GDI+ start-up and shutdown for the process.
#pragma once

#include <windows.h>

// GdiplusStartup with {version (1 unless given), no debug callback, background
// thread and external codecs not suppressed}; the token is also kept as the
// default token. A failed start is not checked: the token is kept as returned.
ULONG_PTR StartGdiplus(UINT32 version = 1);
// Without a token: takes the default token and clears it. A zero token does
// nothing; nor does any call once GDI+ is kept until the process ends.
void StopGdiplus();
void StopGdiplus(ULONG_PTR token);
ULONG_PTR DefaultGdiplusToken();
// From now on GDI+ is never shut down: another thread may still paint with
// it while the process ends, which releases it.
void KeepGdiplusUntilProcessEnds();
