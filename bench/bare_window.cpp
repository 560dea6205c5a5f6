// The reference for the start-up benchmark: a bare Win32 program that shows
// an unskinned popup window of the main window's size, then waits to be ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
