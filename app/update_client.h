// The update client's entry from the main window.
#pragma once

class SkinEngine;

// The skin engine object created at start-up (null before and after).
SkinEngine* TheSkinEngine();
void SetTheSkinEngine(SkinEngine* engine);

// The main window's created handler: fetches the manifest, fills the window
// and decides whether and how to update.
void LoadManifestAndDecide();
