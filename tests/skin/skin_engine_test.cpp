// The engine's settings and the operations the updater calls at start.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "runtime/gdiplus_session.h"
#include "skin/window/skin_engine.h"

namespace {

SkinSettings Settings(SkinEngine& engine) {
    return engine.WithSettings([](SkinSettings& s) { return s; });
}

TEST(SkinEngine, StartsWithTheButtonFaceAndEmptyLists) {
    SkinEngine engine;
    SkinSettings s = Settings(engine);
    EXPECT_EQ(s.backColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(s.accentColour, 0x00DDCA22u);
    EXPECT_EQ(s.backMode, 0);
    EXPECT_TRUE(s.backImage.empty());
    EXPECT_EQ(engine.WithForms([](std::vector<FormSkin>& f) { return f.size(); }), 0u);
    EXPECT_EQ(engine.WithMemoryDcRegistry([](std::vector<HDC>& r) { return r.size(); }), 0u);
}

TEST(SkinEngine, OptionsResetWhatIsNotGiven) {
    SkinEngine engine;
    engine.SetOptions(1, 80);
    SkinSettings s = Settings(engine);
    EXPECT_EQ(s.controlBackAlpha, 80);
    EXPECT_EQ(s.controlBackAlphaSet, 1);
    EXPECT_EQ(s.trackOption, 1);
    engine.SetOptions(0, std::nullopt, 0);
    s = Settings(engine);
    EXPECT_EQ(s.skinControls, 0);
    EXPECT_EQ(s.controlBackAlpha, 160);
    EXPECT_EQ(s.controlBackAlphaSet, 0);
    EXPECT_EQ(s.trackOption, 0);
    engine.SetOptions(1);
    EXPECT_EQ(Settings(engine).trackOption, 1);
}

TEST(SkinEngine, BackgroundAccentIsAppliedFirstAndTheRestNeedsAnImage) {
    SkinEngine engine;
    const ByteArray image{0x89, 'P', 'N', 'G'};
    engine.SetBackground("", image, 0x00102030u, 0x00445566, 2);
    SkinSettings s = Settings(engine);
    EXPECT_EQ(s.accentColour, 0x00445566u);
    EXPECT_EQ(s.backColour, 0x00102030u);
    EXPECT_EQ(s.backMode, 2);
    EXPECT_EQ(s.backImage, image);

    // No image: only the accent changes; without an accent it is reset.
    engine.SetBackground("", ByteArray(), 0x00ABCDEFu, std::nullopt, 1);
    s = Settings(engine);
    EXPECT_EQ(s.accentColour, 0x00DDCA22u);
    EXPECT_EQ(s.backColour, 0x00102030u);
    EXPECT_EQ(s.backMode, 2);
    EXPECT_EQ(s.backImage, image);

    // -1: the accent becomes the base colour; the mode defaults to 4.
    engine.SetBackground("", image, 0x00070809u, -1);
    s = Settings(engine);
    EXPECT_EQ(s.accentColour, 0x00070809u);
    EXPECT_EQ(s.backMode, 4);
}

TEST(SkinEngine, BackgroundFromAFileAndAMissingFileChangesNothingElse) {
    char directory[MAX_PATH];
    ::GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "skin_back_" + std::to_string(::GetCurrentProcessId()) + ".png";
    std::ofstream(path, std::ios::binary) << std::string("\x89PNG\0data", 9);

    SkinEngine engine;
    engine.SetBackground(path, ByteArray{1, 2, 3}, 0x00111111u, 0x00222222, 3);
    SkinSettings s = Settings(engine);
    EXPECT_EQ(s.backImage, (ByteArray{0x89, 'P', 'N', 'G', 0, 'd', 'a', 't', 'a'}));  // the file wins
    EXPECT_EQ(s.backMode, 3);
    ::DeleteFileA(path.c_str());

    engine.SetBackground(path, ByteArray{1, 2, 3}, 0x00333333u, 0x00444444, 5);
    s = Settings(engine);
    EXPECT_EQ(s.accentColour, 0x00444444u);
    EXPECT_EQ(s.backColour, 0x00111111u);
    EXPECT_EQ(s.backMode, 3);
}

TEST(SkinEngine, AttachingAFormIsNotAvailableYet) {
    SkinEngine engine;
    EXPECT_FALSE(engine.AttachForm(::GetDesktopWindow(), SkinEngine::FormOptions{}, ByteArray()));
    EXPECT_EQ(engine.WithForms([](std::vector<FormSkin>& f) { return f.size(); }), 0u);
}

TEST(SkinEngine, DestructionReleasesTheIconAndEndsTheGdiplusSession) {
    BYTE andMask[32 * 4], xorMask[32 * 4];
    std::fill(std::begin(andMask), std::end(andMask), 0xFF);
    std::fill(std::begin(xorMask), std::end(xorMask), 0x00);
    HICON icon = ::CreateIcon(::GetModuleHandleA(nullptr), 32, 32, 1, 1, andMask, xorMask);
    ASSERT_NE(icon, nullptr);
    StartGdiplus();
    {
        SkinEngine engine(icon);
        EXPECT_NE(engine.GdiplusToken(), 0u);
    }
    EXPECT_EQ(DefaultGdiplusToken(), 0u);
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(icon, &info));
}

}  // namespace
