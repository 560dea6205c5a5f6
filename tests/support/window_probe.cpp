#include "tests/support/window_probe.h"

namespace probe {

std::string BinDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

Child::~Child() {
    if (process) {
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 99);
        ::CloseHandle(process);
    }
}

DWORD Child::Wait(DWORD milliseconds) {
    if (::WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}

bool Start(Child& child, const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    child.process = info.hProcess;
    child.id = info.dwProcessId;
    return true;
}

namespace {
struct Search {
    DWORD processId;
    const std::string* className;
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (search->processId && owner != search->processId) return TRUE;
    if (!search->className->empty() && ClassOf(window) != *search->className) return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    auto* text = reinterpret_cast<std::string*>(lParam);
    if (ClassOf(child) == "Static" && !(::GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
        std::string part = WindowText(child);
        if (!part.empty()) *text += part;
    }
    return TRUE;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& title,
                   DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    do {
        Search search{processId, &className, &title, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(50);
    } while (::GetTickCount() - start < milliseconds);
    return nullptr;
}

HWND WaitForMessageBox(DWORD processId, const std::string& caption, DWORD milliseconds) {
    // A dialog is found as soon as it exists, before its controls are made;
    // it becomes visible only after its initialisation.
    DWORD start = ::GetTickCount();
    HWND box = WaitForWindow(processId, "#32770", caption, milliseconds);
    while (box && !::IsWindowVisible(box)) {
        if (::GetTickCount() - start >= milliseconds || !::IsWindow(box)) return nullptr;
        ::Sleep(20);
    }
    return box;
}

std::string WindowText(HWND window) {
    char buffer[4096] = {};
    int n = ::GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string ClassOf(HWND window) {
    char buffer[256] = {};
    int n = ::GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    ::EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool PressButton(HWND box, int id) {
    HWND button = ::GetDlgItem(box, id);
    if (!button) return false;
    return ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

}  // namespace probe
