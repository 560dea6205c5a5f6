// Texts to wide strings and back, and the text members that use them.
#include <gtest/gtest.h>

#include "gdip/font.h"
#include "gdip/text_convert.h"
#include "tests/gdip/gdip_session.h"

namespace {

TEST(TextConvert, EmptyTextGivesAnEmptyArrayAndANullPointer) {
    ByteArray wide = ToWide("");
    EXPECT_TRUE(wide.empty());
    EXPECT_EQ(WidePointer(wide), nullptr);
    EXPECT_EQ(WideLength(wide), 0);
    EXPECT_EQ(FromWide(nullptr), "");
    EXPECT_EQ(FromWide(L""), "");
}

TEST(TextConvert, GbkTextBecomesATerminatedWideStringAndComesBack) {
    Text face = "宋体 12";  // GBK bytes
    ByteArray wide = ToWide(face);
    ASSERT_EQ(wide.size(), 6u * 2);  // five characters and the terminator
    const wchar_t* chars = WidePointer(wide);
    EXPECT_EQ(chars[0], 0x5B8B);
    EXPECT_EQ(chars[1], 0x4F53);
    EXPECT_EQ(chars[4], L'2');
    EXPECT_EQ(chars[5], 0);
    EXPECT_EQ(WideLength(wide), 5);
    EXPECT_EQ(FromWide(chars), face);
}

TEST(FontMembers, FontByNameReportsItsSizeStyleAndFamily) {
    GdipFont font;
    ASSERT_TRUE(font.CreateFontByName("宋体", 13, Gdiplus::FontStyleBold));
    EXPECT_FLOAT_EQ(font.GetFontSize(), 13);
    EXPECT_EQ(font.GetFontStyle(), Gdiplus::FontStyleBold);
    EXPECT_EQ(font.GetFontUnit(), Gdiplus::UnitPixel);
    GdipFontFamily family;
    ASSERT_TRUE(font.GetFamily(family));
    EXPECT_FALSE(family.GetFamilyName().empty());
    EXPECT_EQ(GdipLastStatus, Gdiplus::Ok);
    EXPECT_GT(family.GetEmHeight(0), 0);

    GdipFont missing;
    EXPECT_FALSE(missing.CreateFontByName("", 12));
    EXPECT_EQ(missing.GetHandle(), 0u);
}

TEST(FontMembers, FontFromGdiFontAndFromTheDeviceContext) {
    HDC screen = ::GetDC(nullptr);
    HFONT gdiFont = ::CreateFontA(-20, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    GdipFont font;
    ASSERT_TRUE(font.CreateFontFromHfont(screen, gdiFont));
    EXPECT_EQ(font.GetFontStyle() & Gdiplus::FontStyleItalic, Gdiplus::FontStyleItalic);
    EXPECT_NEAR(font.GetFontSize(), 20, 1);
    ::DeleteObject(gdiFont);

    GdipFont fromDc;  // no font handle: the DC's own font
    EXPECT_TRUE(fromDc.CreateFontFromHfont(screen, nullptr));
    ::ReleaseDC(nullptr, screen);

    GdipFont gui;
    EXPECT_TRUE(gui.CreateDefaultGuiFont());
    EXPECT_GT(gui.GetFontSize(), 0);
}

}  // namespace
