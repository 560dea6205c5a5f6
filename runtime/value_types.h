// The value kinds every part of the program is written against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// GBK bytes without NUL; positions are 1-based byte positions. An empty text
// and an absent text are the same value.
using Text = std::string;

// Counted bytes that may contain zeros; empty and absent are the same value.
using ByteArray = std::vector<std::uint8_t>;

// 1-based in the program's own terms: read members through TextArrayMember.
using TextArray = std::vector<Text>;

// Days since 1899-12-30 00:00; the fraction is the time of day.
struct DateTime {
    double days = 0.0;
};
