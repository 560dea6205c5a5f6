#include "app/transfer_stats.h"

#include <mutex>

#include "app/form_loader.h"
#include "app/main_form.h"
#include "app/transfer_stats_core.h"

namespace {

// The four values of the newest chunk; the texts are made on the window
// thread, once per update it shows, not once per chunk.
struct Progress {
    int contentLength, position, elapsedMs, receivedBytes;
};

std::mutex gLock;
Text gFileName;
Progress gLatest{};
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

void Apply(const Text& fileName, const Progress& p) {
    const TransferStatsTexts texts =
        ComputeTransferStats(fileName, p.contentLength, p.position, p.elapsedMs, p.receivedBytes);
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
    Progress latest;
    Text fileName;
    {
        std::lock_guard<std::mutex> guard(gLock);
        latest = gLatest;
        fileName = gFileName;
        gApplyPending = false;
    }
    Apply(fileName, latest);
}

}  // namespace

void SetTransferFileName(const Text& fileName) {
    std::lock_guard<std::mutex> guard(gLock);
    gFileName = fileName;
}

void TransferStats(int contentLength, int position, int elapsedMs, int receivedBytes) {
    std::unique_lock<std::mutex> guard(gLock);
    gLatest = Progress{contentLength, position, elapsedMs, receivedBytes};
    if (gApplyPending) return;
    HWND form = WindowHandle(MainRef(kMainForm));
    if (form && PostToFormThread(form, &ApplyLatest)) {
        gApplyPending = true;
        return;
    }
    // No window to hand the update to: write directly.
    const Progress latest = gLatest;
    const Text fileName = gFileName;
    guard.unlock();
    Apply(fileName, latest);
}
