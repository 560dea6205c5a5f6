#include "app/update_run.h"

#include <mutex>

#include "app/console_command.h"
#include "app/download.h"
#include "app/main_form.h"
#include "app/message_box.h"
#include "app/transfer_stats.h"
#include "net/web_request.h"
#include "runtime/config.h"
#include "runtime/conversions.h"
#include "runtime/files.h"
#include "runtime/processes.h"
#include "runtime/program.h"

#ifndef UPDATE_HOST
#define UPDATE_HOST "127.0.0.1:8080"
#endif

namespace {

constexpr char kCaption[] = "提示信息";
constexpr char kServerFailure[] = " 服务器连接失败请重试！    \r\nBY:Halvord";
constexpr char kMainQuestion[] =
    "更新完成！是否启动新程序！\r\n选择是启动新程序\r\n选择否关闭退出程序\r\n   BY:Halvord";
constexpr char kInstallerQuestion[] =
    "更新完成！建议选择是安装新版本！\r\n选择是启动新程序\r\n选择否关闭退出程序\r\n   BY:Halvord";
constexpr char kUpdateFailed[] = "更新出错，请重新更新！\r\n BY:Halvord";
constexpr int kStyleQuestionOk = 0x20;
constexpr int kStyleYesNo = 4;
constexpr int kStyleExclamationOk = 0x30;
constexpr int kAnswerYes = 5;

std::mutex gStateLock;
UpdateManifest gManifest;
Text gLocalVersion;
HANDLE gUpdateThread = nullptr;  // kept for the life of the process

struct UpdateKind {
    const char* targetName;
    const char* question;
    const char* startCommand;
    bool urlFromWindow;  // the main executable's address as the window shows it
};

const UpdateKind kMainExecutable{"Norvane.exe", kMainQuestion, "start \"%cd%\" \"Norvane.exe\"", true};
const UpdateKind kFullInstaller{"setup.exe", kInstallerQuestion, "start \"%cd%\" \"setup.exe\"", false};

HWND MainWindow() { return WindowHandle(MainRef(kMainForm)); }

int Ask(const Text& text, int style) { return SkinnedMessageBox(MainWindow(), text, style, kCaption); }

void FailAndClose() {
    Ask(kUpdateFailed, kStyleExclamationOk);
    DestroyForm(MainRef(kMainForm));
}

void RunUpdate(const UpdateKind& kind) {
    UpdateManifest fields = ManifestSnapshot();
    RecutManifest(FetchManifest(), fields);
    StoreManifest(fields);

    const Text url = kind.urlFromWindow ? GetControlProperty(MainRef(kLabel8), kPropertyText)
                                        : fields.fullPackageAddress;
    const Text targetPath = ProgramDirectory() + "\\" + kind.targetName;
    const Text temporaryPath = targetPath + ".tmp";
    SetTransferFileName(fields.fileName);

    const int result = FileExists(temporaryPath)
                           ? RangedDownload(url, temporaryPath, TransferStats, FileSize64(temporaryPath))
                           : RangedDownload(url, temporaryPath, TransferStats);
    // A failed download is never put in place: the .tmp stays for a resume,
    // and the installed program stays as it is.
    if (result != 0 || !FileExists(temporaryPath)) return FailAndClose();
    if (!ReplaceFileWith(temporaryPath, targetPath)) return FailAndClose();

    if (Ask(kind.question, kStyleYesNo) == kAnswerYes) {
        RunConsoleCommand(kind.startCommand);
        EndProgram(0);
    }
    DestroyForm(MainRef(kMainForm));
}

void StopRunningClient() {
    if (ProcessExists("Norvane.exe")) TerminateProcessByName("Norvane.exe");
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
    gLocalVersion.clear();
}

Text UpdateHost() {
    Text host = ReadEnvVar("UPDATER_HOST");
    return host.empty() ? Text(UPDATE_HOST) : host;
}

Text FetchManifest() { return ToText(WebRequest(ManifestUrl(UpdateHost()))); }

DWORD WINAPI UpdateMainExecutable(LPVOID) {
    RunUpdate(kMainExecutable);
    return 0;
}

DWORD WINAPI UpdateFullInstaller(LPVOID) {
    RunUpdate(kFullInstaller);
    return 0;
}

void DecideUpdate() {
    const Text shownAddress = GetControlProperty(MainRef(kLabel8), kPropertyText);
    switch (DecideUpdateKind(shownAddress, LocalVersion(), ManifestSnapshot())) {
        case UpdateDecision::ServerFailure:
            Ask(kServerFailure, kStyleQuestionOk);
            EndProgram(0);
        case UpdateDecision::UpToDate:
            EndProgram(0);
        case UpdateDecision::MainExecutable:
            // The installed file stays until a complete download replaces it.
            StopRunningClient();
            StartThread(UpdateMainExecutable, nullptr, &gUpdateThread);
            return;
        case UpdateDecision::FullInstaller:
            StopRunningClient();
            TerminateProcessByName("setup.exe");
            StartThread(UpdateFullInstaller, nullptr, &gUpdateThread);
            return;
        case UpdateDecision::Idle:
            return;
    }
}
