// The list of skinned windows: finding, adding, removing with renumbering,
// and what a removed entry releases.
#include <windows.h>

#include <gtest/gtest.h>

#include "resources/embedded_images.h"
#include "tests/skin/skin_test_support.h"

namespace {

using skintest::SkinTest;

LONG_PTR Prop(HWND window, const char* name) { return reinterpret_cast<LONG_PTR>(::GetPropA(window, name)); }

// A control of the form as its skin records it: in the form's array for its
// class, with its index and the form's index on the window.
HWND AddRecordedControl(SkinEngine& engine, int formIndex, HWND form, std::vector<ControlRecord> FormSkin::*array) {
    HWND control = skintest::MakeChild(form, "Button", 5, 40, 60, 20, "x");
    engine.WithForms([&](FormSkinList& forms) {
        auto& records = (*forms[formIndex - 1]).*array;
        const int index = TakeRecordSlot(records, control);
        ::SetPropA(control, "Hw_lbID", reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(index)));
        ::SetPropA(control, "Hw_FuID", reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(formIndex)));
    });
    return control;
}

TEST_F(SkinTest, RemovingTheFirstOfThreeFormsRenumbersTheOthers) {
    HWND a = Keep(skintest::MakeWindow(300, 200)), b = Keep(skintest::MakeWindow(300, 200)),
         c = Keep(skintest::MakeWindow(300, 200));
    ASSERT_EQ(engine->AttachForm(a, {}, ByteArray()), 1);
    ASSERT_EQ(engine->AttachForm(b, {}, ByteArray()), 2);
    ASSERT_EQ(engine->AttachForm(c, {}, ByteArray()), 3);
    HWND button = AddRecordedControl(*engine, 3, c, &FormSkin::buttons);
    HWND label = AddRecordedControl(*engine, 3, c, &FormSkin::staticLabels);
    HWND container = skintest::MakeChild(c, "Static", 0, 0, 10, 10);
    engine->WithForms([&](FormSkinList& forms) {
        ControlRecord record;
        record.window = container;
        forms[2]->containers.push_back(record);
    });
    ::SetPropA(container, "Kj_FuID", reinterpret_cast<HANDLE>(3));

    ::DestroyWindow(a);
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return f.size(); }), 2u);
    EXPECT_EQ(Prop(b, "Hw_lbID"), 1);
    EXPECT_EQ(Prop(c, "Hw_lbID"), 2);
    EXPECT_EQ(Prop(button, "Hw_FuID"), 2);
    EXPECT_EQ(Prop(label, "Hw_FuID"), 2);
    EXPECT_EQ(Prop(label, "Hw_lbID"), 1);  // its place in its own array is kept
    EXPECT_EQ(Prop(container, "Kj_FuID"), 2);
    EXPECT_EQ(engine->FormIndexOf(c), 2);
    EXPECT_EQ(engine->WithForms([&](FormSkinList& f) { return FindForm(f, a); }), 0);

    // The last entry goes without touching the others.
    ::DestroyWindow(c);
    EXPECT_EQ(Prop(b, "Hw_lbID"), 1);
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return RemoveForm(f, 5); }), false);
}

TEST_F(SkinTest, RemovedEntryReleasesItsBackgroundCachesAndChildBrushes) {
    const long dcs = MemoryDc::Live(), bitmaps = BitmapHandle::Live(), brushes = BrushHandle::Live();
    HWND window = Keep(skintest::MakeWindow());
    HWND label = skintest::MakeChild(window, "Static", 40, 140, 120, 16, "标签");
    ASSERT_EQ(skintest::SkinLikeTheUpdater(*engine, window, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    skintest::Pump(50);
    ::RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_NE(::GetPropA(label, "Kj_dxjb"), nullptr);
    EXPECT_NE(::GetPropA(label, "Kj_wtjb"), nullptr);
    EXPECT_NE(::GetPropA(window, "Ck_wtjbdx"), nullptr);
    EXPECT_NE(::GetPropA(window, "Ck_Ycjdx"), nullptr);
    EXPECT_GT(MemoryDc::Live(), dcs);
    EXPECT_GT(BrushHandle::Live(), brushes);

    ::DestroyWindow(window);
    EXPECT_EQ(MemoryDc::Live(), dcs);
    EXPECT_EQ(BitmapHandle::Live(), bitmaps);
    EXPECT_EQ(BrushHandle::Live(), brushes);
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return f.size(); }), 0u);
}

TEST(SkinData, LayeredStyleAndClassName) {
    HWND window = skintest::MakeWindow(100, 100);
    SetLayeredStyle(window, false);
    LONG_PTR style = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_EX_LAYERED);
    EXPECT_FALSE(style & WS_EX_TRANSPARENT);
    SetLayeredStyle(window, true);
    EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(ClassNameOf(window), "SkinTestWindow");
    HWND edit = skintest::MakeChild(window, "Edit", 0, 0, 10, 10);
    EXPECT_EQ(ClassNameOf(edit), "Edit");
    ::DestroyWindow(window);
}

}  // namespace
