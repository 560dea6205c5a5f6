#include "app/update_client.h"

#include "app/main_form.h"
#include "app/startup_prefetch.h"
#include "app/update_run.h"
#include "resources/embedded_images.h"
#include "runtime/config.h"
#include "runtime/program.h"
#include "skin/skin_engine.h"

namespace {

SkinEngine* gSkinEngine = nullptr;

constexpr COLORREF kWindowAccent = 0x51AE51;

void SkinMainWindow() {
    SkinEngine* engine = TheSkinEngine();
    if (!engine) return;
    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    engine->SetBackground(Text(), background, std::nullopt, static_cast<int>(kWindowAccent), 3);
    engine->SetOptions(1, 80);
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.captionOn = 1;
    options.resizable = 0;
    options.titleOn = 1;
    options.captionSheen = 1;
    options.backMode = 3;
    engine->AttachForm(WindowHandle(MainRef(kMainForm)), options, background);
}

}  // namespace

SkinEngine* TheSkinEngine() { return gSkinEngine; }
void SetTheSkinEngine(SkinEngine* engine) { gSkinEngine = engine; }

void LoadManifestAndDecide() {
    // The manifest has been on its way since start-up; the window, not yet
    // shown, is skinned while it comes (the skin does not depend on it).
    WaitForSkinWarmUp();
    SkinMainWindow();
    const Text manifestText = TakeManifest();
    StoreFirstManifest(manifestText);
    const UpdateManifest manifest = CutManifest(manifestText);
    StoreManifest(manifest);

    SetControlProperty(MainRef(kLabel8), kPropertyText, manifest.updateAddress);
    SetControlProperty(MainRef(kEdit2), kPropertyText, manifest.fileName);
    SetControlProperty(MainRef(kEdit6), kPropertyText, manifest.latestVersion);
    SetControlProperty(MainRef(kEdit5), kPropertyText, manifest.fullPackageAddress);
    SetControlProperty(MainRef(kEdit4), kPropertyText, manifest.latestVersion);

    const Text localVersion = ReadIniItem(ProgramDirectory() + "/config.ini", "配置", "当前版本号");
    StoreLocalVersion(localVersion);
    SetControlProperty(MainRef(kEdit1), kPropertyText, InformationText(manifest, localVersion));
    SetControlProperty(MainRef(kEdit3), kPropertyText, localVersion);

    DecideUpdate();
}
