#include "app/manifest_core.h"

#include "net/text_between.h"
#include "runtime/text.h"

UpdateManifest CutManifest(const Text& manifest) {
    UpdateManifest m;
    m.latestVersion = TextBetween(manifest, "[版本]", "[/版本]");
    m.updateAddress = TextBetween(manifest, "[地址]", "[/地址]");
    m.dayIntro = TextBetween(manifest, "[日介绍]", "[/日介绍]");
    m.fullPackageAddress = TextBetween(manifest, "[完整]", "[/完整]");
    m.autoUpdate = TextBetween(manifest, "[自动]", "[/自动]");
    m.manualUpdate = TextBetween(manifest, "[手动]", "[/手动]");
    m.fullUpdate = TextBetween(manifest, "[是否完整]", "[/是否完整]");
    m.fileName = TextBetween(manifest, "[文件名]", "[/文件名]");
    m.currentVersionField = TextBetween(manifest, "[当前版本]", "[/当前版本]");
    m.changeLog = TextBetween(manifest, "[mal]", "[/mal]");
    m.fileName += ".exe";
    m.changeLog = ReplaceInText(m.changeLog, "&nbsp;", Text(), 1, kUnlimited, true);
    return m;
}

void RecutManifest(const Text& manifest, UpdateManifest& fields) {
    fields.latestVersion = TextBetween(manifest, "[版本]", "[/版本]");
    fields.updateAddress = TextBetween(manifest, "[地址]", "[/地址]");
    fields.fullPackageAddress = TextBetween(manifest, "[完整]", "[/完整]");
    fields.fileName = TextBetween(manifest, "[文件名]", "[/文件名]");
}

Text InformationText(const UpdateManifest& m, const Text& localVersion) {
    return "------------------------文件版本信息-----------------------\r\n文件名称：" + m.fileName +
           " | 当前版本：" + localVersion + " | 最新版本：" + m.latestVersion +
           "\r\n------------------------ 更新日志 ------------------------\r\n" + m.changeLog +
           "\r\n--------------------------更新地址-----------------------\r\n" + m.updateAddress;
}

bool IsTrueText(const Text& field) { return field == "真"; }

UpdateDecision DecideUpdateKind(const Text& shownAddress, const Text& localVersion,
                                const UpdateManifest& manifest) {
    if (shownAddress.empty()) return UpdateDecision::ServerFailure;
    if (localVersion == manifest.latestVersion) return UpdateDecision::UpToDate;
    if (IsTrueText(manifest.autoUpdate)) return UpdateDecision::MainExecutable;
    if (IsTrueText(manifest.fullUpdate)) return UpdateDecision::FullInstaller;
    return UpdateDecision::Idle;
}

Text ManifestUrl(const Text& host) { return "http://" + host + "/GX.txt"; }
