#include "tools/gallery/gallery_form.h"

#include <commctrl.h>

#include "resources/embedded_images.h"
#include "runtime/allocation_failure.h"
#include "runtime/win_handles.h"
#include "skin/controls/static_skin.h"
#include "skin/window/container_skin.h"
#include "skin/window/child_rescale.h"
#include "skin/window/panel_skin.h"
#include "skin/skin_engine.h"
#include "tools/gallery/sections_buttons_edits.h"
#include "tools/gallery/sections_lists.h"

void AddProgressSection(HWND form, const RECT& area);
void AddStaticSection(HWND form, const RECT& area);
void AddPanelSection(HWND form, const RECT& area);
void AddToolbarSection(HWND form, const RECT& area);
void AddChecksSection(HWND form, const RECT& area);
void AddTrackSection(HWND form, const RECT& area);
void AddUpDownSection(HWND form, const RECT& area);

namespace {

// One line per section, one list per page. The second page holds check
// boxes, radio buttons, lists, trees, track bars, up-downs and headers.
const std::vector<std::vector<GallerySectionEntry>> kPages = {
    {
        {"progress", AddProgressSection},
        {"statics", AddStaticSection},
        {"panels", AddPanelSection},
        {"toolbars", AddToolbarSection},
        {"buttons", AddButtonSection},
        {"edits", AddEditSection},
    },
    {
        {"checks", AddChecksSection},
        {"lists", AddListSection},
        {"views", AddViewSection},
        {"headers", AddHeaderSection},
        {"tracks", AddTrackSection},
        {"updowns", AddUpDownSection},
    },
};

constexpr char kGalleryClass[] = "SkinGalleryForm";
constexpr char kOwnedImage[] = "GalleryImage";
constexpr int kColumns = 3;
constexpr int kCaptionHeight = 30;
constexpr int kCellWidth = 260;
constexpr int kCellHeight = 250;
constexpr int kFormWidth = kColumns * kCellWidth + 20;
constexpr int kFormHeight = kCaptionHeight + 2 * kCellHeight + 20;
// Groups are filled white at this opacity.
constexpr int kPanelFillAlpha = 90;

BOOL CALLBACK DeleteOwnedImage(HWND child, LPARAM) {
    if (HANDLE image = ::RemovePropA(child, kOwnedImage)) BitmapHandle owned(static_cast<HBITMAP>(image));
    return TRUE;
}

LRESULT HandleGalleryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The children are still there on WM_DESTROY; their images go with them.
    if (message == WM_DESTROY) ::EnumChildWindows(window, &DeleteOwnedImage, 0);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleGalleryMessage(window, message, wParam, lParam); });
}

void RegisterGalleryClass() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = &GalleryProc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kGalleryClass;
    ::RegisterClassA(&cls);  // fails harmlessly when registered already
}

// What a form does not skin itself: group boxes become panels (their
// children skinned), tool bars containers, and labels get the label skin
// as a dialog's do.
void SkinWhatTheFormLeaves(SkinEngine& engine, int formIndex, HWND form) {
    std::vector<HWND> groups;
    for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsGroupButton(child)) groups.push_back(child);
    }
    for (HWND group : groups) {
        AttachPanel(engine, group, 1, RGB(255, 255, 255), kPanelFillAlpha);
        AttachStaticSkin(engine, formIndex, group);
    }
    AttachToolbars(engine, formIndex, form);
    AttachStaticSkin(engine, formIndex, form);
}

}  // namespace

int GalleryPageCount() { return static_cast<int>(kPages.size()); }

const std::vector<GallerySectionEntry>& GallerySections(int page) {
    static const std::vector<GallerySectionEntry> none;
    return page >= 0 && page < GalleryPageCount() ? kPages[page] : none;
}

RECT GallerySectionArea(int place) {
    const int left = 10 + (place % kColumns) * kCellWidth;
    const int top = kCaptionHeight + 10 + (place / kColumns) * kCellHeight;
    return RECT{left, top, left + kCellWidth - 10, top + kCellHeight - 10};
}

void GiveImageToGallery(HWND control, HBITMAP image) {
    if (!image) return;
    ::SetPropA(control, kOwnedImage, image);
}

HWND MakeGalleryControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                        int height, DWORD exStyle) {
    HWND control = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                     parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (control) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

HWND CreateGalleryForm(SkinEngine& engine, int page) {
    const std::vector<GallerySectionEntry>& sections = GallerySections(page);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                       ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    RegisterGalleryClass();
    HWND form = ::CreateWindowExA(WS_EX_APPWINDOW, kGalleryClass, page == 0 ? "控件样例" : "控件样例 2",
                                  WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 40, 40, kFormWidth,
                                  kFormHeight, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!form) return nullptr;
    for (std::size_t i = 0; i < sections.size(); ++i) sections[i].create(form, GallerySectionArea(static_cast<int>(i)));
    // The sections are laid out at 96 DPI; at another scale the form and
    // every control are placed again for it (their fonts already are).
    const int dpi = WindowDpi(form);
    if (dpi != DisplayScale::kBaseDpi) {
        const DisplayScale scale(dpi);
        ::SetWindowPos(form, nullptr, scale.Px(40), scale.Px(40), scale.Px(kFormWidth), scale.Px(kFormHeight),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        RescaleChildWindows(form, DisplayScale::kBaseDpi, dpi);
    }

    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
    engine.SetOptions(1, 80);
    SkinEngine::FormOptions options;
    options.captionHeight = kCaptionHeight;
    options.resizable = 0;
    options.captionSheen = 1;
    options.backMode = 3;
    const int formIndex = engine.AttachForm(form, options, background);
    if (formIndex > 0) {
        SkinWhatTheFormLeaves(engine, formIndex, form);
        FinishButtonSection(form);
    }
    return form;
}
