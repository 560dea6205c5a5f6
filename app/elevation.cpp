#include "app/elevation.h"

#include <shellapi.h>

#include "app/update_log.h"
#include "runtime/program.h"
#include "runtime/win_handles.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The next token from `at`, its quotes removed; `at` moves past it.
Text NextToken(const Text& line, std::size_t& at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    Text token;
    bool quoted = false;
    for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
        if (line[at] == '"') {
            quoted = !quoted;
        } else {
            token += line[at];
        }
    }
    return token;
}

}  // namespace

bool HasElevatedCopyMarker(const Text& commandLine) {
    std::size_t at = 0;
    NextToken(commandLine, at);  // the program
    while (at < commandLine.size()) {
        if (NextToken(commandLine, at) == kElevatedCopyMarker) return true;
    }
    return false;
}

WriteAccess CheckWriteAccess(const Text& directory, bool elevatedCopy, const WriteAccessSteps& steps) {
    if (steps.directoryWritable(directory)) {
        LogEvent("installation directory is writable: " + directory);
        return WriteAccess::Granted;
    }
    if (elevatedCopy) {
        LogEvent("installation directory is not writable even for the elevated copy: " + directory);
        return WriteAccess::Refused;
    }
    LogEvent("installation directory is not writable: " + directory + "; starting an elevated copy");
    switch (steps.launchElevatedCopy()) {
        case ElevatedLaunch::Started:
            LogEvent("elevated copy started; this copy ends without changing anything");
            return WriteAccess::Restarted;
        case ElevatedLaunch::Cancelled:
            LogEvent("elevation declined by the user");
            return WriteAccess::Refused;
        case ElevatedLaunch::Failed:
            break;
    }
    LogEvent("the elevated copy could not be started");
    return WriteAccess::Refused;
}

bool DirectoryWritable(const Text& directory) {
    // Named after this process, so that two updaters never share a probe and
    // a probe left by a crash does not stand in the way.
    const Text probe = directory + "\\updater-write-probe-" + std::to_string(::GetCurrentProcessId()) + ".tmp";
    {
        FileHandle file(::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr));
        if (!file) {
            LogEvent("write probe " + probe + " cannot be created (error " + std::to_string(::GetLastError()) + ")");
            return false;
        }
    }  // closed before it is deleted
    // Replacing the program deletes and renames too.
    if (!::DeleteFileA(probe.c_str())) {
        LogEvent("write probe " + probe + " cannot be deleted (error " + std::to_string(::GetLastError()) + ")");
        return false;
    }
    return true;
}

ElevatedLaunch LaunchElevatedCopy(HWND owner) {
    const Text program = ProgramDirectory() + "\\" + ProgramFileName();
    const Text directory = ProgramDirectory();
    SHELLEXECUTEINFOA execute{};
    execute.cbSize = sizeof execute;
    // This process ends right after the call: nothing may be left to finish
    // asynchronously.
    execute.fMask = SEE_MASK_NOASYNC;
    execute.hwnd = owner;
    execute.lpVerb = "runas";
    execute.lpFile = program.c_str();
    execute.lpParameters = kElevatedCopyMarker;
    execute.lpDirectory = directory.c_str();
    execute.nShow = SW_SHOWNORMAL;
    LogEvent("runas " + program + " " + kElevatedCopyMarker);
    if (::ShellExecuteExA(&execute)) return ElevatedLaunch::Started;
    const DWORD error = ::GetLastError();
    if (error == ERROR_CANCELLED) return ElevatedLaunch::Cancelled;
    LogEvent("runas failed (error " + std::to_string(error) + ")");
    return ElevatedLaunch::Failed;
}

WriteAccess CheckProgramDirectoryWriteAccess(HWND owner) {
    const WriteAccessSteps steps{&DirectoryWritable, [owner]() { return LaunchElevatedCopy(owner); }};
    return CheckWriteAccess(ProgramDirectory(), HasElevatedCopyMarker(::GetCommandLineA()), steps);
}
