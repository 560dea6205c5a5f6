// Conversions between the value kinds: to text, to int, to real, to bytes.
// Texts fold full-width GBK digits, signs and spaces to ASCII before they are
// read as numbers. Every kind has its own overload; `const char*` has one too,
// because a literal would otherwise convert to bool rather than to Text.
#pragma once

#include "runtime/value_types.h"

#include <cstdint>
#include <type_traits>

// Full-width pairs A3 A1..A3 FE become ASCII; A1 A1, A1 AB, A1 EE, A1 EF
// become space, tilde and asterisk. Every other pair is kept.
Text FoldFullWidth(const Text& text);

Text ToText(std::uint8_t value);  // "%u"
Text ToText(std::int16_t value);  // "%d"
Text ToText(int value);           // "%d"
Text ToText(std::int64_t value);
Text ToText(float value);   // "%.6g"
Text ToText(double value);  // "%.13g"
Text ToText(bool value);    // "真" or "假"
// "YYYY年M月D日", followed by "H时M分S秒" when the time of day is not midnight.
Text ToText(DateTime value);
Text ToText(const Text& value);
Text ToText(const char* value);
// The bytes up to the first zero byte, or all of them.
Text ToText(const ByteArray& value);

// Integer types that are not one of the value kinds above (unsigned, long...).
template <typename T,
          std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
Text ToText(T value) {
    if constexpr (std::is_signed_v<T> || sizeof(T) < sizeof(std::int64_t)) {
        return ToText(static_cast<std::int64_t>(value));
    } else {
        return std::to_string(static_cast<unsigned long long>(value));
    }
}

// Text: full-width fold, then a leading decimal number as atoi reads it
// (white space, sign, digits; 0 when there is none; clamped to the int range).
int ToInteger(const Text& value);
int ToInteger(const char* value);
int ToInteger(std::uint8_t value);
int ToInteger(std::int16_t value);
int ToInteger(int value);
int ToInteger(std::int64_t value);  // low 32 bits
// Truncated toward zero; NaN and values outside the int range give INT_MIN,
// as the processor's own conversion does.
int ToInteger(float value);
int ToInteger(double value);
int ToInteger(bool value);
int ToInteger(DateTime value);          // 0
int ToInteger(const ByteArray& value);  // 0

template <typename T,
          std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
int ToInteger(T value) {
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

// A routine's address. Pointer-sized, so that it survives a 64-bit build.
template <typename Fn, std::enable_if_t<std::is_function_v<Fn>, int> = 0>
std::intptr_t ToInteger(Fn* routine) {
    return reinterpret_cast<std::intptr_t>(routine);
}

// Text: full-width fold, then atof parsing.
double ToReal(const Text& value);
double ToReal(const char* value);
double ToReal(std::uint8_t value);
double ToReal(std::int16_t value);
double ToReal(int value);
double ToReal(std::int64_t value);
double ToReal(float value);
double ToReal(double value);
double ToReal(bool value);
double ToReal(DateTime value);          // 0
double ToReal(const ByteArray& value);  // 0

template <typename T,
          std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
double ToReal(T value) {
    return static_cast<double>(value);
}

// A routine's address as an unsigned number.
template <typename Fn, std::enable_if_t<std::is_function_v<Fn>, int> = 0>
double ToReal(Fn* routine) {
    return static_cast<double>(reinterpret_cast<std::uintptr_t>(routine));
}

// Little-endian bytes of numbers; a text's bytes without a terminator.
ByteArray ToBytes(const Text& value);
ByteArray ToBytes(const char* value);
ByteArray ToBytes(std::uint8_t value);
ByteArray ToBytes(std::int16_t value);
ByteArray ToBytes(int value);
ByteArray ToBytes(std::int64_t value);
ByteArray ToBytes(float value);
ByteArray ToBytes(double value);
ByteArray ToBytes(bool value);  // 4 bytes: 1 or 0
ByteArray ToBytes(DateTime value);
ByteArray ToBytes(const ByteArray& value);

// An array of numbers: every element's bytes in order.
template <typename T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool> &&
                                           !std::is_same_v<T, std::uint8_t>,
                                       int> = 0>
ByteArray ToBytes(const std::vector<T>& values) {
    ByteArray bytes;
    for (const T& value : values) {
        const ByteArray one = ToBytes(value);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}
