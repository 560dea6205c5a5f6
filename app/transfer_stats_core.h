// What the window shows after each downloaded chunk (portable).
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

struct TransferStatsTexts {
    Text label2;                   // file name and size
    Text label4;                   // downloaded and elapsed time
    Text label6Speed;              // speed only
    std::optional<Text> label6;    // speed and remaining time, when the speed is above 0
    std::optional<int> percent;    // progress bar; absent when the size is unknown
};

// The four values of the progress call, 64-bit so that files above 2 GB and
// 4 GB are shown right. The size, the percent and the remaining time refer to
// the whole file: when resuming, the file's size is position - receivedBytes +
// contentLength. A response without a known length (none sent, or an encoded
// body) shows the size and the remaining time as unknown.
TransferStatsTexts ComputeTransferStats(const Text& fileName, std::int64_t contentLength,
                                        std::int64_t position, std::int64_t elapsedMs,
                                        std::int64_t receivedBytes);

extern const char kUnknownText[];  // "未知"
