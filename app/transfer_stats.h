// The progress procedure of the update's download: writes the statistics
// into the main window.
#pragma once

#include "runtime/value_types.h"

// The file name shown in the statistics (the manifest's bare name).
void SetTransferFileName(const Text& fileName);
void TransferStats(int contentLength, int position, int elapsedMs, int receivedBytes);
