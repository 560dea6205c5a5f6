// The main window and its controls, as the update client addresses them.
#pragma once

#include <windows.h>

#include "runtime/window_ops.h"

constexpr int kMainFormId = 1;

// Unit ids of the controls (top four bits set: a control, not the form).
enum MainControl : int {
    kMainForm = 0,
    kProgressBar1 = 0x10000001,  // 进度条1
    kLabel1,                     // 标签1 "正在下载:"
    kLabel2,                     // 标签2 "已下载:"
    kLabel3,                     // 标签3 "下载速度:"
    kLabel4,                     // 标签4 file name and size during a download
    kLabel5,                     // 标签5
    kLabel6,                     // 标签6 speed and remaining time
    kLabel7,                     // 标签7 "下载地址:"
    kLabel8,                     // 标签8 download address
    kLabelCheck,                 // 标签检查 (outside the visible area)
    kEdit1,                      // 编辑框1 information text
    kEdit2,                      // 编辑框2 .. 编辑框6: copies of manifest values (outside)
    kEdit3,
    kEdit4,
    kEdit5,
    kEdit6,
    kButton1,  // 按钮1 "开始更新" (outside, no handler)
    kButton2,  // 按钮2 "暂停更新" (outside, no handler)
    kButton3,  // 按钮3 "下载完整安装包" (outside, no handler)
    kTimer1,   // 时钟1, interval 0
};

constexpr WindowRef MainRef(MainControl unit) { return WindowRef{kMainFormId, unit}; }

// The program icon: resource 129 of the program file, else the icon named
// "DEFAULT_ICON"; nullptr when neither loads.
HICON LoadProgramIcon();
// The program icon's image nearest to size x size pixels, scaled to it.
HICON LoadProgramIconAt(int size);

// Loads and shows the main window; its created event runs onCreated (the
// update client's LoadManifestAndDecide in the program), after every control
// exists and before the window shows.
HWND LoadMainForm(HICON icon, void (*onCreated)());
// The same window without the created event (benchmarks, tests).
HWND LoadMainFormWithoutEvents(HICON icon);
