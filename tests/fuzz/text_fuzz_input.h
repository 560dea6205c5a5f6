// Splits a fuzz input into small parameters and two texts for the text
// operation targets, and knows the character walk that the checks rely on.
#pragma once

#include "runtime/value_types.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Layout: flags, start (signed), count (signed), needle length, needle, text.
struct TextFuzzInput {
    std::uint8_t flags = 0;
    int start = 1;
    int count = -1;
    Text needle;
    Text text;
};

inline TextFuzzInput SplitTextFuzzInput(const std::uint8_t* data, std::size_t size) {
    TextFuzzInput input;
    if (size < 4) {
        input.text.assign(reinterpret_cast<const char*>(data), size);
        return input;
    }
    input.flags = data[0];
    input.start = static_cast<std::int8_t>(data[1]);
    input.count = static_cast<std::int8_t>(data[2]);
    const std::size_t needleLength = std::min<std::size_t>(data[3] % 8, size - 4);
    input.needle.assign(reinterpret_cast<const char*>(data + 4), needleLength);
    input.text.assign(reinterpret_cast<const char*>(data + 4 + needleLength), size - 4 - needleLength);
    return input;
}

// 0-based offsets the character walk visits from `begin`, in order.
inline std::vector<std::size_t> CharacterStarts(const Text& text, std::size_t begin) {
    std::vector<std::size_t> starts;
    for (std::size_t at = begin; at < text.size();) {
        starts.push_back(at);
        at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
    }
    return starts;
}

inline char FoldForCheck(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool MatchesForCheck(const Text& text, std::size_t at, const Text& needle, bool ignoreCase) {
    if (at + needle.size() > text.size()) return false;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        const char a = text[at + i];
        const char b = needle[i];
        if (ignoreCase ? FoldForCheck(a) != FoldForCheck(b) : a != b) return false;
    }
    return true;
}

#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
