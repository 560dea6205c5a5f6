#include "app/update_state_file.h"

#include <windows.h>

#include "runtime/conversions.h"
#include "runtime/files.h"
#include "runtime/program.h"

// The state lives beside the program, not under a user's profile: the floor
// belongs to the installation, whoever runs the updater. A profile keyed by
// the installation directory would give every user (and an elevated copy
// running as the administrators) a floor of their own, so another account
// could still be served an older release over the one already installed.
// The updater writes beside the program anyway; whoever can change files
// there can replace the program itself, so the place adds no weakness.
Text UpdateStatePath() { return ProgramDirectory() + "\\updater.state"; }

UpdateState ReadUpdateStateFile(const Text& path) {
    const ByteArray bytes = ReadBytesFromFile(path);
    return ParseUpdateState(Text(bytes.begin(), bytes.end()));
}

namespace {

// The error of the call that just failed (never 0: a failure is a failure).
DWORD LastErrorOfFailure() {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

}  // namespace

std::uint32_t WriteUpdateStateFile(const Text& path, const UpdateState& state) {
    const Text text = FormatUpdateState(state);
    const Text temporaryPath = path + ".new";
    DWORD error = 0;
    {
        const ScopedDataFile file(OpenDataFile(temporaryPath, 4, 4));
        if (!file.Get()) return LastErrorOfFailure();
        // Flushed before the rename: after a crash the new name never holds
        // a file whose bytes did not reach the disk.
        if (!WriteDataFile(file.Get(), text.data(), text.size()) || !FlushDataFile(file.Get())) {
            error = LastErrorOfFailure();
        }
    }
    if (error == 0 && !ReplaceFileWith(temporaryPath, path)) error = LastErrorOfFailure();
    if (error != 0) RemoveFile(temporaryPath);
    return error;
}

std::int64_t CurrentUtcSeconds() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr std::uint64_t kTicksPerSecond = 10000000, kEpochTicks = 116444736000000000;  // 1601 to 1970
    return static_cast<std::int64_t>((ticks - kEpochTicks) / kTicksPerSecond);
}
