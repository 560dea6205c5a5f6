// Free-standing headers: a clickable one, one whose item shows an image from
// the header's image list, one that is not clickable, and one without items.
#include <windows.h>
#include <commctrl.h>

#include "runtime/win_handles.h"
#include "skin/model/display_scale.h"
#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_lists.h"

namespace {

constexpr int kHeaderHeight = 24;
constexpr int kImageSize = 16;

// One 16 x 16 image: a filled square with a dark edge. Made once and kept
// for the process (the headers showing it do not own it).
HIMAGELIST GalleryHeaderImages() {
    static HIMAGELIST images = [] {
        HIMAGELIST list = ::ImageList_Create(kImageSize, kImageSize, ILC_COLOR32, 1, 0);
        WindowDc screen(nullptr);
        MemoryDc dc(::CreateCompatibleDC(screen.Get()));
        BitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), kImageSize, kImageSize));
        if (list && dc && bitmap) {
            {
                ScopedSelect select(dc.Get(), bitmap.Get());
                BrushHandle edge(::CreateSolidBrush(RGB(40, 40, 40)));
                BrushHandle face(::CreateSolidBrush(kGalleryHeaderImageColour));
                RECT all{0, 0, kImageSize, kImageSize}, inner{2, 2, kImageSize - 2, kImageSize - 2};
                ::FillRect(dc.Get(), &all, edge.Get());
                ::FillRect(dc.Get(), &inner, face.Get());
            }
            ::ImageList_Add(list, bitmap.Get(), nullptr);
        }
        return list;
    }();
    return images;
}

HWND Header(HWND form, const RECT& area, int id, DWORD style, int y) {
    HWND header = MakeGalleryControl(form, WC_HEADERA, "", style, area.left, area.top + y, 240, kHeaderHeight);
    ::SetWindowLongPtrA(header, GWLP_ID, id);
    return header;
}

void AddItem(HWND header, int i, const char* text, int width, int format, int image = -1) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (image >= 0 ? HDI_IMAGE : 0);
    item.pszText = const_cast<char*>(text);
    item.cxy = DisplayScale(WindowDpi(header)).Px(width);  // widths given at 96 DPI
    item.fmt = HDF_STRING | format;
    item.iImage = image;
    ::SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void AddHeaderSection(HWND form, const RECT& area) {
    HWND clickable = Header(form, area, kGalleryClickableHeader, HDS_BUTTONS | HDS_HORZ, 0);
    AddItem(clickable, 0, "文件", 80, HDF_LEFT);
    AddItem(clickable, 1, "版本", 70, HDF_CENTER);
    AddItem(clickable, 2, "日期", 70, HDF_RIGHT);

    HWND withImage = Header(form, area, kGalleryImageHeader, HDS_BUTTONS | HDS_HORZ, 40);
    ::SendMessageA(withImage, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(GalleryHeaderImages()));
    AddItem(withImage, 0, "图标", 100, HDF_LEFT | HDF_IMAGE, 0);
    AddItem(withImage, 1, "说明", 100, HDF_LEFT);

    HWND fixed = Header(form, area, kGalleryStaticHeader, HDS_HORZ, 80);
    AddItem(fixed, 0, "不可点击", 120, HDF_LEFT);
    AddItem(fixed, 1, "标题", 100, HDF_LEFT);

    Header(form, area, kGalleryEmptyHeader, HDS_HORZ, 120);
}
