// The engine object: settings, the background and options operations, the
// attach of a form and its caption buttons, clicking them.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "resources/embedded_images.h"
#include "skin/window/caption_painter.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::SkinTest;

TEST_F(SkinTest, StartsWithTheButtonFaceAndEmptyLists) {
    SkinSettings s = engine->Settings();
    EXPECT_EQ(s.backColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(s.accentColour, 0x00DDCA22u);
    EXPECT_EQ(s.backMode, 0);
    EXPECT_TRUE(s.backImage.empty());
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return f.size(); }), 0u);
    EXPECT_EQ(engine->WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); }), 0u);
}

TEST_F(SkinTest, OptionsResetWhatIsNotGiven) {
    engine->SetOptions(1, 80);
    SkinSettings s = engine->Settings();
    EXPECT_EQ(s.controlBackAlpha, 80);
    EXPECT_EQ(s.controlBackAlphaSet, 1);
    EXPECT_EQ(s.trackOption, 1);
    engine->SetOptions(1);
    s = engine->Settings();
    EXPECT_EQ(s.skinControls, 1);
    EXPECT_EQ(s.controlBackAlpha, 160);
    EXPECT_EQ(s.controlBackAlphaSet, 0);
    engine->SetOptions(0, std::nullopt, 0);
    EXPECT_EQ(engine->Settings().trackOption, 0);
    EXPECT_EQ(engine->Settings().skinControls, 0);
}

TEST_F(SkinTest, BackgroundAccentRulesAndTheDerivedBaseColour) {
    // A solid image: the colour derived from it is its colour.
    const ByteArray image = skintest::TwoColourPng(64, 48, 64, RGB(40, 120, 200), RGB(40, 120, 200));
    ASSERT_FALSE(image.empty());
    engine->SetBackground("", image, std::nullopt, 0x00445566, 2);
    SkinSettings s = engine->Settings();
    EXPECT_EQ(s.accentColour, 0x00445566u);
    EXPECT_EQ(s.backColour, RGB(40, 120, 200));
    EXPECT_EQ(s.backMode, 2);
    EXPECT_EQ(s.backImage, image);

    // No image: only the accent changes; without an accent it is reset.
    engine->SetBackground("", ByteArray(), 0x00ABCDEFu, std::nullopt, 1);
    s = engine->Settings();
    EXPECT_EQ(s.accentColour, 0x00DDCA22u);
    EXPECT_EQ(s.backColour, RGB(40, 120, 200));
    EXPECT_EQ(s.backMode, 2);

    // -1: the accent becomes the new base colour (given, or derived); the mode defaults to 4.
    engine->SetBackground("", image, 0x00070809u, -1);
    s = engine->Settings();
    EXPECT_EQ(s.accentColour, 0x00070809u);
    EXPECT_EQ(s.backColour, 0x00070809u);
    EXPECT_EQ(s.backMode, 4);
    const ByteArray red = skintest::TwoColourPng(32, 32, 32, RGB(200, 10, 10), RGB(200, 10, 10));
    engine->SetBackground("", red, std::nullopt, -1);
    EXPECT_EQ(engine->Settings().accentColour, RGB(200, 10, 10));
}

TEST_F(SkinTest, BackgroundFromAFileWinsOverTheBytes) {
    char directory[MAX_PATH];
    ::GetTempPathA(MAX_PATH, directory);
    const std::string path =
        std::string(directory) + "skin_back_" + std::to_string(::GetCurrentProcessId()) + ".png";
    const ByteArray image = skintest::TwoColourPng(8, 8, 8, RGB(1, 2, 3), RGB(1, 2, 3));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());

    engine->SetBackground(path, ByteArray{1, 2, 3}, 0x00111111u, 0x00222222, 3);
    EXPECT_EQ(engine->Settings().backImage, image);
    ::DeleteFileA(path.c_str());
    // The file is gone: only the accent changes.
    engine->SetBackground(path, ByteArray{1, 2, 3}, 0x00333333u, 0x00444444, 5);
    SkinSettings s = engine->Settings();
    EXPECT_EQ(s.accentColour, 0x00444444u);
    EXPECT_EQ(s.backColour, 0x00111111u);
    EXPECT_EQ(s.backMode, 3);
}

TEST_F(SkinTest, DerivedColourAveragesTheImage) {
    // Half red, half blue: 2,000 spread samples land near the middle.
    const COLORREF c = DeriveImageColour(skintest::TwoColourPng(100, 10, 50, RGB(255, 0, 0), RGB(0, 0, 255)));
    EXPECT_NEAR(GetRValue(c), 127, 20);
    EXPECT_NEAR(GetBValue(c), 127, 20);
    EXPECT_EQ(GetGValue(c), 0);
    EXPECT_EQ(DeriveImageColour(ByteArray{1, 2, 3}), 0u);
}

TEST_F(SkinTest, AttachFormBuildsTheStripFromTheStyle) {
    HWND window = Keep(skintest::MakeWindow(492, 293, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const int index = engine->AttachForm(window, SkinEngine::FormOptions{}, ByteArray());
    ASSERT_EQ(index, 1);
    EXPECT_EQ(engine->AttachForm(window, SkinEngine::FormOptions{}, ByteArray()), 0);  // once only
    EXPECT_EQ(::GetPropA(window, "Hw_lbID"), reinterpret_cast<HANDLE>(1));
    EXPECT_NE(::GetPropA(window, "Hw_hProc"), nullptr);
    EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_STYLE) & WS_SYSMENU);

    FormSkin* form = engine->Form(1);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->captionButtons.size(), 3u);
    EXPECT_EQ(form->captionButtons[0].command, kCommandMinimise);
    EXPECT_EQ(form->captionButtons[1].command, kCommandMaximise);
    EXPECT_FALSE(form->captionButtons[1].altImage.empty());
    EXPECT_EQ(form->captionButtons[2].command, kCommandClose);
    EXPECT_EQ(form->buttonStripWidth, 95);
    EXPECT_EQ(form->captionHeight, 25);
    EXPECT_EQ(form->buttonStripX, 492 - 95 + 1);
    // Buttons 27 apart from two pixels inside the strip; the close button is 40 wide.
    EXPECT_EQ(form->captionButtons[2].rect.x, 492 - 95 + 1 + 2 + 54);
    EXPECT_EQ(form->captionButtons[2].rect.width, 40);
    EXPECT_EQ(engine->CaptionButtonAt(1, static_cast<int>(form->captionButtons[1].rect.x) + 3, 5), 2);
    EXPECT_EQ(engine->CaptionButtonAt(1, 10, 5), 0);
    EXPECT_EQ(engine->CaptionButtonAt(1, static_cast<int>(form->captionButtons[1].rect.x) + 3, 40), 0);
    const RECT strip = engine->CaptionButtonStripRect(window);
    EXPECT_EQ(strip.right - strip.left, 95);
    EXPECT_EQ(strip.bottom - strip.top, 22);

    // A style without boxes and a small caption height: the close button alone, height 25.
    HWND bare = Keep(skintest::MakeWindow(300, 200, WS_POPUP));
    SkinEngine::FormOptions options;
    options.captionHeight = 10;
    options.showHelp = 1;
    ASSERT_EQ(engine->AttachForm(bare, options, ByteArray()), 2);
    FormSkin* second = engine->Form(2);
    ASSERT_EQ(second->captionButtons.size(), 2u);
    EXPECT_EQ(second->captionButtons[0].command, kCommandHelp);
    EXPECT_EQ(second->captionButtons[0].name, "帮助");
    EXPECT_EQ(second->buttonStripWidth, 26 + 38 + 1 + 3);
    EXPECT_EQ(second->captionHeight, 25);
}

TEST_F(SkinTest, MaximiseButtonClickedTwiceMaximisesThenRestores) {
    HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    ::ShowWindow(window, SW_SHOWNORMAL);
    const int index = engine->AttachForm(window, SkinEngine::FormOptions{}, ByteArray());
    ASSERT_EQ(index, 1);
    RECT before{};
    ::GetWindowRect(window, &before);
    engine->ClickCaptionButton(index, 2);
    EXPECT_TRUE(::IsZoomed(window));
    EXPECT_EQ(engine->Form(index)->maximised, 1);
    EXPECT_EQ(engine->Form(index)->needsRedraw.load(), 1);
    engine->ClickCaptionButton(index, 2);
    EXPECT_FALSE(::IsZoomed(window));
    EXPECT_EQ(engine->Form(index)->maximised, 0);
    RECT after{};
    ::GetWindowRect(window, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);

    engine->ClickCaptionButton(index, 1);
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_EQ(engine->Form(index)->minimised, 1);
}

TEST_F(SkinTest, HandlersRunForHelpMenuAndOwnButtons) {
    HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP));
    SkinEngine::FormOptions options;
    options.showHelp = 1;
    options.showMenu = 1;
    ASSERT_EQ(engine->AttachForm(window, options, ByteArray()), 1);
    int help = 0, menu = 0, own = 0;
    EXPECT_EQ(engine->SetHelpHandler(window, [&] { ++help; }), 1);
    EXPECT_EQ(engine->SetMenuHandler(window, [&] { ++menu; }), 1);
    EXPECT_EQ(engine->AddCaptionButton(window, EmbeddedImageBytes(EmbeddedImage::Help), ByteArray(), [&] { ++own; }), 1);
    EXPECT_EQ(engine->Form(1)->buttonStripWidth, 26 + 26 + 38 + 2 + 3 + 27);
    for (int i = 1; i <= 3; ++i) engine->ClickCaptionButton(1, i);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(engine->SetHelpHandler(::GetDesktopWindow(), [] {}), 0);  // not a skinned form
}

TEST_F(SkinTest, TextColourGoesToTheEditOfAComboBox) {
    HWND window = Keep(skintest::MakeWindow(400, 300, WS_POPUP));
    HWND combo = ::CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 40, 100, 120,
                                   window, nullptr, nullptr, nullptr);
    HWND edit = ::FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    engine->SetTextColour(combo, RGB(1, 2, 3));
    EXPECT_EQ(::GetPropA(edit, "Kj_Ztys"), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(RGB(1, 2, 3))));
    EXPECT_EQ(::GetPropA(combo, "Kj_Ztys"), nullptr);
}

}  // namespace
