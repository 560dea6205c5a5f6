// SHA-256 of a file, computed with the platform's hashing (CNG).
#pragma once

#include <optional>

#include "runtime/files.h"
#include "runtime/value_types.h"

// 64 lower-case hexadecimal digits; none when the file cannot be read or the
// hash cannot be made.
std::optional<Text> FileSha256(const Text& path);
// The same of a held file, read from its start through its own handle.
std::optional<Text> FileSha256(SealedFile& file);
