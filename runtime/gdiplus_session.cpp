#include "runtime/gdiplus_session.h"

#include <atomic>

#include "runtime/external_function.h"

namespace {

struct StartupInput {
    UINT32 gdiplusVersion;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};

typedef int(WINAPI GdiplusStartupFunction)(ULONG_PTR*, const StartupInput*, void*);
typedef void(WINAPI GdiplusShutdownFunction)(ULONG_PTR);

ExternalFunction<GdiplusStartupFunction> pGdiplusStartup{"gdiplus.dll", "GdiplusStartup"};
ExternalFunction<GdiplusShutdownFunction> pGdiplusShutdown{"gdiplus.dll", "GdiplusShutdown"};

std::atomic<ULONG_PTR> gDefaultToken{0};
std::atomic<bool> gKeptUntilProcessEnds{false};

}  // namespace

ULONG_PTR StartGdiplus(UINT32 version) {
    StartupInput input{version, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    pGdiplusStartup(&token, &input, nullptr);
    gDefaultToken.store(token);
    return token;
}

void StopGdiplus() {
    if (gKeptUntilProcessEnds.load()) return;
    StopGdiplus(gDefaultToken.exchange(0));
}

void StopGdiplus(ULONG_PTR token) {
    if (token != 0 && !gKeptUntilProcessEnds.load()) pGdiplusShutdown(token);
}

void KeepGdiplusUntilProcessEnds() { gKeptUntilProcessEnds.store(true); }

ULONG_PTR DefaultGdiplusToken() { return gDefaultToken.load(); }
