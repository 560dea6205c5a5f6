// The update manifest: fields cut by bracket markers, the information text,
// and the update decision (portable).
#pragma once

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
};

// Every field cut from the start of the text, ".exe" appended to the file
// name and every "&nbsp;" deleted from the change log.
UpdateManifest CutManifest(const Text& manifest);

// The second cut an update thread makes: version, addresses, checksums and
// the bare file name (no ".exe"), written into the shared fields.
void RecutManifest(const Text& manifest, UpdateManifest& fields);

Text InformationText(const UpdateManifest& manifest, const Text& localVersion);

bool IsTrueText(const Text& field);  // "真"

enum class UpdateDecision { ServerFailure, UpToDate, MainExecutable, FullInstaller, Idle };

// shownAddress is the download address as the window shows it.
UpdateDecision DecideUpdateKind(const Text& shownAddress, const Text& localVersion,
                                const UpdateManifest& manifest);

// The manifest's address: "http://" + host + "/GX.txt".
Text ManifestUrl(const Text& host);

// A published SHA-256: 64 hexadecimal digits in either case. An absent or
// malformed field means the download is not checked.
struct PublishedChecksum {
    enum class State { Absent, Malformed, Present } state = State::Absent;
    Text hex;  // lower case, when present
};
PublishedChecksum ReadPublishedChecksum(const Text& field);
