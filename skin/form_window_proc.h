// The window procedure that AttachForm installs on a skinned form. It finds
// the one engine object and hands the message to SkinEngine::FormWindowProc,
// which is implemented beside it in form_window_proc.cpp.
#pragma once

#include <windows.h>

LRESULT CALLBACK SkinnedFormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The hover fade: eight 20 ms steps, alpha 30 per step.
constexpr UINT kHoverTimerMilliseconds = 20;
constexpr int kHoverSteps = 8;
constexpr int kHoverAlphaStep = 30;
