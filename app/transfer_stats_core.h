// What the window shows after each downloaded chunk (portable).
#pragma once

#include <optional>

#include "runtime/value_types.h"

struct TransferStatsTexts {
    Text label2;                   // file name and size
    Text label4;                   // downloaded and elapsed time
    Text label6Speed;              // speed only
    std::optional<Text> label6;    // speed and remaining time, when the speed is above 0
    std::optional<int> percent;    // progress bar; absent when the size is unknown
};

// The four values of the progress call. The size, the percent and the
// remaining time refer to the whole file: when resuming, the file's size is
// position - receivedBytes + contentLength. A response without a length shows
// the size and the remaining time as unknown.
TransferStatsTexts ComputeTransferStats(const Text& fileName, int contentLength, int position,
                                        int elapsedMs, int receivedBytes);

extern const char kUnknownText[];  // "未知"
