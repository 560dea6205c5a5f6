// A small program the runtime tests start as a child process: it initialises
// the runtime and then ends in the way its argument names.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "app/form_loader.h"
#include "app/main_form.h"
#include "runtime/arith.h"
#include "runtime/bytes.h"
#include "runtime/external_function.h"
#include "runtime/library_search.h"
#include "runtime/processes.h"
#include "runtime/program.h"
#include "runtime/text.h"

namespace {

DWORD WINAPI EndFromWorker(LPVOID) {
    EndProgram(7);
}

DWORD WINAPI SleepForever(LPVOID) {
    ::Sleep(INFINITE);
    return 0;
}

// probe_ordinals.dll beside the probe, named by its full path: by name alone
// the runtime looks for libraries in the system directory only.
const char* ProbeLibraryPath() {
    static const std::string path = [] {
        char self[MAX_PATH * 2] = {};
        std::string full(self, ::GetModuleFileNameA(nullptr, self, sizeof self));
        return full.substr(0, full.find_last_of('\\') + 1) + "probe_ordinals.dll";
    }();
    return path.c_str();
}

ExternalFunction<decltype(::GetTickCount)>& StayInside() {
    static ExternalFunction<decltype(::GetTickCount)> entry{ProbeLibraryPath(), "ProbeStayInside"};
    return entry;
}

DWORD WINAPI InsideTheLibrary(LPVOID) { return StayInside()(); }

DWORD WINAPI ThrowBadAlloc(LPVOID) { throw std::bad_alloc(); }

void ThrowBadAllocOnFormThread() { throw std::bad_alloc(); }

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
    const bool searchRestricted = RestrictLibrarySearchToSystem();
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
    if (std::strcmp(mode, "index-above-count") == 0) {
        TextArrayMember(TextArray{"a"}, 2);
    }
    if (std::strcmp(mode, "icon") == 0) {
        // This program carries only an icon named "DEFAULT_ICON", no icon 129.
        if (::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129))) return 4;
        return LoadProgramIcon() ? 0 : 5;
    }
    if (std::strcmp(mode, "by-ordinal") == 0) {
        // probe_ordinals.dll exports its one function as ordinal 7 only.
        static ExternalFunction<decltype(::GetTickCount)> byOrdinal{ProbeLibraryPath(), "#7"};
        return byOrdinal() == 4242 ? 0 : 5;
    }
    if (std::strcmp(mode, "library-beside-the-program") == 0) {
        static ExternalFunction<decltype(::GetTickCount)> beside{"probe_ordinals.dll", "#7"};
        beside();
    }
    if (std::strcmp(mode, "restricted-search") == 0) {
        // After the restriction even the system's own search by name passes
        // over the program's directory.
        if (!searchRestricted) return 5;
        return ::LoadLibraryA("probe_ordinals.dll") ? 6 : 0;
    }
    if (std::strcmp(mode, "missing-function") == 0) {
        static ExternalFunction<decltype(::GetTickCount)> missing{"kernel32.dll", "NoSuchExportAnywhere"};
        missing();
    }
    if (std::strcmp(mode, "missing-library") == 0) {
        static ExternalFunction<decltype(::GetTickCount)> missing{"no_such_library.dll", "Anything"};
        missing();
    }
    if (std::strcmp(mode, "end-inside-library") == 0) {
        // A worker stays inside a bound library while the program ends.
        StayInside().Bound();
        ::CreateThread(nullptr, 0, InsideTheLibrary, nullptr, 0, nullptr);
        ::Sleep(200);
        EndProgram(0);
    }
    if (std::strcmp(mode, "allocate-too-much") == 0) {
        volatile std::size_t huge = std::size_t{1} << (sizeof(void*) == 8 ? 50 : 31);
        // Kept in a volatile global, so the compiler cannot leave the allocation out.
        static char* volatile kept = nullptr;
        kept = new char[huge];
        return kept ? 6 : 8;
    }
    if (std::strcmp(mode, "bad-alloc-in-thread") == 0) {
        HANDLE thread = nullptr;
        if (!StartThread(ThrowBadAlloc, nullptr, &thread)) return 6;
        ::WaitForSingleObject(thread, INFINITE);
        return 7;
    }
    if (std::strcmp(mode, "bad-alloc-in-window-procedure") == 0) {
        FormDescription form{43, "probe form", 10, 10, 200, 100, {}, nullptr};
        HWND window = LoadForm(form, nullptr);
        PostToFormThread(window, &ThrowBadAllocOnFormThread);
        RunFormLoop(window);
        return 7;
    }
    if (std::strcmp(mode, "form-with-worker") == 0) {
        // A form whose window is closed from outside while a worker runs.
        const char* title = argc > 2 ? argv[2] : "probe form";
        FormDescription form{42, title, 10, 10, 200, 100, {}, nullptr};
        HWND window = LoadForm(form, nullptr);
        ::CreateThread(nullptr, 0, SleepForever, nullptr, 0, nullptr);
        RunFormLoop(window);
        ExitAfterCleanup(0);
    }
    return 2;
}
