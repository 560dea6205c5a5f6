// The unskinned popup window of the main window's size that the start-up
// benchmark's reference programs show, with the loop that keeps it until the
// program is ended.
#pragma once

#include <windows.h>

inline int ShowBareWindowUntilEnded(HINSTANCE instance) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = ::DefWindowProcA;
    cls.hInstance = instance;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = "BareWindow";
    ::RegisterClassA(&cls);
    HWND window = ::CreateWindowExA(WS_EX_APPWINDOW, "BareWindow", "bare", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                                    50, 50, 492, 293, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    return 0;
}
