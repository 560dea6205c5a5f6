// A group box panel holding a label, a progress bar and a check box, all
// skinned through the panel.
#include <windows.h>
#include <commctrl.h>

#include "tools/gallery/gallery_form.h"

void AddPanelSection(HWND form, const RECT& area) {
    HWND group = MakeGalleryControl(form, "Button", "分组框", BS_GROUPBOX | WS_CLIPCHILDREN, area.left, area.top,
                                    240, 200);
    MakeGalleryControl(group, "Static", "组内标签: 分组框的子窗口", SS_LEFT | SS_NOPREFIX, 12, 26, 210, 16);
    HWND bar = MakeGalleryControl(group, PROGRESS_CLASSA, "", 0, 12, 56, 210, 20);
    ::SendMessageA(bar, PBM_SETPOS, 40, 0);
    MakeGalleryControl(group, "Button", "复选框", BS_AUTOCHECKBOX, 12, 90, 120, 20);
}
