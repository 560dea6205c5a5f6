// Running one command line through the command interpreter, hidden.
#pragma once

#include <string>

#include "runtime/value_types.h"

struct ConsoleInterpreter {
    Text application;  // full path given to CreateProcess; empty: found by the search
    Text commandLine;
};

// NT family: cmd.exe of the system directory, named by its full path (a
// cmd.exe beside the program or in the current directory is never run), with
// /d (no AutoRun commands) and /c + command. Otherwise "command.com /c " +
// command. The command itself is passed unchanged.
ConsoleInterpreter ConsoleCommandLine(const Text& command, int osKind, const Text& systemDirectory);

// An environment block ("NAME=value" strings, each ending in a zero, then one
// more zero) without the variables called `name` in any case; the rest as it
// was, in its order.
std::wstring EnvironmentWithout(const wchar_t* block, const std::wstring& name);

// The interpreter's first output chunk (at most 1,023 bytes, up to its first
// zero byte), or the empty text once it ended without output. The calling
// thread's messages are served while it waits. The interpreter runs in the
// program's directory, without a variable CD in its environment (which would
// take the place of the interpreter's own %cd%).
Text RunConsoleCommand(const Text& command);
