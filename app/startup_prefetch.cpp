#include "app/startup_prefetch.h"

#include <future>

#include "app/update_run.h"
#include "gdip/font.h"
#include "resources/embedded_images.h"
#include "skin/paint/background_image.h"

namespace {

// Held for the life of the process: a future's destructor would wait for its
// thread, and the process may end without taking the result.
std::future<Text>* gManifest = nullptr;
std::future<void>* gWarmUp = nullptr;

void WarmUpSkin() {
    DecodeImagePixels(EmbeddedImageBytes(EmbeddedImage::Background));
    DecodeImagePixels(EmbeddedImageBytes(EmbeddedImage::FormClose));
    GdipFont font;
    font.CreateFontByName("宋体", 12.0f, 0, Gdiplus::UnitPixel);
}

}  // namespace

void StartManifestFetch() {
    if (!gManifest) gManifest = new std::future<Text>(std::async(std::launch::async, &FetchManifest));
}

Text TakeManifest() {
    if (!gManifest || !gManifest->valid()) return FetchManifest();
    return gManifest->get();
}

void StartSkinWarmUp() {
    if (!gWarmUp) gWarmUp = new std::future<void>(std::async(std::launch::async, &WarmUpSkin));
}

void WaitForSkinWarmUp() {
    if (gWarmUp && gWarmUp->valid()) gWarmUp->get();
}
