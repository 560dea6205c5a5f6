#include "runtime/dpi_awareness.h"

#include <windows.h>

#include <string>

#include "runtime/library_search.h"

namespace {

// The declarations of the newer calls, looked up by name: older systems lack them.
using DpiContext = HANDLE;
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
const DpiContext kPerMonitor = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-3));
const DpiContext kSystemAware = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-2));
using SetContextFn = BOOL(WINAPI*)(DpiContext);
using GetThreadContextFn = DpiContext(WINAPI*)();
using ContextsEqualFn = BOOL(WINAPI*)(DpiContext, DpiContext);
using AwarenessFromContextFn = int(WINAPI*)(DpiContext);
using SetProcessAwarenessFn = HRESULT(WINAPI*)(int);
using GetProcessAwarenessFn = HRESULT(WINAPI*)(HANDLE, int*);
using SetDpiAwareFn = BOOL(WINAPI*)();
using IsDpiAwareFn = BOOL(WINAPI*)();

template <typename F>
F User32(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

template <typename F>
F Shcore(const char* name) {
    static HMODULE shcore = LoadSystemLibrary("shcore.dll");
    return shcore ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(shcore, name))) : nullptr;
}

Text Refusal(const char* call, unsigned long error) {
    return Text(call) + ": error " + std::to_string(error).c_str();
}

}  // namespace

Text CurrentDpiAwareness() {
    auto getThreadContext = User32<GetThreadContextFn>("GetThreadDpiAwarenessContext");
    auto equal = User32<ContextsEqualFn>("AreDpiAwarenessContextsEqual");
    auto awarenessOf = User32<AwarenessFromContextFn>("GetAwarenessFromDpiAwarenessContext");
    if (getThreadContext && awarenessOf) {
        const DpiContext context = getThreadContext();
        if (equal && equal(context, kPerMonitorV2)) return "per-monitor v2";
        switch (awarenessOf(context)) {
            case 2: return "per-monitor";
            case 1: return "system";
            default: return "unaware";
        }
    }
    if (auto getProcess = Shcore<GetProcessAwarenessFn>("GetProcessDpiAwareness")) {
        int value = 0;
        if (SUCCEEDED(getProcess(nullptr, &value))) return value == 2 ? "per-monitor" : value == 1 ? "system" : "unaware";
    }
    if (auto isAware = User32<IsDpiAwareFn>("IsProcessDPIAware")) return isAware() ? "system" : "unaware";
    return "unaware";
}

DpiAwarenessReport MakeProcessDpiAware() {
    DpiAwarenessReport report;
    report.awareness = CurrentDpiAwareness();
    if (report.awareness == "per-monitor v2" || report.awareness == "per-monitor") {
        report.source = "manifest";
        return report;
    }
    auto setAwareness = [&](const char* name, bool granted, unsigned long error) {
        if (granted) {
            report.source = name;
            report.awareness = CurrentDpiAwareness();
        } else {
            report.refused.push_back(Refusal(name, error));
        }
        return granted;
    };
    if (auto setContext = User32<SetContextFn>("SetProcessDpiAwarenessContext")) {
        if (setAwareness("SetProcessDpiAwarenessContext(per-monitor v2)", setContext(kPerMonitorV2), ::GetLastError()))
            return report;
        if (setAwareness("SetProcessDpiAwarenessContext(per-monitor)", setContext(kPerMonitor), ::GetLastError()))
            return report;
        if (setAwareness("SetProcessDpiAwarenessContext(system)", setContext(kSystemAware), ::GetLastError()))
            return report;
    }
    if (auto setProcess = Shcore<SetProcessAwarenessFn>("SetProcessDpiAwareness")) {
        const HRESULT result = setProcess(2);
        if (setAwareness("SetProcessDpiAwareness(per-monitor)", SUCCEEDED(result), static_cast<unsigned long>(result)))
            return report;
    }
    if (auto setAware = User32<SetDpiAwareFn>("SetProcessDPIAware")) {
        setAwareness("SetProcessDPIAware", setAware() != FALSE, ::GetLastError());
    }
    return report;
}
