#include "app/transfer_stats.h"

#include <mutex>

#include "app/main_form.h"
#include "app/transfer_stats_core.h"

namespace {

std::mutex gLock;
Text gFileName;

// What each target shows now: a write that would not change it is skipped,
// since every write is a cross-thread call into the window thread.
struct Shown {
    Text label2, label4, label6, title;
    int percent = -1;
} gShown;

void WriteText(MainControl control, Text& shown, const Text& text) {
    if (shown == text) return;
    SetControlProperty(MainRef(control), kPropertyText, text);
    shown = text;
}

}  // namespace

void SetTransferFileName(const Text& fileName) {
    std::lock_guard<std::mutex> guard(gLock);
    gFileName = fileName;
}

void TransferStats(int contentLength, int position, int elapsedMs, int receivedBytes) {
    std::lock_guard<std::mutex> guard(gLock);
    TransferStatsTexts texts = ComputeTransferStats(gFileName, contentLength, position, elapsedMs, receivedBytes);
    WriteText(kLabel2, gShown.label2, texts.label2);
    WriteText(kLabel4, gShown.label4, texts.label4);
    // The speed alone, then with the remaining time: what stays is the latter.
    WriteText(kLabel6, gShown.label6, texts.label6 ? *texts.label6 : texts.label6Speed);
    WriteText(kMainForm, gShown.title, "软件自动更新");
    if (texts.percent && *texts.percent != gShown.percent) {
        SetControlProperty(MainRef(kProgressBar1), kPropertyPosition, *texts.percent);
        gShown.percent = *texts.percent;
    }
}
