// The control gallery made in-process: every control is taken by its skin,
// image labels are placed by their style, and hovering and repainting every
// control many times leaves no GDI or GDI+ object and no memory DC behind.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdip/gdip_object.h"
#include "runtime/win_handles.h"
#include "skin/controls/progress_skin.h"
#include "skin/controls/static_skin.h"
#include "skin/window/container_skin.h"
#include "skin/window/panel_skin.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/gallery_form.h"

using skintest::DrainMessages;
using skintest::MoveMouseTo;

namespace {

using skintest::PrintedClient;
using skintest::SkinTest;

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> all;
    ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

class Gallery : public SkinTest {
protected:
    void Show() {
        form = Keep(CreateGalleryForm(*engine));
        ASSERT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ASSERT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
    }
    // The image labels of the gallery, by their placement style.
    HWND ImageLabel(LONG_PTR placement) {
        for (HWND child : Descendants(form)) {
            const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
            if (ClassNameOf(child) == "Static" && StaticKindOf(style) == kStaticBitmap &&
                (style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) == placement) {
                return child;
            }
        }
        return nullptr;
    }
    HWND form = nullptr;
};

TEST_F(Gallery, EveryControlIsTakenByItsSkin) {
    Show();
    ASSERT_FALSE(GallerySections().empty());
    int progress = 0, labels = 0, panels = 0, containers = 0;
    for (HWND child : Descendants(form)) {
        const Text cls = ClassNameOf(child);
        if (cls == PROGRESS_CLASSA) {
            EXPECT_EQ(ProcOf(child), &ProgressSkinProc);
            ++progress;
        } else if (cls == "Static") {
            EXPECT_EQ(ProcOf(child), &StaticSkinProc);
            ++labels;
        } else if (IsGroupButton(child)) {
            EXPECT_EQ(ProcOf(child), &PanelProc);
            ++panels;
        } else if (cls == TOOLBARCLASSNAMEA) {
            EXPECT_EQ(ProcOf(child), &ContainerProc);
            ++containers;
        }
    }
    EXPECT_GE(progress, 5);  // four on the form, one inside the group
    EXPECT_GE(labels, 7);
    EXPECT_GE(panels, 1);
    EXPECT_GE(containers, 1);
}

TEST_F(Gallery, ImageLabelsAreCentredOrStretchedByTheirStyle) {
    Show();
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    HWND centred = ImageLabel(SS_CENTERIMAGE);
    HWND stretched = ImageLabel(SS_REALSIZECONTROL);
    ASSERT_TRUE(centred && stretched);
    {
        // The 24 x 16 image (red left half, blue right half) in the middle.
        PrintedClient shown(centred);
        const int x0 = (shown.Width() - 24) / 2, y0 = (shown.Height() - 16) / 2;
        EXPECT_EQ(shown.At(x0 + 2, y0 + 2), red);
        EXPECT_EQ(shown.At(x0 + 21, y0 + 13), blue);
        EXPECT_NE(shown.At(x0 - 3, y0 + 8), red);
        EXPECT_NE(shown.At(x0 + 26, y0 + 8), blue);
        EXPECT_NE(shown.At(2, 2), red);
    }
    {
        PrintedClient shown(stretched);
        EXPECT_EQ(shown.At(2, 2), red);
        EXPECT_EQ(shown.At(shown.Width() / 2 - 3, shown.Height() - 3), red);
        EXPECT_EQ(shown.At(shown.Width() / 2 + 3, 2), blue);
        EXPECT_EQ(shown.At(shown.Width() - 3, shown.Height() - 3), blue);
    }
}

struct LiveObjects {
    std::vector<long> counts;
    std::size_t memoryDcs = 0;
    bool operator==(const LiveObjects& o) const { return counts == o.counts && memoryDcs == o.memoryDcs; }
};

LiveObjects CountLive(SkinEngine& engine) {
    LiveObjects live;
    live.counts = {BitmapHandle::Live(),         BrushHandle::Live(),          PenHandle::Live(),
                   RegionHandle::Live(),         FontHandle::Live(),           MemoryDc::Live(),
                   IconHandle::Live(),           GdipGraphicsHandle::Live(),   GdipPathHandle::Live(),
                   GdipBrushHandle::Live(),      GdipPenHandle::Live(),        GdipFontHandle::Live(),
                   GdipFontFamilyHandle::Live(), GdipStringFormatHandle::Live(), GdipImageHandle::Live(),
                   GdipRegionHandle::Live()};
    live.memoryDcs = engine.WithMemoryDcRegistry([](std::vector<MemoryDcEntry>& r) { return r.size(); });
    return live;
}

std::string Describe(const LiveObjects& live) {
    std::string text;
    for (long c : live.counts) text += std::to_string(c) + " ";
    return text + "| " + std::to_string(live.memoryDcs);
}

TEST_F(Gallery, HoveringAndRepaintingEveryControlLeavesNothingBehind) {
    Show();
    const std::vector<HWND> controls = Descendants(form);
    ASSERT_GE(controls.size(), 15u);
    auto round = [&] {
        for (HWND control : controls) {
            RECT r{};
            ::GetWindowRect(control, &r);
            MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            DrainMessages();
            ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        DrainMessages();
    };
    round();  // first paints may fill the form's caches
    const LiveObjects before = CountLive(*engine);
    for (int i = 0; i < skintest::LeakRounds(); ++i) round();
    const LiveObjects after = CountLive(*engine);
    EXPECT_TRUE(after == before) << Describe(before) << " -> " << Describe(after);
    EXPECT_EQ(after.memoryDcs, 0u);
}

TEST_F(SkinTest, DestroyingTheGalleryReleasesWhatItAndItsSkinsHeld) {
    const LiveObjects before = CountLive(*engine);
    HWND form = CreateGalleryForm(*engine);
    ASSERT_NE(form, nullptr);
    ::ShowWindow(form, SW_SHOWNORMAL);
    skintest::Pump(300);
    ::DestroyWindow(form);
    skintest::Pump(50);
    EXPECT_EQ(engine->WithForms([](FormSkinList& f) { return f.size(); }), 0u);
    const LiveObjects after = CountLive(*engine);
    // Bitmaps, brushes and DCs the skins made are all gone; GDI+ images of
    // the process-wide background may stay decoded in the engine.
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(after.counts[i], before.counts[i]) << i;
    EXPECT_EQ(after.memoryDcs, 0u);
}

}  // namespace
