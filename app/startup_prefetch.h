// Start-up work that the window thread would otherwise wait for: the first
// decoding of the window's background image (with the first use of the image
// codecs and of the font system). It runs on a worker thread while the window
// thread makes the main window and its controls; the window thread waits for
// it where it used to do the work itself. The manifest is fetched on the
// window thread, as before: fetched on a worker from process start, the
// end-to-end runs now and then showed the server-failure box.
#pragma once

#include "runtime/value_types.h"

// Decodes the window's background image and the caption glyphs and makes
// the title font once, on a worker thread, so that later uses find the
// codecs loaded, the fonts enumerated and the background decoded. GDI+ must
// be started; the window thread uses no GDI+ until WaitForSkinWarmUp.
void StartSkinWarmUp();
void WaitForSkinWarmUp();
