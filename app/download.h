// Copying a URL into a local file in 10,240-byte chunks, resuming a partial
// file with an open-ended byte range. The file written is always the decoded
// file, and a partial file is continued only while the server still serves
// the file it came from.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

// Called after every chunk: content length of this response (0 when unknown:
// none sent, or the body is encoded), position in the file, elapsed ms (never
// 0), bytes of the file received in this call.
using ProgressProcedure = void (*)(std::int64_t contentLength, std::int64_t position, std::int64_t elapsedMs,
                                   std::int64_t receivedBytes);

// 0 when the transfer ended normally, -1 after an error message. With a start
// offset the file is resumed; without, it is created or truncated.
int RangedDownload(const Text& url, const Text& localPath, ProgressProcedure progress,
                   std::optional<std::int64_t> startOffset = std::nullopt);

// The request header block, with the range line when resuming.
Text DownloadRequestHeaders(std::optional<std::int64_t> startOffset);

// The file beside a partial download that records what the server served
// when it began (ETag, Last-Modified, whole length).
Text DownloadIdentityPath(const Text& localPath);
