// The update manifest: fields cut by bracket markers, the information text,
// and the update decision (portable).
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

struct UpdateManifest {
    Text latestVersion;        // [版本]
    Text updateAddress;        // [地址]
    Text dayIntro;             // [日介绍]
    Text fullPackageAddress;   // [完整]
    Text autoUpdate;           // [自动]  "真" selects the main-executable update
    Text manualUpdate;         // [手动]
    Text fullUpdate;           // [是否完整]  "真" selects the full installer
    Text fileName;             // [文件名]
    Text currentVersionField;  // [当前版本]
    Text changeLog;            // [mal]
    Text checksum;             // [校验]  SHA-256 of the main executable
    Text fullChecksum;         // [完整校验]  SHA-256 of the full installer
    Text size;                 // [大小]  byte count of the main executable
    Text fullSize;             // [完整大小]  byte count of the full installer
    Text publishedAt;          // [发布时间]  UTC, when the manifest was published
    Text expiresAt;            // [有效期]  UTC, when it stops being valid
};

// Every field cut from the start of the text, ".exe" appended to the file
// name and every "&nbsp;" deleted from the change log.
UpdateManifest CutManifest(const Text& manifest);

// The second cut an update thread makes: version, addresses, checksums,
// sizes and the bare file name (no ".exe"), written into the shared fields.
void RecutManifest(const Text& manifest, UpdateManifest& fields);

Text InformationText(const UpdateManifest& manifest, const Text& localVersion);

bool IsTrueText(const Text& field);  // "真"

// Older: with signed releases, a latest version numerically below the
// installed one (see EffectiveInstalledVersion); it ends the program like
// UpToDate (no downgrade). NonNumericVersion: with signed releases, a latest
// version that is not dot-separated numbers, which no floor can be kept for;
// refused like a server failure.
// MalformedChecksum: the update the manifest selects publishes a checksum
// that is not 64 hexadecimal digits; it is refused before any download, in
// every build (an absent checksum is another matter: see below).
enum class UpdateDecision {
    ServerFailure, UpToDate, Older, MainExecutable, FullInstaller, Idle, MalformedChecksum, NonNumericVersion
};

// shownAddress is the download address as the window shows it. Without
// signing, versions are equal or not byte for byte and `floor` is not used;
// with it, the latest version is compared as numbers with
// EffectiveInstalledVersion(localVersion, floor) and one that is not above
// it never updates.
UpdateDecision DecideUpdateKind(const Text& shownAddress, const Text& localVersion,
                                const UpdateManifest& manifest, bool signedReleases = false,
                                const Text& floor = Text());

// What a signed build counts as installed: the larger of config.ini's
// version (0 when it is not numeric) and the floor the updater keeps (left
// out when it is not numeric).
Text EffectiveInstalledVersion(const Text& localVersion, const Text& floor);

// True for one or more dot-separated runs of decimal digits ("1", "2.0.10").
bool IsNumericVersion(const Text& version);

// Negative, zero or positive as a is below, equal to or above b. Two numeric
// versions compare part by part as numbers of any length, a missing part
// counting as 0 (1.10 > 1.9, 2 = 2.0); otherwise the bytes compare.
int CompareVersions(const Text& a, const Text& b);

// The manifest's address: "http://" + host + "/GX.txt".
Text ManifestUrl(const Text& host);

// A published SHA-256: 64 hexadecimal digits in either case. An absent field
// means the download is not checked (unless releases are signed); a
// malformed one refuses the update.
struct PublishedChecksum {
    enum class State { Absent, Malformed, Present } state = State::Absent;
    Text hex;  // lower case, when present
};
PublishedChecksum ReadPublishedChecksum(const Text& field);

// A published file size: a plain decimal byte count (digits only, at most
// 18 of them). An absent field sets no limit; a malformed one refuses the
// update.
struct PublishedSize {
    enum class State { Absent, Malformed, Present } state = State::Absent;
    std::int64_t bytes = -1;  // when present
};
PublishedSize ReadPublishedSize(const Text& field);

// The checksum field of the update kind the manifest selects ([自动] before
// [是否完整]); none when it selects no kind.
const Text* ChosenChecksumField(const UpdateManifest& manifest);

// The freshness of a signed manifest: [发布时间] and [有效期], both UTC.
// An expired manifest (beyond the clock skew allowed), one published before
// the newest manifest this installation accepted, one with only one of the
// fields, an unreadable time or an expiry before its publication are
// refused; a manifest with neither field is refused only when freshness is
// required, else accepted so that vendors can migrate.
constexpr std::int64_t kClockSkewSeconds = 24 * 3600;

struct FreshnessPolicy {
    bool requireFields = false;
    std::int64_t now = 0;                       // UTC seconds, from the caller's clock
    std::optional<std::int64_t> newestAccepted;  // publish time of the newest manifest accepted
};

enum class Freshness { Fresh, NoFields, FieldsRequired, Malformed, Expired, Superseded };

struct FreshnessCheck {
    Freshness verdict = Freshness::NoFields;
    std::optional<std::int64_t> publishedAt, expiresAt;
    bool Accepted() const { return verdict == Freshness::Fresh || verdict == Freshness::NoFields; }
};

FreshnessCheck CheckFreshness(const UpdateManifest& manifest, const FreshnessPolicy& policy);
