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

// Without a published size, writing stops before the free space of the
// file's volume would fall under this many bytes: an endless body or a
// decompression bomb cannot fill the disk.
constexpr std::int64_t kFreeSpaceFloor = 256LL << 20;
// The free space is asked again after at most this many bytes were written.
constexpr std::int64_t kFreeSpaceCheckBytes = 1LL << 20;

// What one download may write.
struct DownloadLimits {
    // The file's size as the manifest publishes it; -1 when it publishes none.
    // An answer announcing another length is refused, and no byte is written
    // past it.
    std::int64_t expectedSize = -1;
    // Applies without a published size.
    std::int64_t freeSpaceFloor = kFreeSpaceFloor;
    // Free bytes for this user on the volume of a directory, -1 when unknown;
    // null asks the system (tests put their own here).
    std::int64_t (*freeSpace)(const Text& directory) = nullptr;
};

// 0 when the transfer ended normally, -1 after an error message. With a start
// offset the file is resumed; without, it is created or truncated. A body
// that breaks the limits leaves no file when what was written cannot be
// continued (more than the published size, or a body of unknown length).
int RangedDownload(const Text& url, const Text& localPath, ProgressProcedure progress,
                   std::optional<std::int64_t> startOffset = std::nullopt,
                   const DownloadLimits& limits = DownloadLimits());

// The request header block, with the range line when resuming.
Text DownloadRequestHeaders(std::optional<std::int64_t> startOffset);

// The file beside a partial download that records what the server served
// when it began (ETag, Last-Modified, whole length).
Text DownloadIdentityPath(const Text& localPath);
