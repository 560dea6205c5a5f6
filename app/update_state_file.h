// The state a signed build keeps between runs (see update_state.h), in
// updater.state beside the program, and the system's UTC clock.
#pragma once

#include <cstdint>

#include "app/update_state.h"

// updater.state in the program's directory.
Text UpdateStatePath();

// The state in `path`; an empty state when the file is missing, unreadable
// or damaged (a first run, not an error).
UpdateState ReadUpdateStateFile(const Text& path);

// Writes the state beside `path` and renames it over `path`, so a reader
// finds the old state or the new one, never a part. 0, or the system's
// error code of the failing step (the old state then stays).
std::uint32_t WriteUpdateStateFile(const Text& path, const UpdateState& state);

// Seconds since 1970-01-01T00:00:00Z by the system clock.
std::int64_t CurrentUtcSeconds();
