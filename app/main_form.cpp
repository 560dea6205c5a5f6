#include "app/main_form.h"

#include "app/form_loader.h"
#include "skin/model/display_scale.h"

namespace {

constexpr int kProgramIconId = 129;

const FormDescription& MainFormDescription() {
    using K = ControlKind;
    static const FormDescription form{
        kMainFormId, "软件更新", 50, 50, 492, 293,
        {
            {"进度条1", K::ProgressBar, kProgressBar1, 38, 50, 418, 32, "", 0},
            {"标签1", K::Label, kLabel1, 43, 89, 64, 15, "正在下载:", 0},
            {"标签4", K::Label, kLabel4, 121, 90, 335, 12, "", 0},
            {"标签2", K::Label, kLabel2, 43, 106, 64, 15, "已下载:", 0},
            {"标签5", K::Label, kLabel5, 121, 106, 335, 12, "", 0},
            {"标签3", K::Label, kLabel3, 43, 123, 64, 15, "下载速度:", 0},
            {"标签6", K::Label, kLabel6, 121, 122, 335, 12, "", 0},
            {"标签7", K::Label, kLabel7, 43, 139, 64, 15, "下载地址:", 0},
            {"标签8", K::Label, kLabel8, 120, 138, 336, 12, "", 0},
            {"编辑框1", K::MultiLineEdit, kEdit1, 37, 158, 419, 79, "", 0},
            {"标签检查", K::Label, kLabelCheck, 120, 328, 144, 32, "", 0},
            {"编辑框2", K::Edit, kEdit2, 824, 344, 72, 32, "", 0},
            {"编辑框3", K::Edit, kEdit3, 48, 384, 96, 24, "", 0},
            {"编辑框4", K::Edit, kEdit4, 48, 416, 96, 24, "", 0},
            {"编辑框5", K::Edit, kEdit5, 160, 384, 128, 24, "", 0},
            {"编辑框6", K::Edit, kEdit6, 680, 520, 208, 48, "", 0},
            {"按钮1", K::Button, kButton1, -32, 464, 88, 24, "开始更新", 0},
            {"按钮3", K::Button, kButton3, -32, 400, 104, 24, "下载完整安装包", 0},
            {"按钮2", K::Button, kButton2, 712, 630, 89, 32, "暂停更新", 0},
            {"时钟1", K::Timer, kTimer1, 0, 0, 0, 0, "", 0},
        },
        nullptr,
    };
    return form;
}

}  // namespace

HICON LoadProgramIcon() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(module, MAKEINTRESOURCEA(kProgramIconId));
    if (!icon) icon = ::LoadIconA(module, "DEFAULT_ICON");
    return icon;
}

HICON LoadProgramIconAt(int size) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    auto load = [&](LPCSTR name) {
        return static_cast<HICON>(::LoadImageA(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    };
    HICON icon = load(MAKEINTRESOURCEA(kProgramIconId));
    return icon ? icon : load("DEFAULT_ICON");
}

namespace {

// The window's title-bar and task-bar icons at the sizes its display scale
// asks for (16 and 32 px at 96 DPI), taken from the icon file's own images.
// Kept for the life of the process, one pair per scale.
void SetIconsForScale(HWND window) {
    static HICON small = nullptr, big = nullptr;
    static int loadedDpi = 0;
    const DisplayScale scale(WindowDpi(window));
    if (scale.IsBase()) return;  // the class icons are made for 96 DPI
    if (loadedDpi != scale.Dpi()) {
        small = LoadProgramIconAt(scale.Px(16));
        big = LoadProgramIconAt(scale.Px(32));
        loadedDpi = scale.Dpi();
    }
    if (small) ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (big) ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

}  // namespace

HWND LoadMainForm(HICON icon, void (*onCreated)()) {
    FormDescription form = MainFormDescription();
    form.onCreated = onCreated;
    HWND window = LoadForm(form, icon);
    if (window) SetIconsForScale(window);
    return window;
}

HWND LoadMainFormWithoutEvents(HICON icon) { return LoadMainForm(icon, nullptr); }
