// The progress procedure of the update's download: writes the statistics
// into the main window.
#pragma once

#include <cstdint>

#include "runtime/value_types.h"

// The file name shown in the statistics (the manifest's bare name).
void SetTransferFileName(const Text& fileName);
void TransferStats(std::int64_t contentLength, std::int64_t position, std::int64_t elapsedMs,
                   std::int64_t receivedBytes);
