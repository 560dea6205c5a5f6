// Stands in for a new Norvane.exe: writes "started.txt" next to itself and
// shows a window titled "Norvane 2.0" for a while (or until closed).
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, n);
    directory = directory.substr(0, directory.find_last_of('\\'));
    HANDLE marker = ::CreateFileA((directory + "\\started.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(marker, "Norvane 2.0\r\n", 13, &written, nullptr);
        ::CloseHandle(marker);
    }
    HWND window = ::CreateWindowExA(0, "Static", "Norvane 2.0", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    300, 200, 320, 160, nullptr, nullptr, instance, nullptr);
    ::SetTimer(nullptr, 0, 15000, nullptr);
    MSG message;
    while (::IsWindow(window) && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        ::DispatchMessageA(&message);
    }
    return 0;
}
