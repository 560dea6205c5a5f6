// A small program the runtime tests start as a child process: it initialises
// the runtime and then ends in the way its argument names.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/form_loader.h"
#include "runtime/arith.h"
#include "runtime/bytes.h"
#include "runtime/program.h"

namespace {

DWORD WINAPI EndFromWorker(LPVOID) {
    EndProgram(7);
}

DWORD WINAPI SleepForever(LPVOID) {
    ::Sleep(INFINITE);
    return 0;
}

char gStartDirectory[MAX_PATH];

// Proves the exit clean-up ran: a marker in the directory the probe started in
// (the runtime moves the current directory to the program directory).
void CleanupWritesMarker() {
    std::string marker = std::string(gStartDirectory) + "\\cleanup-ran.txt";
    HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    ::GetCurrentDirectoryA(MAX_PATH, gStartDirectory);
    InitialiseRuntime();
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "end-from-worker") == 0) {
        RegisterExitCleanup(&CleanupWritesMarker);
        ::CreateThread(nullptr, 0, EndFromWorker, nullptr, 0, nullptr);
        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
        return 3;  // never reached when the worker's end goes through this thread
    }
    if (std::strcmp(mode, "divide-by-zero") == 0) {
        volatile double zero = 0;
        IntDivide(1, zero);
    }
    if (std::strcmp(mode, "remainder-by-zero") == 0) {
        volatile double zero = 0;
        Remainder(1, zero);
    }
    if (std::strcmp(mode, "bad-type") == 0) {
        ReadBytesValue(ByteArray{1, 2}, 11);
    }
    if (std::strcmp(mode, "form-with-worker") == 0) {
        // A form whose window is closed from outside while a worker runs.
        FormDescription form{42, "probe form", 10, 10, 200, 100, {}, nullptr};
        HWND window = LoadForm(form, nullptr);
        ::CreateThread(nullptr, 0, SleepForever, nullptr, 0, nullptr);
        RunFormLoop(window);
        ExitAfterCleanup(0);
    }
    return 2;
}
