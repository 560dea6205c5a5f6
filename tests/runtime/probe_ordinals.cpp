// A library whose one function is exported by ordinal only (see the .def),
// and one that keeps its caller inside the library.
#include <windows.h>

// Exit code of a process whose copy of this library was unloaded while the
// process still ran (FreeLibrary), not by the process ending.
constexpr UINT kUnloadedWhileRunning = 9;

extern "C" DWORD WINAPI ProbeAnswer() { return 4242; }

extern "C" DWORD WINAPI ProbeStayInside() {
    ::Sleep(INFINITE);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // reserved is null when FreeLibrary unloads, non-null at process end.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        ::TerminateProcess(::GetCurrentProcess(), kUnloadedWhileRunning);
    }
    return TRUE;
}
