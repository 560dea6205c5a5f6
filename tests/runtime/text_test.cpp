#include "runtime/text.h"

#include "tests/runtime/fatal_capture.h"

#include <gtest/gtest.h>

namespace {

// A double-byte character whose trail byte is 'B' (0x42), and one whose
// trail byte is 0xA1 (half of a full-width space if read misaligned).
const Text kTrailB = "\x81\x42";
const Text kTrailA1 = "\xB0\xA1";
const Text kFullSpace = "\xA1\xA1";

TEST(TextCuts, LeftRightMiddleCutAtBytesAndClamp) {
    EXPECT_EQ(TextLength("abc"), 3);
    EXPECT_EQ(TextLength("真"), 2);
    EXPECT_EQ(TextLeft("abc", 0), "");
    EXPECT_EQ(TextLeft("abc", -1), "");
    EXPECT_EQ(TextLeft("abc", 2), "ab");
    EXPECT_EQ(TextLeft("abc", 9), "abc");
    EXPECT_EQ(TextRight("abc", -3), "");
    EXPECT_EQ(TextRight("abc", 2), "bc");
    EXPECT_EQ(TextRight("abc", 9), "abc");
    EXPECT_EQ(TextMiddle("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextMiddle("abcdef", 5, 10), "ef");
    EXPECT_EQ(TextMiddle("abcdef", 0, 2), "");
    EXPECT_EQ(TextMiddle("abcdef", 7, 2), "");
    EXPECT_EQ(TextMiddle("abcdef", 6, 1), "f");
    EXPECT_EQ(TextMiddle("abcdef", 2, 0), "");
    EXPECT_EQ(TextMiddle("abcdef", 2, -1), "");
}

TEST(TextCuts, LeftCanSplitADoubleByteCharacter) {
    const Text left = TextLeft("a真", 2);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(left[1]), 0xD5);
}

TEST(TextMisc, CharSpaceAndAddress) {
    EXPECT_EQ(CharText(0), "");
    EXPECT_EQ(CharText('A'), "A");
    EXPECT_EQ(CharText(0xFF), "\xFF");
    EXPECT_EQ(SpaceText(3), "   ");
    EXPECT_EQ(SpaceText(0), "");
    EXPECT_EQ(SpaceText(-2), "");
    EXPECT_EQ(TextAtAddress(nullptr), "");
    EXPECT_EQ(TextAtAddress(""), "");
    const char bytes[] = {'h', 'i', 0, 'x', 0};
    EXPECT_EQ(TextAtAddress(bytes), "hi");
}

TEST(FindInText, EmptySoughtAndRanges) {
    EXPECT_EQ(FindInText("abc", ""), 1);
    EXPECT_EQ(FindInText("abc", "", 3), 1);  // 1 even when the search begins later
    EXPECT_EQ(FindInText("", ""), -1);
    EXPECT_EQ(FindInText("abc", "", 10), -1);
    EXPECT_EQ(FindInText("abc", "a", 10), -1);
    EXPECT_EQ(FindInText("abc", "c", 4), -1);
    EXPECT_EQ(FindInText("abc", "c", 3), 3);
    EXPECT_EQ(FindInText("", "a"), -1);
}

TEST(FindInText, FirstMatchAtOrAfterStart) {
    EXPECT_EQ(FindInText("a.b.c", "."), 2);
    EXPECT_EQ(FindInText("a.b.c", ".", 3), 4);
    EXPECT_EQ(FindInText("a.b.c", ".", 0), 2);
    EXPECT_EQ(FindInText("a.b.c", ".", -5), 2);
    EXPECT_EQ(FindInText("a.b.c", "x"), -1);
    EXPECT_EQ(FindInText("abc", "abcd"), -1);
    EXPECT_EQ(FindInText("abc", "abc"), 1);
}

TEST(FindInText, IgnoreCaseFoldsAsciiOnly) {
    EXPECT_EQ(FindInText("xHeLLo", "hello"), -1);
    EXPECT_EQ(FindInText("xHeLLo", "hello", 1, true), 2);
    EXPECT_EQ(FindInText("[Ver]", "[VER]", 1, true), 1);
    // The lead byte D5 and the byte F5 differ by 0x20 but are not letters.
    EXPECT_EQ(FindInText("\xD5\xE6", "\xF5\xE6", 1, true), -1);
}

TEST(FindInText, NeverStartsOnATrailByte) {
    EXPECT_EQ(FindInText("a" + kTrailB, "B"), -1);
    EXPECT_EQ(FindInText("a" + kTrailB, "b", 1, true), -1);
    EXPECT_EQ(FindInText("a" + kTrailB + "B", "B"), 4);
    EXPECT_EQ(FindInText("真的", "的"), 3);
    // A match may still start on a lone lead byte at the end.
    EXPECT_EQ(FindInText("a\x81", "\x81"), 2);
}

TEST(FindInTextBackward, LastMatchWithinFirstStartMinusOneBytes) {
    EXPECT_EQ(FindInTextBackward("a.b.c", "."), 4);
    EXPECT_EQ(FindInTextBackward("a.b.c", ".", 4), 2);
    EXPECT_EQ(FindInTextBackward("a.b.c", ".", 5), 4);
    EXPECT_EQ(FindInTextBackward("a.b.c", ".", 1), -1);
    EXPECT_EQ(FindInTextBackward("a.b.c", ".", 0), -1);
    EXPECT_EQ(FindInTextBackward("a.b.c", ".", 99), 4);
    EXPECT_EQ(FindInTextBackward("a.b.c", "", 2), 1);
    EXPECT_EQ(FindInTextBackward("", ""), -1);
    EXPECT_EQ(FindInTextBackward("a.b.c", "x"), -1);
}

TEST(FindInTextBackward, OverlappingMatchesAndTrailBytes) {
    EXPECT_EQ(FindInTextBackward("aaaa", "aa"), 3);
    EXPECT_EQ(FindInTextBackward("ABab", "ab", INT_MAX, true), 3);
    EXPECT_EQ(FindInTextBackward("B" + kTrailB, "B"), 1);
}

TEST(ToLowerCase, FoldsAsciiAndLeavesPairsAlone) {
    EXPECT_EQ(ToLowerCase("AbC-Z"), "abc-z");
    // The trail byte 'B' of a pair stays upper case.
    EXPECT_EQ(ToLowerCase("A" + kTrailB + "B"), "a" + kTrailB + "b");
    EXPECT_EQ(ToLowerCase("A\x81"), "a\x81");
}

TEST(TrimSpaces, AsciiAndFullWidthSpacesAtBothEnds) {
    EXPECT_EQ(TrimSpaces("  ab c  "), "ab c");
    EXPECT_EQ(TrimSpaces(kFullSpace + " x" + kFullSpace + "y " + kFullSpace), "x" + kFullSpace + "y");
    EXPECT_EQ(TrimSpaces("\tx\r\n"), "\tx\r\n");
    EXPECT_EQ(TrimSpaces(" \t x \n "), "\t x \n");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
}

TEST(TrimSpaces, StepsOverPairsAndDropsALoneLeadByte) {
    // B0 A1 then A1 ...: the second A1 is not the start of a full-width space.
    EXPECT_EQ(TrimSpaces(kTrailA1 + "\xA1\x41"), kTrailA1 + "\xA1\x41");
    EXPECT_EQ(TrimSpaces("x" + kTrailA1), "x" + kTrailA1);
    EXPECT_EQ(TrimSpaces(" x\x81"), "x");
    EXPECT_EQ(TrimSpaces(" x \x81"), "x");
}

TEST(RemoveSpaces, RemovesEverySpaceCharacter) {
    EXPECT_EQ(RemoveSpaces(" a b" + kFullSpace + "c "), "abc");
    EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
    EXPECT_EQ(RemoveSpaces(kTrailA1 + "\xA1\x41"), kTrailA1 + "\xA1\x41");
    EXPECT_EQ(RemoveSpaces("a b\x81"), "ab");
}

TEST(ReplaceInText, ReturnsACopyWhenThereIsNothingToDo) {
    EXPECT_EQ(ReplaceInText("abc", "b", "x", 1, 0), "abc");
    EXPECT_EQ(ReplaceInText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceInText("", "a", "x"), "");
    EXPECT_EQ(ReplaceInText("abc", "c", "x", 4), "abc");
    // The copy keeps even a lone lead byte.
    EXPECT_EQ(ReplaceInText("ab\x81", "b", "x", 1, 0), "ab\x81");
}

TEST(ReplaceInText, ReplacesNonOverlappingMatchesFromStart) {
    EXPECT_EQ(ReplaceInText("a,b,c", ","), "abc");
    EXPECT_EQ(ReplaceInText("a,b,c", ",", ";"), "a;b;c");
    EXPECT_EQ(ReplaceInText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceInText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceInText("xxxx", "x", "y", 3), "xxyy");
    EXPECT_EQ(ReplaceInText("xxxx", "x", "y", -4), "yyyy");
    EXPECT_EQ(ReplaceInText("xxxx", "x", "y", 1, 2), "yyxx");
    EXPECT_EQ(ReplaceInText("xxxx", "x", "y", 2, 1), "xyxx");
    EXPECT_EQ(ReplaceInText("ab", "b", "xyz"), "axyz");
}

TEST(ReplaceInText, CaseFoldingIsTheDefault) {
    EXPECT_EQ(ReplaceInText("aAa", "a", "-"), "---");
    EXPECT_EQ(ReplaceInText("aAa", "a", "-", 1, kUnlimited, true), "-A-");
}

TEST(ReplaceInText, StepsOverPairsAndDropsALoneLeadByte) {
    EXPECT_EQ(ReplaceInText(kTrailB + "B", "B", "x"), kTrailB + "x");
    EXPECT_EQ(ReplaceInText("真的真", "真", "假"), "假的假");
    EXPECT_EQ(ReplaceInText("ab\x81", "b", "x"), "ax");
    EXPECT_EQ(ReplaceInText("ab\x81", "zz", "x"), "ab");
    EXPECT_EQ(ReplaceInText("ab\x81", "a", "x", 1, 1), "xb");
}

TEST(SplitInText, MembersBetweenDelimiters) {
    EXPECT_EQ(SplitInText("a,,b"), (TextArray{"a", "", "b"}));
    EXPECT_EQ(SplitInText(",a"), (TextArray{"", "a"}));
    EXPECT_EQ(SplitInText("a,"), (TextArray{"a"}));
    EXPECT_EQ(SplitInText(","), (TextArray{""}));
    EXPECT_EQ(SplitInText("abc"), (TextArray{"abc"}));
    EXPECT_TRUE(SplitInText("").empty());
    EXPECT_EQ(SplitInText("a\r\nb\r\n", "\r\n"), (TextArray{"a", "b"}));
    EXPECT_EQ(SplitInText("a<>b<", "<>"), (TextArray{"a", "b<"}));
}

TEST(SplitInText, MaximumAndEmptyDelimiter) {
    EXPECT_EQ(SplitInText("a,b,c", ",", 2), (TextArray{"a", "b"}));
    EXPECT_EQ(SplitInText("a,b,c", ",", 3), (TextArray{"a", "b", "c"}));
    EXPECT_EQ(SplitInText("a,b,c", ",", 1), (TextArray{"a"}));
    EXPECT_TRUE(SplitInText("a,b,c", ",", 0).empty());
    EXPECT_TRUE(SplitInText("a,b,c", ",", -2).empty());
    // Every negative maximum keeps none, -1 included; only no maximum keeps all.
    EXPECT_TRUE(SplitInText("a,b,c", ",", -1).empty());
    EXPECT_EQ(SplitInText("a,b,c", ",", std::nullopt).size(), 3u);
    EXPECT_EQ(SplitInText("a,b", ""), (TextArray{"a,b"}));
    EXPECT_TRUE(SplitInText("", "").empty());
}

TEST(SplitInText, StepsOverPairsAndKeepsALoneLeadByte) {
    EXPECT_EQ(SplitInText("a" + kTrailB + "Bc", "B"), (TextArray{"a" + kTrailB, "c"}));
    EXPECT_EQ(SplitInText("a,b\x81"), (TextArray{"a", "b\x81"}));
}

class TextArrayMemberTest : public FatalCapture {};

TEST_F(TextArrayMemberTest, OneBasedWithRangeChecks) {
    const TextArray array{"a", "b"};
    EXPECT_EQ(TextArrayMember(array, 1), "a");
    EXPECT_EQ(TextArrayMember(array, 2), "b");
    const CapturedFatal below = ExpectFatal([&] { TextArrayMember(array, 0); });
    EXPECT_EQ(below.code, kFatalIndexBelowOne);
    EXPECT_EQ(below.message, "数组成员引用下标必须大于等于1");
    const CapturedFatal above = ExpectFatal([&] { TextArrayMember(array, 3); });
    EXPECT_EQ(above.code, kFatalIndexAboveCount);
    EXPECT_EQ(above.message, "数组成员引用下标超出定义范围");
}

}  // namespace
