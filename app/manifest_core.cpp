#include "app/manifest_core.h"

#include "app/utc_time.h"

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
    fields.size = Field(manifest, "大小");
    fields.fullSize = Field(manifest, "完整大小");
    fields.publishedAt = Field(manifest, "发布时间");
    fields.expiresAt = Field(manifest, "有效期");
}

Text InformationText(const UpdateManifest& m, const Text& localVersion) {
    return "------------------------文件版本信息-----------------------\r\n文件名称：" + m.fileName +
           " | 当前版本：" + localVersion + " | 最新版本：" + m.latestVersion +
           "\r\n------------------------ 更新日志 ------------------------\r\n" + m.changeLog +
           "\r\n--------------------------更新地址-----------------------\r\n" + m.updateAddress;
}

bool IsTrueText(const Text& field) { return field == "真"; }

UpdateDecision DecideUpdateKind(const Text& shownAddress, const Text& localVersion,
                                const UpdateManifest& manifest, bool signedReleases, const Text& floor) {
    if (shownAddress.empty()) return UpdateDecision::ServerFailure;
    if (!signedReleases) {
        if (localVersion == manifest.latestVersion) return UpdateDecision::UpToDate;
    } else {
        // An older signed manifest may be replayed by anyone: it must not
        // bring back a release with known faults. Only numbers can be
        // ordered, so nothing else is taken.
        if (!IsNumericVersion(manifest.latestVersion)) return UpdateDecision::NonNumericVersion;
        const int order = CompareVersions(manifest.latestVersion, EffectiveInstalledVersion(localVersion, floor));
        if (order == 0) return UpdateDecision::UpToDate;
        if (order < 0) return UpdateDecision::Older;
    }
    // A field that was meant to pin the download but cannot be read would
    // let any file through: a broken publication, not an unchecked one.
    const Text* checksum = ChosenChecksumField(manifest);
    if (checksum && ReadPublishedChecksum(*checksum).state == PublishedChecksum::State::Malformed) {
        return UpdateDecision::MalformedChecksum;
    }
    if (IsTrueText(manifest.autoUpdate)) return UpdateDecision::MainExecutable;
    if (IsTrueText(manifest.fullUpdate)) return UpdateDecision::FullInstaller;
    return UpdateDecision::Idle;
}

Text EffectiveInstalledVersion(const Text& localVersion, const Text& floor) {
    const Text local = IsNumericVersion(localVersion) ? localVersion : Text("0");
    if (!IsNumericVersion(floor)) return local;
    return CompareVersions(floor, local) > 0 ? floor : local;
}

bool IsNumericVersion(const Text& version) {
    bool partHasDigit = false;
    for (char c : version) {
        if (c == '.') {
            if (!partHasDigit) return false;
            partHasDigit = false;
        } else if (c >= '0' && c <= '9') {
            partHasDigit = true;
        } else {
            return false;
        }
    }
    return partHasDigit;
}

namespace {

// The next dot-separated part from `at`, without leading zeros; "" past the end.
Text NextVersionPart(const Text& version, std::size_t& at) {
    if (at > version.size()) return Text();
    std::size_t end = version.find('.', at);
    if (end == Text::npos) end = version.size();
    std::size_t first = at;
    while (first < end && version[first] == '0') ++first;
    Text part = version.substr(first, end - first);
    at = end + 1;
    return part;
}

}  // namespace

int CompareVersions(const Text& a, const Text& b) {
    if (!IsNumericVersion(a) || !IsNumericVersion(b)) {
        const int order = a.compare(b);  // std::string compares bytes as unsigned
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    std::size_t atA = 0, atB = 0;
    while (atA <= a.size() || atB <= b.size()) {
        const Text partA = NextVersionPart(a, atA);
        const Text partB = NextVersionPart(b, atB);
        // Without leading zeros, the longer run of digits is the larger number.
        if (partA.size() != partB.size()) return partA.size() < partB.size() ? -1 : 1;
        const int order = partA.compare(partB);
        if (order != 0) return order < 0 ? -1 : 1;
    }
    return 0;
}

const Text* ChosenChecksumField(const UpdateManifest& manifest) {
    if (IsTrueText(manifest.autoUpdate)) return &manifest.checksum;
    if (IsTrueText(manifest.fullUpdate)) return &manifest.fullChecksum;
    return nullptr;
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

PublishedSize ReadPublishedSize(const Text& field) {
    PublishedSize published;
    if (field.empty()) return published;
    published.state = PublishedSize::State::Malformed;
    if (field.size() > 18) return published;
    std::int64_t bytes = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return published;
        bytes = bytes * 10 + (c - '0');
    }
    published.state = PublishedSize::State::Present;
    published.bytes = bytes;
    return published;
}

FreshnessCheck CheckFreshness(const UpdateManifest& manifest, const FreshnessPolicy& policy) {
    FreshnessCheck check;
    if (manifest.publishedAt.empty() && manifest.expiresAt.empty()) {
        check.verdict = policy.requireFields ? Freshness::FieldsRequired : Freshness::NoFields;
        return check;
    }
    check.publishedAt = ParseUtcTime(manifest.publishedAt);
    check.expiresAt = ParseUtcTime(manifest.expiresAt);
    if (!check.publishedAt || !check.expiresAt || *check.expiresAt < *check.publishedAt) {
        check.verdict = Freshness::Malformed;
    } else if (*check.expiresAt + kClockSkewSeconds < policy.now) {
        check.verdict = Freshness::Expired;
    } else if (policy.newestAccepted && *check.publishedAt < *policy.newestAccepted) {
        check.verdict = Freshness::Superseded;
    } else {
        check.verdict = Freshness::Fresh;
    }
    return check;
}
