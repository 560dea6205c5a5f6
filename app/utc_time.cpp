#include "app/utc_time.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kFirstYear = 1970, kLastYear = 9999;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;  // y >= 1969 here, so no negative division
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

// The decimal number of `count` digits at `at`; -1 when one is not a digit.
int Digits(const Text& text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

void AppendNumber(Text& text, std::int64_t value, int width) {
    Text digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    text += digits;
}

}  // namespace

std::optional<std::int64_t> ParseUtcTime(const Text& text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (year < kFirstYear || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

Text FormatUtcTime(std::int64_t seconds) {
    if (seconds < 0 || seconds >= DaysFromCivil(kLastYear + 1, 1, 1) * kSecondsPerDay) return "?";
    std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t inDay = seconds % kSecondsPerDay;
    int year = kFirstYear;
    while (days >= (IsLeapYear(year) ? 366 : 365)) days -= IsLeapYear(year++) ? 366 : 365;
    int month = 1;
    while (days >= DaysInMonth(year, month)) days -= DaysInMonth(year, month++);
    Text text;
    AppendNumber(text, year, 4);
    text += '-';
    AppendNumber(text, month, 2);
    text += '-';
    AppendNumber(text, days + 1, 2);
    text += 'T';
    AppendNumber(text, inDay / 3600, 2);
    text += ':';
    AppendNumber(text, inDay / 60 % 60, 2);
    text += ':';
    AppendNumber(text, inDay % 60, 2);
    text += 'Z';
    return text;
}
