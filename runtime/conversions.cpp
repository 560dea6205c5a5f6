#include "runtime/conversions.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned char kFullWidthRow = 0xA3;     // A3 A1..A3 FE: full-width ASCII
constexpr unsigned char kSymbolRow = 0xA1;        // A1 xx: spaces and symbols
constexpr unsigned char kFullWidthFirst = 0xA1;
constexpr unsigned char kFullWidthLast = 0xFE;

template <typename... Args>
Text Format(const char* format, Args... args) {
    char buffer[64];
    const int written = std::snprintf(buffer, sizeof buffer, format, args...);
    if (written < 0) return Text();
    return Text(buffer, std::min(static_cast<std::size_t>(written), sizeof buffer - 1));
}

template <typename Unsigned>
ByteArray LittleEndian(Unsigned value) {
    ByteArray bytes(sizeof(Unsigned));
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Proleptic Gregorian date of a day number counted from 1970-01-01.
void CivilFromDays(long long z, long long& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

constexpr long long kDaysFrom1899To1970 = 25569;
// Dates outside this span (years 100 to 9999) are clamped, as when they are read.
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958465.0;

}  // namespace

Text FoldFullWidth(const Text& text) {
    Text folded;
    folded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80 || at + 1 >= text.size()) {
            folded += text[at];
            ++at;
            continue;
        }
        const auto trail = static_cast<unsigned char>(text[at + 1]);
        if (lead == kFullWidthRow && trail >= kFullWidthFirst && trail <= kFullWidthLast) {
            folded += static_cast<char>(trail & 0x7F);
        } else if (lead == kSymbolRow && trail == 0xA1) {
            folded += ' ';
        } else if (lead == kSymbolRow && trail == 0xAB) {
            folded += '~';
        } else if (lead == kSymbolRow && (trail == 0xEE || trail == 0xEF)) {
            folded += '*';
        } else {
            folded.append(text, at, 2);
        }
        at += 2;
    }
    return folded;
}

Text ToText(std::uint8_t value) { return std::to_string(value); }
Text ToText(std::int16_t value) { return std::to_string(value); }
Text ToText(int value) { return std::to_string(value); }
Text ToText(std::int64_t value) { return std::to_string(static_cast<long long>(value)); }
Text ToText(float value) { return Format("%.6g", static_cast<double>(value)); }
Text ToText(double value) { return Format("%.13g", value); }
Text ToText(bool value) { return value ? "真" : "假"; }
Text ToText(const Text& value) { return value; }
Text ToText(const char* value) { return value ? Text(value) : Text(); }

Text ToText(DateTime value) {
    double days = value.days;
    if (std::isnan(days)) days = 0.0;
    days = std::min(std::max(days, kFirstDate), kLastDate);
    // Before 1899-12-30 the whole part counts back while the fraction is still
    // the time of day: -1.25 is 1899-12-29 06:00.
    const double whole = std::trunc(days);
    long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
    long long dayNumber = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += days < 0 ? -1 : 1;
    }
    long long year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(dayNumber - kDaysFrom1899To1970, year, month, day);
    Text text = std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
    if (seconds != 0) {
        text += std::to_string(seconds / 3600) + "时" + std::to_string(seconds / 60 % 60) + "分" +
                std::to_string(seconds % 60) + "秒";
    }
    return text;
}

Text ToText(const ByteArray& value) {
    Text text;
    for (std::uint8_t byte : value) {
        if (byte == 0) break;
        text += static_cast<char>(byte);
    }
    return text;
}

int ToInteger(const Text& value) {
    const Text folded = FoldFullWidth(value);
    std::size_t at = 0;
    while (at < folded.size() && IsCSpace(folded[at])) ++at;
    bool negative = false;
    if (at < folded.size() && (folded[at] == '+' || folded[at] == '-')) {
        negative = folded[at] == '-';
        ++at;
    }
    // Accumulate as a magnitude and clamp, as strtol does with a 32-bit long.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; at < folded.size() && folded[at] >= '0' && folded[at] <= '9'; ++at) {
        magnitude = std::min(magnitude * 10 + (folded[at] - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ToInteger(const char* value) { return ToInteger(value ? Text(value) : Text()); }
int ToInteger(std::uint8_t value) { return value; }
int ToInteger(std::int16_t value) { return value; }
int ToInteger(int value) { return value; }
int ToInteger(std::int64_t value) { return static_cast<int>(static_cast<std::uint32_t>(value)); }
int ToInteger(float value) { return ToInteger(static_cast<double>(value)); }

int ToInteger(double value) {
    const double truncated = std::trunc(value);
    if (!(truncated >= static_cast<double>(INT_MIN) && truncated <= static_cast<double>(INT_MAX))) {
        return INT_MIN;
    }
    return static_cast<int>(truncated);
}

int ToInteger(bool value) { return value ? 1 : 0; }
int ToInteger(DateTime) { return 0; }
int ToInteger(const ByteArray&) { return 0; }

double ToReal(const Text& value) { return std::atof(FoldFullWidth(value).c_str()); }
double ToReal(const char* value) { return ToReal(value ? Text(value) : Text()); }
double ToReal(std::uint8_t value) { return value; }
double ToReal(std::int16_t value) { return value; }
double ToReal(int value) { return value; }
double ToReal(std::int64_t value) { return static_cast<double>(value); }
double ToReal(float value) { return value; }
double ToReal(double value) { return value; }
double ToReal(bool value) { return value ? 1.0 : 0.0; }
double ToReal(DateTime) { return 0.0; }
double ToReal(const ByteArray&) { return 0.0; }

ByteArray ToBytes(const Text& value) { return ByteArray(value.begin(), value.end()); }
ByteArray ToBytes(const char* value) { return ToBytes(value ? Text(value) : Text()); }
ByteArray ToBytes(std::uint8_t value) { return ByteArray{value}; }
ByteArray ToBytes(std::int16_t value) { return LittleEndian(static_cast<std::uint16_t>(value)); }
ByteArray ToBytes(int value) { return LittleEndian(static_cast<std::uint32_t>(value)); }
ByteArray ToBytes(std::int64_t value) { return LittleEndian(static_cast<std::uint64_t>(value)); }

ByteArray ToBytes(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return LittleEndian(bits);
}

ByteArray ToBytes(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return LittleEndian(bits);
}

ByteArray ToBytes(bool value) { return LittleEndian(static_cast<std::uint32_t>(value ? 1 : 0)); }
ByteArray ToBytes(DateTime value) { return ToBytes(value.days); }
ByteArray ToBytes(const ByteArray& value) { return value; }
