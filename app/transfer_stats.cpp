#include "app/transfer_stats.h"

#include <mutex>
#include <vector>

#include "app/form_loader.h"
#include "app/main_form.h"
#include "app/transfer_stats_core.h"

namespace {

// The four values of the newest chunk; the texts are made on the window
// thread, once per update it shows, not once per chunk.
struct Progress {
    std::int64_t contentLength, position, elapsedMs, receivedBytes;
};

std::mutex gLock;
Text gFileName;
Progress gLatest{};
bool gApplyPending = false;

// What each target shows now: a write that would not change it is skipped.
// Kept under its own lock, which is never held while a control is written:
// a write from the download thread sends a message to the window thread,
// which may itself be waiting for this lock.
struct Shown {
    Text label2, label4, label6, title;
    int percent = -1;
};
std::mutex gShownLock;
Shown gShown;

struct TextWrite {
    MainControl control;
    Text text;
};

// The writes that change what is shown, noted as shown.
std::vector<TextWrite> NoteChanges(const TransferStatsTexts& texts, int* percent) {
    std::vector<TextWrite> writes;
    std::lock_guard<std::mutex> guard(gShownLock);
    auto note = [&](MainControl control, Text& shown, const Text& text) {
        if (shown == text) return;
        shown = text;
        writes.push_back({control, text});
    };
    note(kLabel2, gShown.label2, texts.label2);
    note(kLabel4, gShown.label4, texts.label4);
    // The speed alone, then with the remaining time: what stays is the latter.
    note(kLabel6, gShown.label6, texts.label6 ? *texts.label6 : texts.label6Speed);
    note(kMainForm, gShown.title, "软件自动更新");
    *percent = -1;
    if (texts.percent && *texts.percent != gShown.percent) {
        gShown.percent = *texts.percent;
        *percent = *texts.percent;
    }
    return writes;
}

void Write(const std::vector<TextWrite>& writes, int percent) {
    for (const TextWrite& write : writes) SetControlProperty(MainRef(write.control), kPropertyText, write.text);
    if (percent >= 0) SetControlProperty(MainRef(kProgressBar1), kPropertyPosition, percent);
}

TransferStatsTexts Texts(const Text& fileName, const Progress& p) {
    return ComputeTransferStats(fileName, p.contentLength, p.position, p.elapsedMs, p.receivedBytes);
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
    int percent = -1;
    const std::vector<TextWrite> writes = NoteChanges(Texts(fileName, latest), &percent);
    Write(writes, percent);
}

// Runs on the download thread when the window cannot be posted to. Its writes
// may interleave with the window thread's, so it writes everything and then
// forgets what was shown: the window thread's next update writes everything
// again instead of trusting a note these writes may have overtaken.
void ApplyHere(const Text& fileName, const Progress& p) {
    const TransferStatsTexts texts = Texts(fileName, p);
    const std::vector<TextWrite> writes{{kLabel2, texts.label2},
                                        {kLabel4, texts.label4},
                                        {kLabel6, texts.label6 ? *texts.label6 : texts.label6Speed},
                                        {kMainForm, "软件自动更新"}};
    Write(writes, texts.percent ? *texts.percent : -1);
    std::lock_guard<std::mutex> guard(gShownLock);
    gShown = Shown();
}

}  // namespace

void SetTransferFileName(const Text& fileName) {
    std::lock_guard<std::mutex> guard(gLock);
    gFileName = fileName;
}

void TransferStats(std::int64_t contentLength, std::int64_t position, std::int64_t elapsedMs,
                   std::int64_t receivedBytes) {
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
    ApplyHere(fileName, latest);
}
