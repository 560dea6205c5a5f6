// A report-style list view with three columns (the last title too long for
// its column) and a tree view with expanded nodes.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "skin/model/display_scale.h"
#include "tools/gallery/gallery_form.h"
#include "tools/gallery/sections_lists.h"

namespace {

void AddColumn(HWND view, int i, const char* title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = DisplayScale(WindowDpi(view)).Px(width);  // widths given at 96 DPI
    column.iSubItem = i;
    ::SendMessageA(view, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND view, int row, const char* name, const char* size, const char* note) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(name);
    ::SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const char* texts[] = {size, note};
    for (int sub = 1; sub <= 2; ++sub) {
        item.iSubItem = sub;
        item.pszText = const_cast<char*>(texts[sub - 1]);
        ::SendMessageA(view, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

HTREEITEM AddNode(HWND tree, HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

void AddViewSection(HWND form, const RECT& area) {
    HWND view = MakeGalleryControl(form, WC_LISTVIEWA, "", LVS_REPORT | LVS_SHOWSELALWAYS, area.left, area.top, 245,
                                   110, WS_EX_CLIENTEDGE);
    ::SetWindowLongPtrA(view, GWLP_ID, kGalleryReportView);
    AddColumn(view, 0, "名称", 70);
    AddColumn(view, 1, "大小", 50);
    AddColumn(view, 2, kGalleryLongColumnTitle, 80);
    AddRow(view, 0, "Norvane.exe", "2 MB", "主程序");
    AddRow(view, 1, "setup.exe", "40 MB", "完整安装包");
    AddRow(view, 2, "config.ini", "1 KB", "配置");

    HWND tree = MakeGalleryControl(form, WC_TREEVIEWA, "", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                                   area.left, area.top + 120, 245, 115, WS_EX_CLIENTEDGE);
    ::SetWindowLongPtrA(tree, GWLP_ID, kGalleryTreeView);
    HTREEITEM root = AddNode(tree, TVI_ROOT, "更新程序");
    HTREEITEM skin = AddNode(tree, root, "皮肤");
    AddNode(tree, skin, "窗体");
    AddNode(tree, skin, "控件");
    HTREEITEM net = AddNode(tree, root, "网络");
    AddNode(tree, net, "下载");
    AddNode(tree, TVI_ROOT, "文档");
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(skin));
}
