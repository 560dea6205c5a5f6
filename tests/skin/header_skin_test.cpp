// Headers painted by the skin: free-standing and inside list views, the strip
// of an empty header, the ellipsis of a long title, the pressed look only for
// clickable headers, the hot item under the mouse, the item image, and the
// image list left to whoever set it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/embedded_images.h"
#include "skin/controls/control_skin_common.h"
#include "skin/controls/header_skin.h"
#include "tests/skin/controls_test_form.h"
#include "tests/skin/skin_test_support.h"
#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_lists.h"

namespace {

using skintest::MouseStep;
using skintest::PrintedClient;
using skintest::WindowPixel;

constexpr int kVeilAlpha = 80;

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

RECT ItemRect(HWND header, int i) {
    RECT r{};
    ::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

bool Ink(COLORREF c) { return skintest::Luminance(c) < 110; }

class HeaderSkin : public skintest::SkinTest {
protected:
    HWND Gallery() {
        form = Keep(CreateGalleryForm(*engine, 1));
        EXPECT_NE(form, nullptr);
        ::ShowWindow(form, SW_SHOWNORMAL);
        ::SetForegroundWindow(form);
        EXPECT_TRUE(skintest::WaitForFirstFormPainted(*engine));
        skintest::Pump(100);
        return form;
    }
    HWND Item(int id) { return ::GetDlgItem(form, id); }
    ControlRecord RecordOf(HWND header) {
        ControlRecord copy;
        WithControlRecord(*engine, header, &FormSkin::headers, [&](FormSkin&, ControlRecord& r) { copy = r; });
        return copy;
    }
    POINT Away() { return skintest::ClientToScreenPoint(form, 400, 500); }
    HWND form = nullptr;
};

TEST_F(HeaderSkin, FreeHeadersAndTheListViewsHeaderAreTakenOnce) {
    Gallery();
    HWND viewHeader = ::FindWindowExA(Item(kGalleryReportView), nullptr, WC_HEADERA, nullptr);
    ASSERT_NE(viewHeader, nullptr);
    const HWND headers[] = {Item(kGalleryClickableHeader), Item(kGalleryImageHeader), Item(kGalleryStaticHeader),
                            Item(kGalleryEmptyHeader), viewHeader};
    for (HWND header : headers) EXPECT_EQ(ProcOf(header), &HeaderSkinProc);
    auto count = [&] { return engine->WithForms([](FormSkinList& f) { return f[0]->headers.size(); }); };
    EXPECT_EQ(count(), 5u);
    AttachHeaderSkin(*engine, 1, form);
    EXPECT_EQ(count(), 5u);
    EXPECT_NE(::GetPropA(viewHeader, "Hw_hProc"), reinterpret_cast<HANDLE>(&HeaderSkinProc));
    EXPECT_EQ(::SendMessageA(viewHeader, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(RecordOf(Item(kGalleryClickableHeader)).clickable, 1);
    EXPECT_EQ(RecordOf(Item(kGalleryStaticHeader)).clickable, 0);
}

TEST_F(HeaderSkin, HeaderWithoutItemsIsOnlyTheVeiledStrip) {
    Gallery();
    HWND header = Item(kGalleryEmptyHeader);
    PrintedClient shown(header);
    POINT origin{0, 0};
    ::MapWindowPoints(header, form, &origin, 1);
    int compared = 0;
    for (int x = 0; x < shown.Width(); x += 5) {
        for (int y = 0; y < shown.Height(); y += 4) {
            const COLORREF ground = skintest::BackgroundPixel(*engine, form, origin.x + x, origin.y + y);
            const int expected = (255 * kVeilAlpha + GetRValue(ground) * (255 - kVeilAlpha)) / 255;
            EXPECT_NEAR(GetRValue(shown.At(x, y)), expected, 3) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

// Without translucency the strip of a list view's empty header is opaque
// white across the list view's whole width.
TEST_F(HeaderSkin, ListViewWithoutColumnsShowsAWhiteStripAcrossItsWidth) {
    form = Keep(skintest::MakeWindow(400, 260));
    HWND view = skintest::MakeChild(form, WC_LISTVIEWA, 20, 60, 300, 120);
    ::SetWindowLongPtrA(view, GWL_STYLE, ::GetWindowLongPtrA(view, GWL_STYLE) | LVS_REPORT);
    engine->SetBackground(Text(), EmbeddedImageBytes(EmbeddedImage::Background), std::nullopt, 0x51AE51, 3);
    engine->SetOptions(1);
    SkinEngine::FormOptions options;
    options.captionHeight = 30;
    ASSERT_EQ(engine->AttachForm(form, options, EmbeddedImageBytes(EmbeddedImage::Background)), 1);
    ::ShowWindow(form, SW_SHOWNORMAL);
    skintest::PumpUntil([&] { return engine->Form(1)->backgroundDc.IsValid(); });
    HWND header = ::FindWindowExA(view, nullptr, WC_HEADERA, nullptr);
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(ProcOf(header), &HeaderSkinProc);
    ASSERT_EQ(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 0);
    RECT viewClient{}, headerClient{};
    ::GetClientRect(view, &viewClient);
    ::GetClientRect(header, &headerClient);
    ASSERT_GT(headerClient.bottom, 0);
    // The strip the painter composes is the list view's width, whatever the header's own.
    const int w = viewClient.right, h = headerClient.bottom;
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    BitmapHandle bitmap(::CreateBitmap(w, h, 1, 32, nullptr));
    ScopedSelect select(dc.Get(), bitmap.Get());
    ::SendMessageA(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    for (int x = 0; x < w; x += 3) {
        for (int y = 0; y < h; y += 3) EXPECT_EQ(::GetPixel(dc.Get(), x, y), RGB(255, 255, 255)) << x << "," << y;
    }
}

// The rightmost inked columns of an item: only the ellipsis' dots, low in
// the line, when the title was cut; a whole glyph otherwise.
struct TitleEnd {
    int lastInk = -1;
    bool upperInkAtEnd = false;
};

TitleEnd ReadTitleEnd(HWND header, int item) {
    PrintedClient shown(header);
    const RECT r = ItemRect(header, item);
    const int middle = (r.top + r.bottom) / 2;
    TitleEnd end;
    for (int x = r.left; x < r.right - 1; ++x) {
        for (int y = r.top + 2; y < r.bottom - 2; ++y) {
            if (Ink(shown.At(x, y))) end.lastInk = x;
        }
    }
    for (int x = end.lastInk - 8; x <= end.lastInk && end.lastInk >= 0; ++x) {
        for (int y = r.top + 2; y < middle - 1; ++y) {
            if (Ink(shown.At(x, y))) end.upperInkAtEnd = true;
        }
    }
    return end;
}

TEST_F(HeaderSkin, LongColumnTitleEndsInAnEllipsisInsideItsItem) {
    Gallery();
    HWND view = Item(kGalleryReportView);
    HWND header = ::FindWindowExA(view, nullptr, WC_HEADERA, nullptr);
    const TitleEnd cut = ReadTitleEnd(header, 2);
    ASSERT_GE(cut.lastInk, 0);
    EXPECT_LT(cut.lastInk, ItemRect(header, 2).right - 4);
    EXPECT_FALSE(cut.upperInkAtEnd);
    // Wide enough for the whole title: it ends in a glyph, not in dots.
    ::SendMessageA(view, LVM_SETCOLUMNWIDTH, 2, 400);
    const TitleEnd whole = ReadTitleEnd(header, 2);
    EXPECT_GT(whole.lastInk, cut.lastInk);
    EXPECT_TRUE(whole.upperInkAtEnd);
}

TEST_F(HeaderSkin, OnlyAClickableHeaderShowsThePressedLook) {
    Gallery();
    skintest::RunMouse({{MouseStep::Move, Away(), 30}});
    for (int id : {kGalleryClickableHeader, kGalleryStaticHeader}) {
        HWND header = Item(id);
        const RECT r = ItemRect(header, 0);
        const POINT probe{r.left + 3, r.bottom - 3};
        PrintedClient before(header);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PrintedClient down(header);
        ::SendMessageA(header, WM_LBUTTONUP, 0, at);
        PrintedClient up(header);
        if (id == kGalleryClickableHeader) {
            EXPECT_GT(skintest::ColourDistance(down.At(probe.x, probe.y), before.At(probe.x, probe.y)), 15);
            EXPECT_EQ(RecordOf(header).pressedItem, -1);
        } else {
            EXPECT_EQ(down.At(probe.x, probe.y), before.At(probe.x, probe.y));
            EXPECT_EQ(down.At(probe.x, 3), before.At(probe.x, 3));
        }
        EXPECT_EQ(up.At(probe.x, probe.y), before.At(probe.x, probe.y)) << id;
    }
}

TEST_F(HeaderSkin, HoveredItemTurnsAccentAndLeavingRestoresIt) {
    Gallery();
    HWND header = Item(kGalleryClickableHeader);
    skintest::RunMouse({{MouseStep::Move, Away(), 30}});
    const RECT first = ItemRect(header, 0), second = ItemRect(header, 1);
    PrintedClient rest(header);
    const POINT onSecond = skintest::ClientToScreenPoint(header, (second.left + second.right) / 2, 4);
    skintest::RunMouse({{MouseStep::Move, onSecond, 50}});
    ASSERT_TRUE(skintest::PumpUntil([&] { return RecordOf(header).hotItem == 1; }));
    PrintedClient hot(header);
    const int y = second.bottom - 3;
    EXPECT_TRUE(skintest::Greenish(hot.At(second.left + 5, y))) << std::hex << hot.At(second.left + 5, y);
    EXPECT_FALSE(skintest::Greenish(rest.At(second.left + 5, y)));
    EXPECT_EQ(hot.At(first.left + 5, y), rest.At(first.left + 5, y));
    EXPECT_EQ(engine->Form(1)->hotControlClass, 9);

    skintest::RunMouse({{MouseStep::Move, Away(), 50}});
    ASSERT_TRUE(skintest::PumpUntil([&] { return RecordOf(header).hotItem == -1; }));
    PrintedClient left(header);
    EXPECT_EQ(left.At(second.left + 5, y), rest.At(second.left + 5, y));
}

TEST_F(HeaderSkin, ImageItemShowsItsImageAfterTheMargin) {
    Gallery();
    HWND header = Item(kGalleryImageHeader);
    const RECT r = ItemRect(header, 0);
    const int margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    PrintedClient shown(header);
    const int y = (r.top + r.bottom) / 2;
    EXPECT_EQ(shown.At(r.left + margin + 8, y), kGalleryHeaderImageColour);
    EXPECT_NE(shown.At(r.left + margin - 1, y), kGalleryHeaderImageColour);
    EXPECT_NE(shown.At(r.left + margin + 17, y), kGalleryHeaderImageColour);
}

// The header never destroys an image list: it is its setter's.
TEST_F(HeaderSkin, DestroyingAHeaderLeavesItsImageListToItsOwner) {
    Gallery();
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    HIMAGELIST later = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    ASSERT_TRUE(images && later);
    BitmapHandle square(::CreateBitmap(16, 16, 1, 32, nullptr));
    ::ImageList_Add(images, square.Get(), nullptr);
    ::ImageList_Add(later, square.Get(), nullptr);
    HWND header = MakeGalleryControl(form, WC_HEADERA, "", HDS_BUTTONS, 500, 400, 200, 24);
    ::SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    AttachHeaderSkin(*engine, 1, form);
    ASSERT_EQ(ProcOf(header), &HeaderSkinProc);
    EXPECT_EQ(RecordOf(header).imageList, images);
    ::SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(later));
    EXPECT_EQ(RecordOf(header).imageList, later);
    ::DestroyWindow(header);
    EXPECT_EQ(::ImageList_GetImageCount(images), 1);
    EXPECT_EQ(::ImageList_GetImageCount(later), 1);
    EXPECT_TRUE(::ImageList_Destroy(images));
    EXPECT_TRUE(::ImageList_Destroy(later));
}

TEST_F(HeaderSkin, DisabledHeaderDrawsItsTitlesInGrey) {
    Gallery();
    HWND header = Item(kGalleryStaticHeader);
    const RECT item = ItemRect(header, 0);
    auto darkest = [&] {
        int least = 255;
        for (int y = item.top + 2; y < item.bottom - 2; ++y) {
            for (int x = item.left + 2; x < item.right - 2; ++x) {
                least = std::min(least, skintest::Luminance(WindowPixel(header, x, y)));
            }
        }
        return least;
    };
    ASSERT_LT(darkest(), 60);
    ::EnableWindow(header, FALSE);
    skintest::Pump(30);
    const int grey = darkest();
    EXPECT_GE(grey, 100);
    EXPECT_LT(grey, 180);  // still readable
    ::EnableWindow(header, TRUE);
    skintest::Pump(30);
    EXPECT_LT(darkest(), 60);
}

}  // namespace
