#include "app/manifest_core.h"

#include "net/text_between.h"
#include "runtime/text.h"

namespace {

// The text between "[name]" and "[/name]".
Text Field(const Text& manifest, const Text& name) {
    return TextBetween(manifest, "[" + name + "]", "[/" + name + "]");
}

}  // namespace

UpdateManifest CutManifest(const Text& manifest) {
    UpdateManifest m;
    RecutManifest(manifest, m);
    m.dayIntro = Field(manifest, "日介绍");
    m.autoUpdate = Field(manifest, "自动");
    m.manualUpdate = Field(manifest, "手动");
    m.fullUpdate = Field(manifest, "是否完整");
    m.currentVersionField = Field(manifest, "当前版本");
    m.changeLog = Field(manifest, "mal");
    m.fileName += ".exe";
    m.changeLog = ReplaceInText(m.changeLog, "&nbsp;", Text(), 1, kUnlimited, true);
    return m;
}

void RecutManifest(const Text& manifest, UpdateManifest& fields) {
    fields.latestVersion = Field(manifest, "版本");
    fields.updateAddress = Field(manifest, "地址");
    fields.fullPackageAddress = Field(manifest, "完整");
    fields.fileName = Field(manifest, "文件名");
    fields.checksum = Field(manifest, "校验");
    fields.fullChecksum = Field(manifest, "完整校验");
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

PublishedChecksum ReadPublishedChecksum(const Text& field) {
    PublishedChecksum published;
    if (field.empty()) return published;
    published.state = PublishedChecksum::State::Malformed;
    if (field.size() != 64) return published;
    Text hex;
    for (char c : field) {
        if (c >= '0' && c <= '9') hex += c;
        else if (c >= 'a' && c <= 'f') hex += c;
        else if (c >= 'A' && c <= 'F') hex += static_cast<char>(c - 'A' + 'a');
        else return published;
    }
    published.state = PublishedChecksum::State::Present;
    published.hex = hex;
    return published;
}
