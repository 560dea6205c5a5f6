// Cutting the text between two markers.
#pragma once

#include "runtime/value_types.h"

// The text from the end of the first startMarker (at or after startPosition;
// below 1 searches from the beginning) up to the first endMarker after it;
// empty when either is missing. "#引号" in a marker stands for a double quote.
Text TextBetween(const Text& source, const Text& startMarker, const Text& endMarker,
                 int startPosition = 0, bool ignoreCase = false);
