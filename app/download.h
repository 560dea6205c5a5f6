// Copying a URL into a local file in 10,240-byte chunks, resuming a partial
// file with an open-ended byte range.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

// Called after every chunk: content length of this response (0 when none),
// position in the file, elapsed ms (never 0), bytes received in this call.
using ProgressProcedure = void (*)(int contentLength, int position, int elapsedMs, int receivedBytes);

// 0 when the transfer ended normally, -1 after an error message. With a start
// offset the file is resumed; without, it is created or truncated.
int RangedDownload(const Text& url, const Text& localPath, ProgressProcedure progress,
                   std::optional<std::int64_t> startOffset = std::nullopt);

// The request header block, with the range line when resuming.
Text DownloadRequestHeaders(std::optional<std::int64_t> startOffset);
