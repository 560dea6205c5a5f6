// Start-up: library search, runtime, skin engine, GDI+, icon, skin settings,
// main window, message loop.
#include <windows.h>

#include <memory>
#include <utility>

#include "app/form_loader.h"
#include "app/main_form.h"
#include "app/startup_prefetch.h"
#include "app/update_client.h"
#include "app/update_run.h"
#include "app/working_set_trimmer.h"
#include "app/update_log.h"
#include "runtime/comctl32_api.h"
#include "runtime/dpi_awareness.h"
#include "runtime/gdiplus_session.h"
#include "runtime/library_search.h"
#include "runtime/msimg32_api.h"
#include "runtime/program.h"
#include "skin/skin_engine.h"

namespace {

std::unique_ptr<SkinEngine> gSkinEngine;

void ExitCleanup() {
    ReleaseUpdateState();
    // The warm-up thread decodes with GDI+: it ends before GDI+ may.
    WaitForSkinWarmUp();
    // An update thread still running (the window closed during a download)
    // may be painting a box: the engine and GDI+ then stay until the
    // process ends. Otherwise the engine's destructor destroys the icon and
    // shuts GDI+ down.
    const bool workerRunning = UpdateThreadRunning();
    if (!workerRunning) SetTheSkinEngine(nullptr);
    ReleaseSkinEngineAtExit(std::move(gSkinEngine), workerRunning);
}

// The manifest's awareness was not in place: what the program got instead.
void LogDpiAwareness(const DpiAwarenessReport& report) {
    Text line = "display scale: " + report.awareness + " aware";
    line += report.source.empty() ? Text(", no call granted") : ", by " + report.source;
    for (const Text& refused : report.refused) line += "; refused " + refused;
    LogEvent(line);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before any library is loaded: none may come from beside the program.
    RestrictLibrarySearchToSystem();
    // comctl32 and msimg32 are loaded now, from the system directory, so that
    // a load by name the system makes on its own finds them loaded (Wine's
    // theming asks for msimg32 with a search that ignores the restriction).
    pInitCommonControlsEx.Bound();
    pAlphaBlend.Bound();
    InitialiseRuntime();
    // Before the first window: windows take the awareness they are made with.
    const DpiAwarenessReport dpi = MakeProcessDpiAware();
    if (dpi.source != "manifest") LogDpiAwareness(dpi);
    // The manifest is on its way while the window is made.
    StartManifestFetch();
    gSkinEngine = std::make_unique<SkinEngine>();
    SetTheSkinEngine(gSkinEngine.get());
    RegisterExitCleanup(&ExitCleanup);
    StartGdiplus();
    StartSkinWarmUp();
    gSkinEngine->SetAppIcon(LoadProgramIcon());
    gSkinEngine->SetDeactivationHandler(&StartWorkingSetTrimmer);
    gSkinEngine->WithSettings([](SkinSettings& s) {
        s.initialSizePending = 1;
        s.skinControls = 1;
        s.controlBackAlpha = 160;
        s.accentColour = 0x00DDCA22;
        s.trackOption = 1;
    });
    HWND mainWindow = LoadMainForm(gSkinEngine->AppIcon(), &LoadManifestAndDecide);
    RunFormLoop(mainWindow);
    ExitAfterCleanup(0);
}
