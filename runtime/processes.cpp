#include "runtime/processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <memory>

#include "runtime/allocation_failure.h"
#include "runtime/win_handles.h"

namespace {

DWORD FindProcessByExeName(const Text& name) {
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
         more = ::Process32Next(snapshot.Get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, name.c_str()) == 0) return entry.th32ProcessID;
    }
    return 0;
}

}  // namespace

bool RunProgram(const Text& commandLine, bool wait, int showMode) {
    static const WORD kShow[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                 SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
    showMode = std::clamp(showMode, 1, 6);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = kShow[showMode - 1];
    PROCESS_INFORMATION info{};
    Text mutableLine = commandLine;  // CreateProcessA may write into it
    if (!::CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return false;
    }
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    if (wait) {
        ::WaitForSingleObject(process.Get(), INFINITE);
    } else {
        ::WaitForInputIdle(process.Get(), 1000);
    }
    return true;
}

namespace {

struct ThreadStart {
    ThreadEntry entry;
    LPVOID parameter;
};

// Every thread of the program starts here: an allocation failure inside it
// ends in the fatal error instead of escaping the thread.
DWORD WINAPI GuardedThreadEntry(LPVOID rawStart) {
    return StopAllocationFailure([rawStart]() -> DWORD {
        const ThreadStart start = *std::unique_ptr<ThreadStart>(static_cast<ThreadStart*>(rawStart));
        return start.entry(start.parameter);
    });
}

}  // namespace

bool StartThread(ThreadEntry entry, LPVOID parameter, HANDLE* threadHandle) {
    auto start = std::make_unique<ThreadStart>(ThreadStart{entry, parameter});
    KernelHandle thread(::CreateThread(nullptr, 0, GuardedThreadEntry, start.get(), 0, nullptr));
    if (!thread) return false;
    start.release();  // the new thread owns it now
    if (threadHandle) *threadHandle = thread.Release();
    return true;
}

bool TerminateProcessById(DWORD processId) {
    if (processId == 0) return false;
    KernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    return process && ::TerminateProcess(process.Get(), 0);
}

bool TerminateProcessByName(const Text& name) {
    if (name.empty()) return false;
    DWORD processId = 0;
    if (HWND window = ::FindWindowA(nullptr, name.c_str())) {
        ::GetWindowThreadProcessId(window, &processId);
    }
    if (!processId) processId = FindProcessByExeName(name);
    return TerminateProcessById(processId);
}

bool ProcessExists(const Text& exeName) {
    return !exeName.empty() && FindProcessByExeName(exeName) != 0;
}

void ProcessPendingEvents() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT) return;
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}
