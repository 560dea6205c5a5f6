#include "runtime/window_ops.h"

#include <commctrl.h>

#include <cmath>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct WindowRegistry {
    std::mutex lock;
    std::map<std::pair<int, int>, HWND> windows;
};

WindowRegistry& Registry() {
    static WindowRegistry* registry = new WindowRegistry;
    return *registry;
}

std::pair<int, int> Key(const WindowRef& ref) {
    return {ref.formId, NamesForm(ref) ? 0 : ref.unitId};
}

bool IsProgressBar(HWND window) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    return ::lstrcmpiA(className, PROGRESS_CLASSA) == 0;
}

}  // namespace

void RegisterWindow(const WindowRef& ref, HWND window) {
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.windows[Key(ref)] = window;
}

void ForgetForm(int formId) {
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto it = registry.windows.begin(); it != registry.windows.end();) {
        it = it->first.first == formId ? registry.windows.erase(it) : std::next(it);
    }
}

HWND WindowHandle(const WindowRef& ref) {
    WindowRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.windows.find(Key(ref));
    if (found == registry.windows.end() || !::IsWindow(found->second)) return nullptr;
    return found->second;
}

void DestroyForm(const WindowRef& form) {
    if (HWND window = WindowHandle({form.formId, 0})) {
        ::PostMessageA(window, kDestroyFormMessage, 0, 0);
    }
}

Text WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) return Text();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(window, buffer.data(), length + 1);
    return Text(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

Text GetControlProperty(const WindowRef& ref, int property) {
    HWND window = WindowHandle(ref);
    if (!window || property != kPropertyText) return Text();
    return WindowText(window);
}

void SetControlProperty(const WindowRef& ref, int property, const Text& value) {
    HWND window = WindowHandle(ref);
    if (window && property == kPropertyText) ::SetWindowTextA(window, value.c_str());
}

void SetControlProperty(const WindowRef& ref, int property, int value) {
    HWND window = WindowHandle(ref);
    if (!window) return;
    if (property == kPropertyPosition && IsProgressBar(window)) {
        ::SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    } else if (property == kPropertyText) {
        ::SetWindowTextA(window, std::to_string(value).c_str());
    }
}

int MessageBoxResult(int buttonId) {
    switch (buttonId) {
        case IDOK: return 0;
        case IDCANCEL: return 1;
        case IDABORT: return 2;
        case IDRETRY: return 3;
        case IDIGNORE: return 4;
        case IDYES: return 5;
        case IDNO: return 6;
        default: return 0;
    }
}

int ShowMessage(const Text& content, int style, const Text& caption) {
    UINT flags = static_cast<UINT>(style);
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    return MessageBoxResult(::MessageBoxA(nullptr, content.c_str(), caption.c_str(), flags));
}

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }
int DefaultBackColor() { return static_cast<int>(::GetSysColor(COLOR_BTNFACE)); }

int OsKind() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&version)) return 0;
#pragma GCC diagnostic pop
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32s: return 1;
        case VER_PLATFORM_WIN32_WINDOWS: return 2;
        case VER_PLATFORM_WIN32_NT: return 3;
        default: return 0;
    }
}

DateTime Now() {
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    local.wMilliseconds = 0;
    FILETIME fileTime;
    ::SystemTimeToFileTime(&local, &fileTime);
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    // 100 ns ticks since 1601-01-01; 1899-12-30 is 109205 days later.
    double days = static_cast<double>(ticks.QuadPart / 10000000ULL) / 86400.0 - 109205.0;
    return DateTime{days};
}
