// Start-up work that the window thread would otherwise wait for in a row:
// the manifest fetch, and the first decoding of the window's background
// image (with the first use of the image codecs and of the font system).
// Both run on worker threads while the window thread makes the main window
// and its controls; the window thread takes their results where it used to
// do the work itself, so what happens, and in which order it is seen, stays
// the same.
#pragma once

#include "runtime/value_types.h"

// Starts fetching the manifest (FetchManifest) on a worker thread.
void StartManifestFetch();
// The manifest text: the started fetch's result, waited for; without a
// started fetch, fetched now.
Text TakeManifest();

// Decodes the window's background image and the caption glyphs and makes
// the title font once, on a worker thread, so that later uses find the
// codecs loaded, the fonts enumerated and the background decoded. GDI+ must
// be started; the window thread uses no GDI+ until WaitForSkinWarmUp.
void StartSkinWarmUp();
void WaitForSkinWarmUp();
