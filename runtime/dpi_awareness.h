// The process's display-scale awareness. The application manifest declares
// per-monitor awareness; where it was not applied (an older system, a host
// that ignores manifests), the program asks for it at run time, newest call
// first, and reports what it got.
#pragma once

#include <vector>

#include "runtime/value_types.h"

struct DpiAwarenessReport {
    // "per-monitor v2", "per-monitor", "system" or "unaware".
    Text awareness;
    // "manifest" when it was in place at start, else the call that set it
    // (empty when none did).
    Text source;
    // The calls the system refused, each with its error.
    std::vector<Text> refused;
};

// Leaves a per-monitor awareness in place; otherwise asks for per-monitor v2,
// per-monitor, then system awareness with the calls the system has. Call it
// before the first window is made.
DpiAwarenessReport MakeProcessDpiAware();
// The awareness of the calling thread, as DpiAwarenessReport::awareness.
Text CurrentDpiAwareness();
