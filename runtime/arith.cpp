#include "runtime/arith.h"

#include "runtime/fatal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>

namespace {

// Fractions beyond this are taken for representation error of the next integer.
constexpr double kFloorSnap = 0.999999999999;
// Added before rounding so that 1.005 (stored just below) rounds up at 2 decimals.
constexpr double kRoundNudge = 1e-12;

constexpr std::uint32_t kLcgMultiplier = 214013;
constexpr std::uint32_t kLcgIncrement = 2531011;
constexpr int kMaxSpan = 2147483646;

std::uint32_t MonotonicMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::atomic<TickCountSource> gTickCountSource{&MonotonicMilliseconds};
std::atomic<std::uint32_t> gSeedCounter{0};
thread_local std::uint32_t tRandomState = 1;

int Draw() {
    tRandomState = tRandomState * kLcgMultiplier + kLcgIncrement;
    return static_cast<int>((tRandomState >> 16) & 0x7FFF);
}

void CheckDivisor(double divisor, const char* message) {
    if (divisor == 0.0) FatalRuntimeError(message);
}

}  // namespace

double IntDivide(double a, double b, std::initializer_list<double> furtherDivisors) {
    const char* const message = "不能整除于零";
    CheckDivisor(b, message);
    double result = std::trunc(a / b);
    for (double divisor : furtherDivisors) {
        CheckDivisor(divisor, message);
        result = std::trunc(result / divisor);
    }
    return result;
}

double Remainder(double a, double b, std::initializer_list<double> furtherDivisors) {
    const char* const message = "不能求余数于零";
    CheckDivisor(b, message);
    double result = std::fmod(a, b);
    for (double divisor : furtherDivisors) {
        CheckDivisor(divisor, message);
        result = std::fmod(result, divisor);
    }
    return result;
}

double Absolute(double x) { return std::fabs(x); }

int FloorToInt(double x) {
    double integerPart = 0.0;
    const double fraction = std::modf(x, &integerPart);
    if (std::fabs(fraction) > kFloorSnap) x = std::round(x);
    const double floored = std::floor(x);
    if (!(floored >= static_cast<double>(INT_MIN) && floored <= static_cast<double>(INT_MAX))) return INT_MIN;
    return static_cast<int>(floored);
}

double RoundTo(double x, int decimals) {
    if (x == 0.0) return 0.0;
    const double a = std::fabs(x);
    const double scale = std::pow(10.0, static_cast<double>(std::abs(static_cast<long long>(decimals))));
    const double v = decimals > 0 ? a * scale : decimals < 0 ? a / scale : a;
    const double w = v + kRoundNudge;
    double r = 0.0;
    const double fraction = std::modf(w, &r);
    if (fraction >= 0.5) r += 1.0;
    const double result = decimals > 0 ? r / scale : decimals < 0 ? r * scale : r;
    return x < 0 ? -result : result;
}

double Sine(double x) { return std::sin(x); }
double Cosine(double x) { return std::cos(x); }

TickCountSource SetTickCountSource(TickCountSource source) {
    return gTickCountSource.exchange(source ? source : &MonotonicMilliseconds);
}

std::uint32_t TickCount() { return gTickCountSource.load()(); }

void SeedRandom(int seed) { tRandomState = static_cast<std::uint32_t>(seed); }

void SeedRandom() {
    const std::uint32_t ticks = TickCount();
    std::uint32_t counter = gSeedCounter.load(std::memory_order_relaxed);
    std::uint32_t seed = 0;
    // The counter is shared by all threads; the exchange keeps two threads
    // from taking the same counter value.
    do {
        seed = ticks + counter;
    } while (!gSeedCounter.compare_exchange_weak(counter, counter + (seed & 0xFF) + 100,
                                                 std::memory_order_relaxed));
    tRandomState = seed;
}

int RandomInRange(int min, int max) {
    min = std::max(min, 0);
    max = std::max(max, 0);
    const int lo = std::min(min, max);
    const int hi = std::max(min, max);
    if (lo == hi) return lo;
    const int span = std::min(hi - lo, kMaxSpan);
    return lo + Draw() % (span + 1);
}
