#include "skin/model/display_scale.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Windows 10 (1607) and later; looked up once, since older systems lack it.
GetDpiForWindowFn DpiForWindowCall() {
    static const GetDpiForWindowFn call = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return call;
}

int DeviceDpi(HWND window) {
    HDC dc = ::GetDC(window);
    if (!dc) return DisplayScale::kBaseDpi;
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : DisplayScale::kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    if (window && DpiForWindowCall()) {
        const UINT dpi = DpiForWindowCall()(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return DeviceDpi(window);
}

int SystemDpi() { return DeviceDpi(nullptr); }
