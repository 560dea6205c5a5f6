#include "runtime/processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

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

namespace {

std::wstring Widened(const Text& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    }
    return wide;
}

// Absolute, with "\\" separators, ".." resolved and short (8.3) names
// expanded where the file exists, so that one file has one spelling.
std::wstring NormalisedPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    std::wstring expanded(full.size() + MAX_PATH, L'\0');
    length = ::GetLongPathNameW(full.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (length == 0 || length >= expanded.size()) return full;
    expanded.resize(length);
    return expanded;
}

// The program file of a process; empty when it cannot be asked.
std::wstring ImagePathOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &size)) return std::wstring();
    path.resize(size);
    return path;
}

}  // namespace

ProcessStopReport StopProcessesByImagePath(const Text& imagePath, DWORD waitMilliseconds) {
    ProcessStopReport report;
    if (imagePath.empty()) return report;
    const std::wstring target = NormalisedPath(Widened(imagePath));
    std::vector<KernelHandle> stopping;
    {
        FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return report;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        const DWORD self = ::GetCurrentProcessId();
        for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
             more = ::Process32Next(snapshot.Get(), &entry)) {
            if (entry.th32ProcessID == 0 || entry.th32ProcessID == self) continue;
            KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE,
                                               FALSE, entry.th32ProcessID));
            bool mayStop = static_cast<bool>(process);
            // Without the right to end it (another user's, an elevated one)
            // it is still counted when it runs from that file.
            if (!process) process.Reset(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
            if (!process) continue;
            const std::wstring image = ImagePathOf(process.Get());
            if (image.empty() || ::CompareStringOrdinal(NormalisedPath(image).c_str(), -1, target.c_str(), -1, TRUE) !=
                                     CSTR_EQUAL) {
                continue;
            }
            ++report.found;
            if (mayStop && ::TerminateProcess(process.Get(), 0)) {
                stopping.push_back(std::move(process));
            } else {
                ++report.stillRunning;
            }
        }
    }
    // Terminating only starts the end; the program's file is in use until the
    // process is gone.
    const DWORD start = ::GetTickCount();
    for (const KernelHandle& process : stopping) {
        const DWORD spent = ::GetTickCount() - start;
        const DWORD left = spent < waitMilliseconds ? waitMilliseconds - spent : 0;
        if (::WaitForSingleObject(process.Get(), left) != WAIT_OBJECT_0) ++report.stillRunning;
    }
    return report;
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
