#include "app/update_client.h"

// The manifest and update run are wired in by the update client.
void LoadManifestAndDecide() {}
