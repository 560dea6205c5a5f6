// Write access to the installation directory before an update changes it:
// a probe file, and when that fails one restart of the updater with
// administrator rights ("runas"). The restarted copy carries a marker
// argument so that it never asks again.
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/value_types.h"

constexpr char kElevatedCopyMarker[] = "--elevated-copy";

// Whether an argument after the program name (the first, possibly quoted,
// token) is the marker.
bool HasElevatedCopyMarker(const Text& commandLine);

enum class ElevatedLaunch {
    Started,    // the elevated copy runs; this one ends
    Cancelled,  // the user declined the prompt
    Failed,     // anything else
};

enum class WriteAccess {
    Granted,    // the directory is writable: go on with the update
    Restarted,  // an elevated copy takes over: end without changing anything
    Refused,    // cannot write and no elevated copy will: say so, change nothing
};

struct WriteAccessSteps {
    std::function<bool(const Text& directory)> directoryWritable;
    std::function<ElevatedLaunch()> launchElevatedCopy;
};

// The decision, with the probe and the launcher given (tests inject them);
// each step goes to updater.log.
WriteAccess CheckWriteAccess(const Text& directory, bool elevatedCopy, const WriteAccessSteps& steps);

// The real steps: a probe file created and deleted in the directory, and
// ShellExecuteEx "runas" of this program with the marker, in its directory
// (the prompt owned by `owner`).
bool DirectoryWritable(const Text& directory);
ElevatedLaunch LaunchElevatedCopy(HWND owner);

// CheckWriteAccess for the program's directory with the real steps and this
// process's command line.
WriteAccess CheckProgramDirectoryWriteAccess(HWND owner);
