#include "tools/gallery/checks_section.h"

#include "tools/gallery/gallery_form.h"

namespace {

HWND Check(HWND parent, int id, const char* text, DWORD style, int x, int y, int width, int height, WPARAM state) {
    HWND control = MakeGalleryControl(parent, "Button", text, style, x, y, width, height);
    ::SetWindowLongPtrA(control, GWLP_ID, id);
    ::SendMessageA(control, BM_SETCHECK, state, 0);
    return control;
}

}  // namespace

void AddChecksSection(HWND form, const RECT& area) {
    const int x = area.left, y = area.top;
    Check(form, kGalleryCheckSmall, "已勾选的复选框", BS_AUTOCHECKBOX, x, y, 170, 13, BST_CHECKED);
    Check(form, kGalleryCheckTall, "较高的复选框", BS_AUTOCHECKBOX, x, y + 20, 170, 30, BST_UNCHECKED);
    // Each radio group starts with WS_GROUP, so a click clears only its own group.
    Check(form, kGalleryRadioOne, "单选一", BS_AUTORADIOBUTTON | WS_GROUP, x, y + 56, 110, 20, BST_CHECKED);
    Check(form, kGalleryRadioTwo, "单选二", BS_AUTORADIOBUTTON, x + 120, y + 56, 110, 20, BST_UNCHECKED);
    HWND check = Check(form, kGalleryDisabledCheck, "禁用复选框", BS_AUTOCHECKBOX | WS_GROUP, x, y + 84, 110, 20,
                       BST_CHECKED);
    HWND radio = Check(form, kGalleryDisabledRadio, "禁用单选", BS_AUTORADIOBUTTON | WS_GROUP, x + 120, y + 84, 110,
                       20, BST_CHECKED);
    ::EnableWindow(check, FALSE);
    ::EnableWindow(radio, FALSE);
    // A three-state check box and a plain radio button have button type bit
    // 0x4 like a group box: directly on the form the gallery would make them
    // panels. Inside a group they stay as they are.
    HWND group = MakeGalleryControl(form, "Button", "系统外观", BS_GROUPBOX | WS_CLIPCHILDREN, x, y + 116, 240, 100);
    ::SetWindowLongPtrA(group, GWLP_ID, kGalleryOwnLookGroup);
    Check(group, kGalleryThreeState, "三态复选框", BS_3STATE, 12, 22, 200, 20, BST_INDETERMINATE);
    Check(group, kGalleryPlainRadio, "普通单选", BS_RADIOBUTTON, 12, 46, 200, 20, BST_CHECKED);
    Check(group, kGalleryGroupCheck, "组内复选框", BS_AUTOCHECKBOX, 12, 70, 200, 20, BST_CHECKED);
}
