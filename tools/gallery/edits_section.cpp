#include <windows.h>

#include <string>

#include "tools/gallery/sections_buttons_edits.h"

namespace {

HWND AddControl(HWND form, int id, const char* cls, const char* text, DWORD style, DWORD exStyle, int x, int y,
                int width, int height) {
    HWND control = ::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width,
                                     height, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void FillCombo(HWND combo) {
    for (const char* item : {"第一项", "第二项", "第三项"}) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
}

}  // namespace

// The edits above, the three combo styles below, within a 250 x 240 cell.
void AddEditSection(HWND form, const RECT& area) {
    const int x = area.left, y = area.top;
    AddControl(form, kGallerySingleLineEdit, "Edit", "单行编辑框", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, x, y, 180, 24);
    std::string lines;
    for (int i = 1; i <= 12; ++i) lines += "多行编辑框，第 " + std::to_string(i) + " 行，带滚动条的长文本内容\r\n";
    AddControl(form, kGalleryMultiLineEdit, "Edit", lines.c_str(),
               ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | ES_WANTRETURN,
               WS_EX_CLIENTEDGE, x, y + 32, 240, 96);
    FillCombo(AddControl(form, kGallerySimpleCombo, "ComboBox", "", CBS_SIMPLE, 0, x, y + 138, 110, 90));
    FillCombo(AddControl(form, kGalleryDropDownCombo, "ComboBox", "", CBS_DROPDOWN, 0, x + 120, y + 138, 120, 120));
    FillCombo(AddControl(form, kGalleryDropDownListCombo, "ComboBox", "", CBS_DROPDOWNLIST, 0, x + 120, y + 174, 120, 120));
}
