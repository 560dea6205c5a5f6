#include "runtime/program.h"

#include <ole2.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "runtime/allocation_failure.h"
#include "runtime/arith.h"
#include "runtime/fatal.h"

namespace {

Text gProgramDirectory;
Text gProgramFileName;
HWND gMessageWindow = nullptr;
DWORD gWindowThreadId = 0;
std::atomic<bool> gShuttingDown{false};
std::mutex gCleanupLock;
std::vector<void (*)()> gCleanups;

constexpr char kMessageWindowClass[] = "UpdaterRuntimeMessageWindow";

[[noreturn]] void WindowsFatalHandler(const Text& fullText, const Text&, int) {
    ::MessageBoxA(nullptr, fullText.c_str(), "错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ::ExitProcess(static_cast<UINT>(-1));
}

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&]() -> LRESULT {
        if (message == kEndProgramMessage) {
            ExitAfterCleanup(static_cast<int>(wParam));
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    });
}

void CreateMessageWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MessageWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = kMessageWindowClass;
    ::RegisterClassA(&windowClass);
    gMessageWindow = ::CreateWindowExA(WS_EX_TOOLWINDOW, kMessageWindowClass, "", 0, 0, 0, 0, 0,
                                       nullptr, nullptr, windowClass.hInstance, nullptr);
}

void RunCleanups() {
    std::vector<void (*)()> cleanups;
    {
        std::lock_guard<std::mutex> guard(gCleanupLock);
        cleanups.swap(gCleanups);
    }
    for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) (*it)();
}

}  // namespace

void InitialiseRuntime() {
    ::OleInitialize(nullptr);
    char path[MAX_PATH * 2] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    Text full(path, length);
    size_t slash = full.find_last_of('\\');
    gProgramDirectory = slash == Text::npos ? Text() : full.substr(0, slash);
    gProgramFileName = slash == Text::npos ? full : full.substr(slash + 1);
    ::SetCurrentDirectoryA(gProgramDirectory.c_str());
    SetFatalErrorHandler(&WindowsFatalHandler);
    InstallAllocationFailureHandler();
    SetTickCountSource([]() -> std::uint32_t { return ::GetTickCount(); });
    CreateMessageWindow();
    gWindowThreadId = ::GetCurrentThreadId();
}

void RegisterExitCleanup(void (*cleanup)()) {
    std::lock_guard<std::mutex> guard(gCleanupLock);
    gCleanups.push_back(cleanup);
}

Text ProgramDirectory() { return gProgramDirectory; }
Text ProgramFileName() { return gProgramFileName; }
bool IsWindowThread() { return gWindowThreadId != 0 && ::GetCurrentThreadId() == gWindowThreadId; }
HWND MessageWindow() { return gMessageWindow; }

void ExitAfterCleanup(int exitCode) {
    if (!gShuttingDown.exchange(true)) {
        RunCleanups();
        if (gMessageWindow) {
            ::DestroyWindow(gMessageWindow);
            gMessageWindow = nullptr;
        }
        // Bound libraries stay loaded: another thread may still be inside
        // one (a download in InternetReadFile), and ending the process
        // releases them anyway.
        ::OleUninitialize();
    }
    ::ExitProcess(static_cast<UINT>(exitCode));
}

void EndProgram(int exitCode) {
    if (IsWindowThread() || !gWindowThreadId) ExitAfterCleanup(exitCode);
    HWND window = gMessageWindow;
    if (window) {
        // The window thread runs the clean-up and exits the process; if it
        // has not begun to shut down when the call returns, end here.
        ::SendMessageA(window, kEndProgramMessage, static_cast<WPARAM>(exitCode), 0);
        if (gShuttingDown.load()) {
            // The window thread is ending the process; wait for it.
            ::Sleep(INFINITE);
        }
    }
    ::ExitProcess(static_cast<UINT>(exitCode));
}
