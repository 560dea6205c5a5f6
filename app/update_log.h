// updater.log beside the program: what each update decided, asked, received
// and showed, one line per event:
//   YYYY-MM-DD hh:mm:ss.mmm [thread id] event
// Texts are written as they are (GBK), lines end with CRLF. When the log
// would grow past its bound it is renamed to updater.log.1 (replacing an
// older one) and a new log begins. A log that cannot be written is skipped;
// it never stops an update.
#pragma once

#include <cstdint>

#include "runtime/value_types.h"

constexpr std::int64_t kUpdateLogLimit = 256 * 1024;

void LogEvent(const Text& event);

// The exit code of an orderly end, logged once; the exit clean-up logs an end
// through the closed main window when no code was logged before.
void LogExit(int exitCode);
void LogEndWithoutCode();

// The log's file: updater.log in the program's directory unless set (tests).
Text UpdateLogPath();
void SetUpdateLogPath(const Text& path);
