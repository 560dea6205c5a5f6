#include "app/update_run.h"

#include <mutex>

#include "app/checksum.h"
#include "app/console_command.h"
#include "app/download.h"
#include "app/elevation.h"
#include "app/form_loader.h"
#include "app/main_form.h"
#include "app/message_box.h"
#include "app/release_key.h"
#include "app/signature.h"
#include "app/signature_text.h"
#include "app/transfer_stats.h"
#include "app/update_host.h"
#include "app/update_log.h"
#include "app/update_state_file.h"
#include "app/utc_time.h"
#include "net/web_request.h"
#include "runtime/config.h"
#include "runtime/conversions.h"
#include "runtime/files.h"
#include "runtime/processes.h"
#include "runtime/program.h"

namespace {

constexpr char kCaption[] = "提示信息";
constexpr char kServerFailure[] = " 服务器连接失败请重试！    \r\nBY:Halvord";
constexpr char kMainQuestion[] =
    "更新完成！是否启动新程序！\r\n选择是启动新程序\r\n选择否关闭退出程序\r\n   BY:Halvord";
constexpr char kInstallerQuestion[] =
    "更新完成！建议选择是安装新版本！\r\n选择是启动新程序\r\n选择否关闭退出程序\r\n   BY:Halvord";
constexpr char kUpdateFailed[] = "更新出错，请重新更新！\r\n BY:Halvord";
constexpr char kNotWritable[] = "安装目录不可写，无法更新！\r\n请检查目录权限后重新更新\r\n BY:Halvord";
constexpr int kStyleQuestionOk = 0x20;
constexpr int kStyleYesNo = 4;
constexpr int kStyleExclamationOk = 0x30;
constexpr int kAnswerYes = 5;
constexpr DWORD kStopWaitMs = 5000;

std::mutex gStateLock;
UpdateManifest gManifest;
Text gFirstManifest;  // the text the window shows; with signed releases, verified
Text gLocalVersion;
HANDLE gUpdateThread = nullptr;  // kept for the life of the process

struct UpdateKind {
    const char* name;  // for the log
    const char* targetName;
    const char* question;
    const char* startCommand;
    bool mainExecutable;  // address as the window shows it, checksum [校验]
};

const UpdateKind kMainExecutable{"main executable", "Norvane.exe", kMainQuestion,
                                 "start \"%cd%\" \"Norvane.exe\"", true};
const UpdateKind kFullInstaller{"full installer", "setup.exe", kInstallerQuestion, "start \"%cd%\" \"setup.exe\"",
                                false};

bool SignedReleases() { return ReleasePublicKey()[0] != '\0'; }

HWND MainWindow() { return WindowHandle(MainRef(kMainForm)); }

int Ask(const Text& text, int style) {
    LogEvent("message shown: " + text);
    const int answer = SkinnedMessageBox(MainWindow(), text, style, kCaption);
    static const char* const kAnswers[] = {"OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    LogEvent(Text("answer: ") + (answer >= 0 && answer <= 6 ? kAnswers[answer] : std::to_string(answer).c_str()));
    return answer;
}

[[noreturn]] void EndWith(int exitCode) {
    LogExit(exitCode);
    EndProgram(exitCode);
}

void FailAndClose() {
    Ask(kUpdateFailed, kStyleExclamationOk);
    DestroyForm(MainRef(kMainForm));
}

// A published checksum is checked before the file is put in place, on the
// bytes of the held file that is then renamed. A file that does not match is
// known bad: it is deleted, not kept for a resume.
bool ChecksumAllows(const Text& field, SealedFile& download, const Text& temporaryPath) {
    const PublishedChecksum published = ReadPublishedChecksum(field);
    // With signed releases the manifest was refused without one; this is
    // the last guard before an unchecked file would be put in place.
    if (published.state != PublishedChecksum::State::Present && SignedReleases()) {
        LogEvent("checksum: none or malformed in a signed manifest, refused");
        return false;
    }
    if (published.state == PublishedChecksum::State::Absent) {
        LogEvent("checksum: none published, not checked");
        return true;
    }
    // The decisions before the download refused this already; the download
    // is kept, it is the publication that is broken.
    if (published.state == PublishedChecksum::State::Malformed) {
        LogEvent("checksum: published field is malformed (" + field + "), refused");
        return false;
    }
    const std::optional<Text> actual = FileSha256(download);
    if (!actual) {
        LogEvent("checksum: the download could not be hashed, refused");
        return false;
    }
    if (*actual == published.hex) {
        LogEvent("checksum: SHA-256 " + *actual + " matches");
        return true;
    }
    LogEvent("checksum: SHA-256 " + *actual + " does not match the published " + published.hex +
             ", download deleted");
    download.Close();
    RemoveFile(temporaryPath);
    RemoveFile(DownloadIdentityPath(temporaryPath));
    return false;
}

int Download(const Text& url, const Text& temporaryPath, const DownloadLimits& limits) {
    // Another user's partial file may hold anything: it is not continued.
    bool fresh = !FileExists(temporaryPath);
    if (!fresh && FileOwnerOf(temporaryPath) == FileOwner::Other) {
        LogEvent("the partial file " + temporaryPath + " belongs to another user: deleted, the download starts again");
        if (!RemoveFile(temporaryPath)) {
            const DWORD error = ::GetLastError();
            LogEvent("it could not be deleted (error " + std::to_string(error) + "): it is written anew");
        }
        RemoveFile(DownloadIdentityPath(temporaryPath));
        fresh = true;
    }
    if (fresh) {
        LogEvent("download " + url + " to " + temporaryPath);
        return RangedDownload(url, temporaryPath, TransferStats, std::nullopt, limits);
    }
    const std::int64_t size = FileSize64(temporaryPath);
    LogEvent("download " + url + " to " + temporaryPath + ", resuming a partial file of " +
             std::to_string(size) + " bytes");
    return RangedDownload(url, temporaryPath, TransferStats, size, limits);
}

// The bounds of the download: the published size, or, without one, the
// volume's free-space floor. A malformed size ends the update before a byte
// is downloaded, in every build.
DownloadLimits LimitsFor(const UpdateKind& kind, const UpdateManifest& fields) {
    const Text& field = kind.mainExecutable ? fields.size : fields.fullSize;
    const PublishedSize published = ReadPublishedSize(field);
    DownloadLimits limits;
    switch (published.state) {
        case PublishedSize::State::Malformed:
            LogEvent(Text("update refused: the published size of the ") + kind.name + " is malformed (" + field + ")");
            Ask(kServerFailure, kStyleQuestionOk);
            EndWith(0);
        case PublishedSize::State::Present:
            LogEvent("size: " + std::to_string(published.bytes) + " bytes published");
            limits.expectedSize = published.bytes;
            break;
        case PublishedSize::State::Absent:
            LogEvent("size: none published, writing stops above " + std::to_string(limits.freeSpaceFloor) +
                     " bytes of free space");
            break;
    }
    return limits;
}

// The second manifest must hold up like the first: its checksum of the
// update, when there is one, readable; with signed releases also verified
// (else it is empty) and byte for byte the first verified manifest, so that
// the window and the download never come from two different signed
// manifests. Anything else ends the update before a byte is downloaded.
void CheckSecondManifest(const UpdateKind& kind, const Text& manifest, const UpdateManifest& fields) {
    const Text& checksum = kind.mainExecutable ? fields.checksum : fields.fullChecksum;
    if (ReadPublishedChecksum(checksum).state == PublishedChecksum::State::Malformed) {
        LogEvent(Text("update refused: the second manifest's checksum of the ") + kind.name + " is malformed (" +
                 checksum + ")");
        Ask(kServerFailure, kStyleQuestionOk);
        EndWith(0);
    }
    if (!SignedReleases()) return;
    if (manifest.empty()) {
        LogEvent("update refused: the second manifest is empty or not verified");
        Ask(kServerFailure, kStyleQuestionOk);
        EndWith(0);
    }
    const Text first = FirstManifest();
    if (manifest != first) {
        LogEvent("update refused: the second manifest (" + std::to_string(manifest.size()) +
                 " bytes) is not byte for byte the first verified one (" + std::to_string(first.size()) +
                 " bytes)");
        Ask(kServerFailure, kStyleQuestionOk);
        EndWith(0);
    }
    const Text localVersion = LocalVersion();
    if (localVersion == fields.latestVersion ||
        (IsNumericVersion(localVersion) && IsNumericVersion(fields.latestVersion) &&
         CompareVersions(fields.latestVersion, localVersion) <= 0)) {
        LogEvent("update refused: the second manifest's version " + fields.latestVersion +
                 " is not above the installed " + localVersion);
        EndWith(0);
    }
    if (ReadPublishedChecksum(checksum).state != PublishedChecksum::State::Present) {
        LogEvent(Text("update refused: the second manifest has no checksum of the ") + kind.name);
        Ask(kServerFailure, kStyleQuestionOk);
        EndWith(0);
    }
}

// After a signed update was put in place: the floor rises to its version
// and the newest accepted publish time to its manifest's. Failing to write
// this never stops the update; the next run keeps the older state.
void RememberInstalled(const UpdateManifest& fields) {
    const Text path = UpdateStatePath();
    const UpdateState before = ReadUpdateStateFile(path);
    const UpdateState after = AdvanceUpdateState(before, fields.latestVersion, ParseUtcTime(fields.publishedAt));
    const std::uint32_t error = WriteUpdateStateFile(path, after);
    const Text published = after.newestPublished ? FormatUtcTime(*after.newestPublished) : Text("none");
    if (error == 0) {
        LogEvent("state: floor " + after.floor + ", newest manifest published " + published + ", kept in " + path);
    } else {
        LogEvent("state: " + path + " could not be written (error " + std::to_string(error) +
                 "); the update stands, the floor stays " + (before.floor.empty() ? Text("none") : before.floor));
    }
}

void RunUpdate(const UpdateKind& kind) {
    UpdateManifest fields = ManifestSnapshot();
    const Text manifest = FetchManifest();
    RecutManifest(manifest, fields);
    StoreManifest(fields);
    CheckSecondManifest(kind, manifest, fields);
    const DownloadLimits limits = LimitsFor(kind, fields);

    // A signed build downloads from the verified fields (标签8 shows the
    // same address); an unsigned one from the address as the window shows it.
    const Text url = !kind.mainExecutable ? fields.fullPackageAddress
                     : SignedReleases()   ? fields.updateAddress
                                          : GetControlProperty(MainRef(kLabel8), kPropertyText);
    const Text targetPath = ProgramDirectory() + "\\" + kind.targetName;
    const Text temporaryPath = targetPath + ".tmp";
    SetTransferFileName(fields.fileName);
    LogEvent(Text("update of the ") + kind.name + " to version " + fields.latestVersion);

    const int result = Download(url, temporaryPath, limits);
    LogEvent("download result " + std::to_string(result));
    // A failed download is never put in place: the .tmp stays for a resume,
    // and the installed program stays as it is.
    if (result != 0 || !FileExists(temporaryPath)) return FailAndClose();
    // From the check to the rename the file is held so that nothing else can
    // change it: what was checked is what is installed.
    SealedFile download(temporaryPath);
    if (!download.IsOpen()) {
        LogEvent("the download could not be held for its check (error " + std::to_string(download.LastError()) +
                 "); it stays for the next run");
        return FailAndClose();
    }
    if (limits.expectedSize >= 0 && download.Size() != limits.expectedSize) {
        LogEvent("the download is " + std::to_string(download.Size()) + " bytes, not the published " +
                 std::to_string(limits.expectedSize) + ", download deleted");
        download.Close();
        RemoveFile(temporaryPath);
        RemoveFile(DownloadIdentityPath(temporaryPath));
        return FailAndClose();
    }
    if (!ChecksumAllows(kind.mainExecutable ? fields.checksum : fields.fullChecksum, download, temporaryPath)) {
        return FailAndClose();
    }
    // Only a rename replaces the installed file, never a copy: a copy broken
    // off halfway would leave neither program.
    if (!download.ReplaceInto(targetPath)) {
        LogEvent("rename to " + targetPath + " failed (error " + std::to_string(download.LastError()) +
                 "); the download stays for the next run");
        return FailAndClose();
    }
    LogEvent("renamed into place: " + targetPath);
    RemoveFile(DownloadIdentityPath(temporaryPath));
    if (SignedReleases()) RememberInstalled(fields);

    if (Ask(kind.question, kStyleYesNo) == kAnswerYes) {
        LogEvent(Text("start: ") + kind.startCommand);
        RunConsoleCommand(kind.startCommand);
        EndWith(0);
    }
    DestroyForm(MainRef(kMainForm));
}

// Only the program of this installation is stopped, never a program of the
// same name elsewhere or the owner of a window that bears its name; the file
// is replaced only after it ended (or the wait ran out and the rename decides).
void StopInstalledProgram(const char* name) {
    const Text path = ProgramDirectory() + "\\" + name;
    const ProcessStopReport report = StopProcessesByImagePath(path, kStopWaitMs);
    if (report.found == 0) return;
    LogEvent("stopped " + std::to_string(report.found - report.stillRunning) + " of " +
             std::to_string(report.found) + " running " + path);
}

void StopRunningClient() { StopInstalledProgram("Norvane.exe"); }

// The update writes beside the program. Without the right to, it ends here,
// before anything is stopped or downloaded: an elevated copy takes over, or
// the user is told why nothing happens. Returns only when it may write.
void EnsureInstallationWritable() {
    switch (CheckProgramDirectoryWriteAccess(MainWindow())) {
        case WriteAccess::Granted:
            return;
        case WriteAccess::Restarted:
            EndWith(0);
        case WriteAccess::Refused:
            break;
    }
    Ask(kNotWritable, kStyleExclamationOk);
    EndWith(0);
}

DWORD WINAPI UpdateMainExecutable(LPVOID) {
    RunUpdate(kMainExecutable);
    return 0;
}

DWORD WINAPI UpdateFullInstaller(LPVOID) {
    RunUpdate(kFullInstaller);
    return 0;
}

// The installed file stays until a complete download replaces it.
void StartMainExecutableUpdate() {
    EnsureInstallationWritable();
    StopRunningClient();
    StartThread(UpdateMainExecutable, nullptr, &gUpdateThread);
}

void StartFullInstallerUpdate() {
    EnsureInstallationWritable();
    StopRunningClient();
    StopInstalledProgram("setup.exe");
    StartThread(UpdateFullInstaller, nullptr, &gUpdateThread);
}

// The decision runs while the main window is being made, before it is shown.
// Posted to the window thread, the update starts once the window has been
// shown and painted, so neither the download nor its boxes hold up the
// window's first appearance, and a box always opens over the shown window.
// Without the window the update starts at once.
void StartOnceShown(void (*start)()) {
    HWND form = WindowHandle(MainRef(kMainForm));
    if (!form || !PostToFormThread(form, start)) start();
}

}  // namespace

UpdateManifest ManifestSnapshot() {
    std::lock_guard<std::mutex> guard(gStateLock);
    return gManifest;
}

void StoreManifest(const UpdateManifest& manifest) {
    std::lock_guard<std::mutex> guard(gStateLock);
    gManifest = manifest;
}

Text FirstManifest() {
    std::lock_guard<std::mutex> guard(gStateLock);
    return gFirstManifest;
}

void StoreFirstManifest(const Text& manifest) {
    std::lock_guard<std::mutex> guard(gStateLock);
    gFirstManifest = manifest;
}

Text LocalVersion() {
    std::lock_guard<std::mutex> guard(gStateLock);
    return gLocalVersion;
}

void StoreLocalVersion(const Text& version) {
    std::lock_guard<std::mutex> guard(gStateLock);
    gLocalVersion = version;
}

void ReleaseUpdateState() {
    std::lock_guard<std::mutex> guard(gStateLock);
    gManifest = UpdateManifest();
    gFirstManifest.clear();
    gLocalVersion.clear();
}

bool UpdateThreadRunning() {
    HANDLE thread = gUpdateThread;
    return thread && ::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
}

namespace {

// The most the manifest and its signature may hold: a longer answer is not
// read on, and counts as a failed request.
constexpr std::size_t kManifestLimit = 1 << 20;
constexpr std::size_t kSignatureLimit = 1 << 10;

// One GET; the body, and the status line in `statusLine` ("" without an
// answer, or for a body over `limit` bytes).
ByteArray Fetch(const Text& url, Text& statusLine, std::size_t limit) {
    Text responseHeaders;
    bool tooLarge = false;
    WebRequestOptions options;
    options.responseHeaders = &responseHeaders;  // read back only
    options.maxBodyBytes = limit;
    options.bodyTooLarge = &tooLarge;
    ByteArray body = WebRequest(url, options);
    statusLine = responseHeaders.substr(0, responseHeaders.find("\r\n"));
    if (tooLarge) {
        LogEvent(url + ": " + statusLine + ", the body is over " + std::to_string(limit) +
                 " bytes; not read on, the request failed");
        statusLine.clear();
    }
    return body;
}

bool IsStatus200(const Text& statusLine) {
    const std::size_t space = statusLine.find(' ');
    return space != Text::npos && statusLine.compare(space + 1, 3, "200") == 0 &&
           (statusLine.size() == space + 4 || statusLine[space + 4] == ' ');
}

// Whether GX.sig of the same host signs exactly these manifest bytes with
// the built-in key; the log says why not.
bool SignatureHolds(const Text& host, const ByteArray& manifestBytes) {
    const Text url = "http://" + host + "/GX.sig";
    Text statusLine;
    const Text signature = ToText(Fetch(url, statusLine, kSignatureLimit));
    if (!IsStatus200(statusLine)) {
        LogEvent("signature: GX.sig is missing (" + (statusLine.empty() ? Text("no answer") : statusLine) +
                 "), the manifest counts as empty");
        return false;
    }
    const std::vector<Text> keys = SplitPublicKeys(ReleasePublicKey());
    const SignatureVerdict verdict = VerifySignatureWithAnyKey(manifestBytes, signature, keys);
    if (!verdict.valid) {
        LogEvent("signature: " + verdict.reason + ", the manifest counts as empty");
        return false;
    }
    const Text& key = keys[verdict.keyIndex];
    LogEvent("signature: verified with the built-in public key " + std::to_string(verdict.keyIndex + 1) + " of " +
             std::to_string(keys.size()) + " (" + key.substr(0, 16) + "..." + key.substr(key.size() - 8) + ")");
    return true;
}

Text TimeOrNone(const std::optional<std::int64_t>& time) { return time ? FormatUtcTime(*time) : Text("none"); }

// Whether a verified manifest is fresh: not expired and not published
// before the newest manifest this installation accepted (see
// CheckFreshness); the log says which times were compared.
bool FreshnessHolds(const UpdateManifest& fields) {
    const UpdateState state = ReadUpdateStateFile(UpdateStatePath());
    FreshnessPolicy policy;
    policy.requireFields = ReleaseRequiresFreshness();
    policy.now = CurrentUtcSeconds();
    policy.newestAccepted = state.newestPublished;
    const FreshnessCheck check = CheckFreshness(fields, policy);
    const Text times = "published " + fields.publishedAt + ", expires " + fields.expiresAt + ", now " +
                       FormatUtcTime(policy.now) + ", newest accepted " + TimeOrNone(state.newestPublished);
    const char* refusal = nullptr;
    switch (check.verdict) {
        case Freshness::Fresh:
            LogEvent("manifest times: " + times);
            return true;
        case Freshness::NoFields:
            LogEvent("manifest times: none ([发布时间] and [有效期] are missing); accepted, this updater does not "
                     "require them");
            return true;
        case Freshness::FieldsRequired:
            refusal = "it has no [发布时间] and [有效期], which this updater requires";
            break;
        case Freshness::Malformed:
            refusal = "its [发布时间] or [有效期] is missing or malformed, or it expires before it was published";
            break;
        case Freshness::Expired:
            refusal = "it has expired";
            break;
        case Freshness::Superseded:
            refusal = "it was published before the newest manifest accepted here";
            break;
    }
    LogEvent(Text("signed manifest refused: ") + refusal + " (" + times + "), the manifest counts as empty");
    return false;
}

}  // namespace

Text FetchManifest() {
    const Text host = UpdateHost();
    const Text url = ManifestUrl(host);
    Text statusLine;
    const ByteArray body = Fetch(url, statusLine, kManifestLimit);
    const Text manifest = ToText(body);
    LogEvent("manifest " + url + ": " + (statusLine.empty() ? Text("no answer") : statusLine) + ", " +
             std::to_string(manifest.size()) + " bytes");
    if (!SignedReleases()) {
        LogEvent("manifest not authenticated: this updater was built without a release key; its version floor "
                 "and freshness are not enforced");
        return manifest;
    }

    // Nothing is cut from the bytes before their signature holds.
    if (!SignatureHolds(host, body)) return Text();
    const UpdateManifest fields = CutManifest(manifest);
    const Text* checksum = ChosenChecksumField(fields);
    if (checksum && ReadPublishedChecksum(*checksum).state != PublishedChecksum::State::Present) {
        LogEvent(Text("signed manifest refused: no valid checksum ") +
                 (checksum == &fields.checksum ? "[校验]" : "[完整校验]") +
                 " of the update it selects, the manifest counts as empty");
        return Text();
    }
    // Versions that are not numbers cannot be ordered: no floor could hold.
    if (!IsNumericVersion(fields.latestVersion)) {
        LogEvent("signed manifest refused: its version [版本] \"" + fields.latestVersion +
                 "\" is not dot-separated numbers, the manifest counts as empty");
        return Text();
    }
    if (!FreshnessHolds(fields)) return Text();
    return manifest;
}

void DecideUpdate() {
    RegisterExitCleanup(&LogEndWithoutCode);
    const Text shownAddress = GetControlProperty(MainRef(kLabel8), kPropertyText);
    const Text localVersion = LocalVersion();
    const UpdateManifest manifest = ManifestSnapshot();
    Text versions = "local version " + localVersion + ", latest version " + manifest.latestVersion;
    Text floor;
    if (SignedReleases()) {
        const UpdateState state = ReadUpdateStateFile(UpdateStatePath());
        floor = state.floor;
        versions += ", floor " + (floor.empty() ? Text("none") : floor);
        LogEvent("floor: " + (floor.empty() ? Text("none") : floor) + ", newest accepted manifest published " +
                 TimeOrNone(state.newestPublished) + " (" + UpdateStatePath() +
                 (FileExists(UpdateStatePath()) ? Text(")") : Text(", missing: a first run)")));
    }
    switch (DecideUpdateKind(shownAddress, localVersion, manifest, SignedReleases(), floor)) {
        case UpdateDecision::ServerFailure:
            LogEvent("decision: server failure (no download address)");
            Ask(kServerFailure, kStyleQuestionOk);
            EndWith(0);
        case UpdateDecision::UpToDate:
            LogEvent("decision: up to date (" + versions + ")");
            EndWith(0);
        case UpdateDecision::Older:
            LogEvent("decision: no downgrade, the signed release is older than the installed one (" + versions + ")");
            EndWith(0);
        case UpdateDecision::MainExecutable:
            LogEvent("decision: update the main executable (" + versions + ", [自动] is 真)");
            StartOnceShown(&StartMainExecutableUpdate);
            return;
        case UpdateDecision::FullInstaller:
            LogEvent("decision: update the full installer (" + versions + ", [是否完整] is 真)");
            StartOnceShown(&StartFullInstallerUpdate);
            return;
        case UpdateDecision::MalformedChecksum: {
            const Text* checksum = ChosenChecksumField(manifest);
            LogEvent(Text("decision: update refused, the published checksum ") +
                     (checksum == &manifest.checksum ? "[校验]" : "[完整校验]") + " is malformed (" + *checksum +
                     ", " + versions + ")");
            Ask(kServerFailure, kStyleQuestionOk);
            EndWith(0);
        }
        case UpdateDecision::NonNumericVersion:
            LogEvent("decision: update refused, the signed release's version is not dot-separated numbers (" +
                     versions + ")");
            Ask(kServerFailure, kStyleQuestionOk);
            EndWith(0);
        case UpdateDecision::Idle:
            LogEvent("decision: no update kind selected (" + versions + "), the window stays open");
            return;
    }
}
