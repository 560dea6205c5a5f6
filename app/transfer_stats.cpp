#include "app/transfer_stats.h"

#include <mutex>

#include "app/form_loader.h"
#include "app/main_form.h"
#include "app/transfer_stats_core.h"

namespace {

std::mutex gLock;
Text gFileName;
// The newest statistics, and whether the window thread still has to show them.
TransferStatsTexts gLatest;
bool gApplyPending = false;

// What each target shows now: a write that would not change it is skipped.
struct Shown {
    Text label2, label4, label6, title;
    int percent = -1;
} gShown;

void WriteText(MainControl control, Text& shown, const Text& text) {
    if (shown == text) return;
    SetControlProperty(MainRef(control), kPropertyText, text);
    shown = text;
}

void Apply(const TransferStatsTexts& texts) {
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

// Runs on the window thread: shows the newest statistics. Chunks that arrive
// faster than the window repaints are folded into one update, so the download
// thread never waits for the window thread.
void ApplyLatest() {
    TransferStatsTexts texts;
    {
        std::lock_guard<std::mutex> guard(gLock);
        texts = gLatest;
        gApplyPending = false;
    }
    Apply(texts);
}

}  // namespace

void SetTransferFileName(const Text& fileName) {
    std::lock_guard<std::mutex> guard(gLock);
    gFileName = fileName;
}

void TransferStats(int contentLength, int position, int elapsedMs, int receivedBytes) {
    std::unique_lock<std::mutex> guard(gLock);
    gLatest = ComputeTransferStats(gFileName, contentLength, position, elapsedMs, receivedBytes);
    if (gApplyPending) return;
    HWND form = WindowHandle(MainRef(kMainForm));
    if (form && PostToFormThread(form, &ApplyLatest)) {
        gApplyPending = true;
        return;
    }
    // No window to hand the update to: write directly.
    TransferStatsTexts texts = gLatest;
    guard.unlock();
    Apply(texts);
}
