#include "app/transfer_stats_core.h"

#include "runtime/arith.h"
#include "runtime/conversions.h"

const char kUnknownText[] = "未知";

TransferStatsTexts ComputeTransferStats(const Text& fileName, std::int64_t contentLength,
                                        std::int64_t position, std::int64_t elapsedMs,
                                        std::int64_t receivedBytes) {
    const bool sizeKnown = contentLength > 0;
    // A whole file is where this response started plus its length.
    const double done = static_cast<double>(position);
    const double received = static_cast<double>(receivedBytes);
    const double total = static_cast<double>(position - receivedBytes + contentLength);
    const double elapsed = elapsedMs > 0 ? static_cast<double>(elapsedMs) : 10.0;

    TransferStatsTexts texts;
    const Text sizeText = sizeKnown ? ToText(RoundTo(total / 1024, 2)) : Text(kUnknownText);
    texts.label2 = fileName + "      |      文件大小:" + sizeText + (sizeKnown ? "KB\r\n" : "\r\n");
    texts.label4 = ToText(RoundTo(done / 1024, 2)) + "KB           |      所用时间:" +
                   ToText(IntDivide(elapsed, 1000)) + "秒\r\n";
    const double speed = RoundTo(received * 1000 / 1024 / elapsed, 2);
    texts.label6Speed = ToText(speed) + "KB/s";
    if (speed > 1e-7) {
        Text remaining;
        if (sizeKnown) {
            const double remainingSeconds = ToInteger((total - done) / 1024 / speed);
            remaining = ToText(IntDivide(remainingSeconds, 3600)) + "时" +
                        ToText(Remainder(IntDivide(remainingSeconds, 60), 60)) + "分" +
                        ToText(Remainder(remainingSeconds, 60)) + "秒";
        } else {
            remaining = kUnknownText;
        }
        texts.label6 = texts.label6Speed + "        |       剩余时间:" + remaining;
    }
    if (sizeKnown) texts.percent = FloorToInt(done / total * 100);
    return texts;
}
