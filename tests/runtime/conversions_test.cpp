#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

void SomeRoutine() {}

TEST(FoldFullWidth, MapsFullWidthFormsAndKeepsOtherPairs) {
    EXPECT_EQ(FoldFullWidth("１２３"), "123");
    EXPECT_EQ(FoldFullWidth("\xA3\xAD\xA3\xB4"), "-4");
    EXPECT_EQ(FoldFullWidth("\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF"), " ~**");
    // A3 A0 and A3 FF lie outside the full-width row; other pairs stay.
    EXPECT_EQ(FoldFullWidth("\xA3\xA0\xA3\xFF真"), "\xA3\xA0\xA3\xFF真");
    // Stepping by characters: the trail A3 of B0 A3 does not start a pair.
    EXPECT_EQ(FoldFullWidth("\xB0\xA3\xB1"), "\xB0\xA3\xB1");
    EXPECT_EQ(FoldFullWidth("a\xA3"), "a\xA3");
}

TEST(ToText, Integers) {
    EXPECT_EQ(ToText(std::uint8_t{255}), "255");
    EXPECT_EQ(ToText(std::int16_t{-32768}), "-32768");
    EXPECT_EQ(ToText(-42), "-42");
    EXPECT_EQ(ToText(std::int64_t{-9223372036854775807LL - 1}), "-9223372036854775808");
    EXPECT_EQ(ToText(4000000000u), "4000000000");
    EXPECT_EQ(ToText(18446744073709551615ull), "18446744073709551615");
}

TEST(ToText, RealsUseSignificantDigits) {
    EXPECT_EQ(ToText(1.0), "1");
    EXPECT_EQ(ToText(12.5), "12.5");
    EXPECT_EQ(ToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(ToText(1.0 / 3.0), "0.3333333333333");
    EXPECT_EQ(ToText(1e20), "1e+20");
    EXPECT_EQ(ToText(-0.000125), "-0.000125");
    EXPECT_EQ(ToText(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(ToText(16777216.0f), "1.67772e+07");
}

TEST(ToText, BoolTextsBytesAndDates) {
    EXPECT_EQ(ToText(true), "真");
    EXPECT_EQ(ToText(false), "假");
    EXPECT_EQ(ToText("abc"), "abc");  // not taken for a bool
    EXPECT_EQ(ToText(Text("x")), "x");
    EXPECT_EQ(ToText(ByteArray{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(ToText(ByteArray{'a', 'b'}), "ab");
    EXPECT_EQ(ToText(ByteArray{}), "");
    EXPECT_EQ(ToText(DateTime{0.0}), "1899年12月30日");
    EXPECT_EQ(ToText(DateTime{45658.5}), "2025年1月1日12时0分0秒");
    EXPECT_EQ(ToText(DateTime{-1.25}), "1899年12月29日6时0分0秒");
}

TEST(ToInteger, TextsReadTheLeadingNumberAfterTheFold) {
    EXPECT_EQ(ToInteger(Text("１２３")), 123);
    EXPECT_EQ(ToInteger("  -17abc"), -17);  // literal, not a bool
    EXPECT_EQ(ToInteger("\xA1\xA1\xA3\xAB\xA3\xB5"), 5);
    EXPECT_EQ(ToInteger("+8"), 8);
    EXPECT_EQ(ToInteger("\t\n 12 3"), 12);
    EXPECT_EQ(ToInteger(""), 0);
    EXPECT_EQ(ToInteger("abc"), 0);
    EXPECT_EQ(ToInteger("- 5"), 0);
    EXPECT_EQ(ToInteger("99999999999"), INT_MAX);
    EXPECT_EQ(ToInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(ToInteger("-99999999999"), INT_MIN);
}

TEST(ToInteger, NumbersTruncateTowardZero) {
    EXPECT_EQ(ToInteger(-2.7), -2);
    EXPECT_EQ(ToInteger(2.7), 2);
    EXPECT_EQ(ToInteger(2.9f), 2);
    EXPECT_EQ(ToInteger(std::int64_t{0x123456789LL}), 0x23456789);
    EXPECT_EQ(ToInteger(std::int64_t{-1}), -1);
    EXPECT_EQ(ToInteger(std::uint8_t{200}), 200);
    EXPECT_EQ(ToInteger(std::int16_t{-3}), -3);
    EXPECT_EQ(ToInteger(true), 1);
    EXPECT_EQ(ToInteger(false), 0);
    EXPECT_EQ(ToInteger(1e300), INT_MIN);
    EXPECT_EQ(ToInteger(std::nan("")), INT_MIN);
    EXPECT_EQ(ToInteger(DateTime{3.5}), 0);
    EXPECT_EQ(ToInteger(ByteArray{1, 2}), 0);
    EXPECT_EQ(ToInteger(&SomeRoutine), reinterpret_cast<std::intptr_t>(&SomeRoutine));
}

TEST(ToReal, TextsAndNumbers) {
    EXPECT_DOUBLE_EQ(ToReal("3.25xyz"), 3.25);
    EXPECT_DOUBLE_EQ(ToReal(Text("－１．５")), -1.5);
    EXPECT_DOUBLE_EQ(ToReal("  1e3"), 1000.0);
    EXPECT_EQ(ToReal(""), 0.0);
    EXPECT_EQ(ToReal(7), 7.0);
    EXPECT_EQ(ToReal(std::int64_t{1} << 40), 1099511627776.0);
    EXPECT_EQ(ToReal(0.1f), static_cast<double>(0.1f));
    EXPECT_EQ(ToReal(true), 1.0);
    EXPECT_EQ(ToReal(DateTime{2.0}), 0.0);
    EXPECT_EQ(ToReal(&SomeRoutine), static_cast<double>(reinterpret_cast<std::uintptr_t>(&SomeRoutine)));
}

TEST(ToBytes, LittleEndianWidthsAndTexts) {
    EXPECT_EQ(ToBytes(Text("ab")), (ByteArray{'a', 'b'}));
    EXPECT_EQ(ToBytes("ab"), (ByteArray{'a', 'b'}));
    EXPECT_TRUE(ToBytes(Text()).empty());
    EXPECT_EQ(ToBytes(std::uint8_t{7}), (ByteArray{7}));
    EXPECT_EQ(ToBytes(std::int16_t{-2}), (ByteArray{0xFE, 0xFF}));
    EXPECT_EQ(ToBytes(0x01020304), (ByteArray{4, 3, 2, 1}));
    EXPECT_EQ(ToBytes(std::int64_t{0x0102030405060708LL}), (ByteArray{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(ToBytes(1.0f), (ByteArray{0, 0, 0x80, 0x3F}));
    EXPECT_EQ(ToBytes(1.0), (ByteArray{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(ToBytes(DateTime{1.0}), ToBytes(1.0));
    EXPECT_EQ(ToBytes(true), (ByteArray{1, 0, 0, 0}));
    EXPECT_EQ(ToBytes(false), (ByteArray{0, 0, 0, 0}));
    EXPECT_EQ(ToBytes(ByteArray{0, 9}), (ByteArray{0, 9}));
    EXPECT_EQ(ToBytes(std::vector<int>{1, -1}), (ByteArray{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ToBytes(std::vector<std::int16_t>{0x0102}), (ByteArray{2, 1}));
}

}  // namespace
