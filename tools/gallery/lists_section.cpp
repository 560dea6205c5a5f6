// List boxes: one that scrolls, a short one, a drop-down list combo, and the
// two pickers that get only the frame.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_lists.h"

namespace {

HWND ListControl(HWND form, const RECT& area, int id, const char* cls, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h) {
    HWND control = MakeGalleryControl(form, cls, "", style, area.left + x, area.top + y, w, h, exStyle);
    ::SetWindowLongPtrA(control, GWLP_ID, id);
    return control;
}

}  // namespace

void AddListSection(HWND form, const RECT& area) {
    HWND scrolling = ListControl(form, area, kGalleryScrollList, "ListBox", LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 0, 0, 0,
                                 120, 120);
    for (int i = 1; i <= 20; ++i) {
        const std::string item = "列表项 " + std::to_string(i);
        ::SendMessageA(scrolling, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ::SendMessageA(scrolling, LB_SETCURSEL, 2, 0);
    HWND plain = ListControl(form, area, kGalleryPlainList, "ListBox", LBS_NOTIFY, WS_EX_CLIENTEDGE, 130, 0, 110, 80);
    for (const char* item : {"苹果", "香蕉", "橙子"}) {
        ::SendMessageA(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    HWND combo = ListControl(form, area, kGalleryListCombo, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 130, 95,
                             110, 120);
    for (const char* item : {"下拉第一项", "下拉第二项", "下拉第三项"}) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    HWND address = ListControl(form, area, kGalleryAddress, WC_IPADDRESSA, 0, WS_EX_CLIENTEDGE, 0, 135, 150, 24);
    ::SendMessageA(address, IPM_SETADDRESS, 0, MAKEIPADDRESS(127, 0, 0, 1));
    ListControl(form, area, kGalleryDatePicker, DATETIMEPICK_CLASSA, 0, WS_EX_CLIENTEDGE, 0, 170, 150, 24);
}
