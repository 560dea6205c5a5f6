// Arithmetic, bit, colour and random-number operations with the runtime's
// own edge rules: truncating division and fmod remainder that stop the
// program on a zero divisor, half-away-from-zero rounding, a floor that snaps
// values within 1e-12 of the next integer, and a per-thread LCG.
#pragma once

#include <cstdint>
#include <initializer_list>

// a / b truncated toward zero; each further divisor divides the truncated
// result again. A zero divisor is a fatal error.
double IntDivide(double a, double b, std::initializer_list<double> furtherDivisors = {});
// fmod(a, b), the sign of a; each further divisor applies to the previous
// result. A zero divisor is a fatal error.
double Remainder(double a, double b, std::initializer_list<double> furtherDivisors = {});

double Absolute(double x);
// NaN and results outside the int range give INT_MIN.
int FloorToInt(double x);
double RoundTo(double x, int decimals = 0);
double Sine(double x);
double Cosine(double x);

constexpr int BitNot(int x) { return ~x; }

template <typename... More>
constexpr int BitAnd(int a, int b, More... more) {
    return ((a & b) & ... & static_cast<int>(more));
}

template <typename... More>
constexpr int BitOr(int a, int b, More... more) {
    return ((a | b) | ... | static_cast<int>(more));
}

// Arithmetic shift by (n AND 31).
constexpr int ShiftRight(int x, int n) { return x >> (n & 31); }

// A COLORREF 0x00BBGGRR.
constexpr int RgbColor(int red, int green, int blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

// Milliseconds since some fixed point, wrapping at 2^32. The default is a
// portable monotonic clock; the Windows build installs GetTickCount.
using TickCountSource = std::uint32_t (*)();
TickCountSource SetTickCountSource(TickCountSource source);
std::uint32_t TickCount();

// The calling thread's generator state.
void SeedRandom(int seed);
// Seeds from TickCount plus a process-wide counter, so that two calls in the
// same millisecond still get different seeds.
void SeedRandom();
// A value from the smaller to the larger bound (negative bounds count as 0),
// never more than 32767 above the smaller bound.
int RandomInRange(int min = 0, int max = 2147483647);
