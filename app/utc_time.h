// Points in time as a manifest publishes them (portable): UTC seconds since
// 1970-01-01T00:00:00Z, written as "YYYY-MM-DDThh:mm:ssZ".
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

// Exactly "YYYY-MM-DDThh:mm:ssZ" (20 characters) with a real date of the
// years 1970 to 9999 and a time of 00:00:00 to 23:59:59; none for anything
// else (no other zone, no fraction, no white space, no leap second).
std::optional<std::int64_t> ParseUtcTime(const Text& text);

// The text of a time from 1970 to 9999 in the form ParseUtcTime reads; "?"
// for anything outside.
Text FormatUtcTime(std::int64_t seconds);
