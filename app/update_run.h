// The update decision and the two update threads.
#pragma once

#include <windows.h>

#include "app/manifest_core.h"

// Runs on the UI thread after the manifest was shown: ends the program,
// leaves the window idle, or starts one update thread.
void DecideUpdate();

DWORD WINAPI UpdateMainExecutable(LPVOID);
DWORD WINAPI UpdateFullInstaller(LPVOID);

// The update client's shared state, reached under one lock.
UpdateManifest ManifestSnapshot();
void StoreManifest(const UpdateManifest& manifest);
// The manifest text the window was filled from (verified in a signed build):
// the update thread's second fetch must repeat it byte for byte.
Text FirstManifest();
void StoreFirstManifest(const Text& manifest);
Text LocalVersion();
void StoreLocalVersion(const Text& version);
void ReleaseUpdateState();
// True while an update thread started by DecideUpdate has not ended.
bool UpdateThreadRunning();

// Manifest fetch: "http://" + UpdateHost() + "/GX.txt", the body as text.
Text FetchManifest();
