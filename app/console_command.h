// Running one command line through the command interpreter, hidden.
#pragma once

#include "runtime/value_types.h"

// "cmd.exe /c " (NT family) or "command.com /c " + command.
Text ConsoleCommandLine(const Text& command, int osKind);

// The interpreter's first output chunk (at most 1,023 bytes, up to its first
// zero byte), or the empty text once it ended without output. The calling
// thread's messages are served while it waits.
Text RunConsoleCommand(const Text& command);
