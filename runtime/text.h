// Text operations on GBK byte strings. Positions are 1-based byte positions;
// "character-aware" operations step over double-byte characters (a byte of
// 0x80 or more opens a pair) and never start a match on a trail byte.
#pragma once

#include "runtime/value_types.h"

#include <climits>
#include <optional>

constexpr int kUnlimited = -1;

int TextLength(const Text& text);
Text TextLeft(const Text& text, int n);
Text TextRight(const Text& text, int n);
Text TextMiddle(const Text& text, int start, int n);
Text CharText(std::uint8_t code);

// 1-based position of the first match at or after start, or -1.
int FindInText(const Text& text, const Text& sought, int start = 1, bool ignoreCase = false);
// Last match lying entirely within the first start - 1 bytes (whole text when
// start is left out, INT_MAX), or -1. Matches may overlap.
int FindInTextBackward(const Text& text, const Text& sought, int start = INT_MAX,
                       bool ignoreCase = false);

Text ToLowerCase(const Text& text);
Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);
// count kUnlimited replaces every match.
Text ReplaceInText(const Text& text, const Text& find, const Text& replacement = Text(),
                   int start = 1, int count = kUnlimited, bool caseSensitive = false);
// Without a maximum every member is kept; a maximum below 1 keeps none.
TextArray SplitInText(const Text& text, const Text& delimiter = ",",
                      std::optional<int> maximum = std::nullopt);
Text SpaceText(int n);
Text TextAtAddress(const char* address);

// 1-based member access with the runtime's range checks (fatal codes 4 and 1).
const Text& TextArrayMember(const TextArray& array, int number);
