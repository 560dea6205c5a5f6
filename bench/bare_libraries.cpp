// The second reference for the start-up benchmark: the bare window program
// that imports the system libraries the updater imports (advapi32, gdi32,
// ole32, shell32, shlwapi), starts OLE as the updater does, loads and starts
// the libraries the updater binds at run time (GDI+, WinINet, the common
// controls, msimg32, CNG), each from the system directory, then shows the same
// unskinned popup window and waits to be ended.
#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

#include "bench/bare_window.h"

namespace {

// The flat GDI+ start-up, without the C++ headers of GDI+.
struct GdiplusStartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};
using GdiplusStartupFunction = int WINAPI(ULONG_PTR*, const GdiplusStartupInput*, void*);

template <typename F>
F* Bind(const char* library, const char* function) {
    HMODULE module = ::LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<F*>(reinterpret_cast<void*>(::GetProcAddress(module, function))) : nullptr;
}

bool StartLibraries() {
    auto* gdiplusStartup = Bind<GdiplusStartupFunction>("gdiplus.dll", "GdiplusStartup");
    auto* internetOpen = Bind<decltype(::InternetOpenA)>("wininet.dll", "InternetOpenA");
    auto* initCommonControls = Bind<decltype(::InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
    auto* alphaBlend = Bind<decltype(::AlphaBlend)>("msimg32.dll", "AlphaBlend");
    auto* openAlgorithm = Bind<decltype(::BCryptOpenAlgorithmProvider)>("bcrypt.dll", "BCryptOpenAlgorithmProvider");
    if (!gdiplusStartup || !internetOpen || !initCommonControls || !alphaBlend || !openAlgorithm) return false;
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    if (gdiplusStartup(&token, &input, nullptr) != 0) return false;
    if (!internetOpen("bare", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) return false;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    if (!initCommonControls(&controls)) return false;
    BCRYPT_ALG_HANDLE sha256 = nullptr;
    return openAlgorithm(&sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0;
}

}  // namespace

// Written with the address of one function of each library the updater
// imports, so that the linker keeps the import; none of them is called.
void* volatile gImportSink = nullptr;

void KeepImports() {
    gImportSink = reinterpret_cast<void*>(&::RegOpenKeyExA);
    gImportSink = reinterpret_cast<void*>(&::GetStockObject);
    gImportSink = reinterpret_cast<void*>(&::ShellExecuteExA);
    gImportSink = reinterpret_cast<void*>(&::PathFileExistsA);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    KeepImports();
    ::OleInitialize(nullptr);
    if (!StartLibraries()) return 1;
    return ShowBareWindowUntilEnded(instance);
}
