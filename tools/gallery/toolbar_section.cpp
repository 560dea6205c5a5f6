// A tool bar of text buttons, composited over the skin background.
#include <windows.h>
#include <commctrl.h>

#include "tools/gallery/gallery_form.h"

void AddToolbarSection(HWND form, const RECT& area) {
    HWND bar = MakeGalleryControl(form, TOOLBARCLASSNAMEA, "",
                                  TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                                  area.left, area.top, 240, 30);
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    static const char* const kTexts[] = {"打开", "保存", "关于"};
    for (int i = 0; i < 3; ++i) {
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = 100 + i;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(kTexts[i]);
        ::SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
}
