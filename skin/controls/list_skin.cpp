#include "skin/controls/list_skin.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "runtime/allocation_failure.h"
#include "runtime/msimg32_api.h"
#include "skin/controls/control_skin_common.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/frame_band.h"
#include "skin/paint/paint_primitives.h"
#include "skin/controls/static_skin.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// The background a translucent tree view or list box paints with: keyed out
// when its painting is copied over the veiled background.
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kHotClassList = 4;
// Posted after an arrow key of a translucent list: repaint it whole once the
// control has moved its selection (it scrolls by copying pixels).
constexpr UINT kKeyNavigationRepaint = WM_APP + 2;
constexpr LONG kListOwnerDrawn = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE;
constexpr LONG kEdgeStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

enum class ListKind { ListBox, DropDownList, ListView, TreeView, FrameOnly };

ListKind KindOf(HWND window) {
    const Text cls = ClassNameOf(window);
    if (cls == "ListBox") return ListKind::ListBox;
    if (cls == "ComboLBox") return ListKind::DropDownList;
    if (cls == WC_LISTVIEWA) return ListKind::ListView;
    if (cls == WC_TREEVIEWA) return ListKind::TreeView;
    return ListKind::FrameOnly;
}

bool IsOwnerDrawnListBox(HWND window) {
    return (::GetWindowLongPtrA(window, GWL_STYLE) & kListOwnerDrawn) != 0;
}

bool HasScrollBarStyle(HWND window) {
    return (::GetWindowLongPtrA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

bool IsBordered(HWND window) {
    return (::GetWindowLongPtrA(window, GWL_STYLE) & WS_BORDER) != 0 ||
           (::GetWindowLongPtrA(window, GWL_EXSTYLE) & kEdgeStyles) != 0;
}

struct ListState {
    HWND window = nullptr;
    int focused = 0;
    int hovered = 0;
    int keyNavigation = 0;
    HWND combo = nullptr;  // a drop-down list's combo box
};

bool ReadListAt(SkinState& engine, int formIndex, int index, ListState& state) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
        const auto& lists = forms[formIndex - 1]->lists;
        if (index < 1 || index > static_cast<int>(lists.size())) return false;
        const ControlRecord& record = lists[index - 1];
        state.window = record.window;
        state.focused = record.focused;
        state.hovered = record.hovered;
        state.keyNavigation = record.keyNavigation;
        state.combo = record.parent;
        return state.window != nullptr;
    });
}

template <typename Change>
void ChangeList(SkinState& engine, HWND window, Change&& change) {
    WithControlRecord(engine, window, &FormSkin::lists,
                      [&](FormSkin& form, ControlRecord& record) { change(form, record); });
}

// The 32-bit pixels of the DIB section selected into a memory DC; null when
// it holds none of that size.
std::uint32_t* PixelsOf(HDC dc, int w, int h) {
    DIBSECTION section{};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || ::GetObjectA(bitmap, sizeof section, &section) != sizeof section) return nullptr;
    if (section.dsBm.bmBitsPixel != 32 || section.dsBm.bmWidth != w || std::abs(section.dsBm.bmHeight) != h) {
        return nullptr;
    }
    return static_cast<std::uint32_t*>(section.dsBm.bmBits);
}

// Where the keyed pass painted anything but the key, the white pass's pixel
// goes over the veil; false when the pixels cannot be reached.
bool MergeOverVeil(HDC keyed, HDC plain, HDC veiled, int w, int h) {
    ::GdiFlush();
    const std::uint32_t* key = PixelsOf(keyed, w, h);
    const std::uint32_t* text = PixelsOf(plain, w, h);
    std::uint32_t* out = PixelsOf(veiled, w, h);
    if (!key || !text || !out) return false;
    constexpr std::uint32_t kKeyPixel = 0x00FF00FF;  // RGB(255, 0, 255) in either byte order
    for (std::size_t i = 0, n = static_cast<std::size_t>(w) * h; i < n; ++i) {
        if ((key[i] & 0x00FFFFFF) != kKeyPixel) out[i] = text[i];
    }
    return true;
}

// One pass of a control's own painting into dc over the background colour.
using OwnPaintPass = void (*)(HWND window, HDC dc, COLORREF background);

// The control paints itself over the magenta key into a copy of what lies
// behind it, and once more over white. Its text is smoothed into the
// background it is drawn on, so text over the key keeps a magenta fringe:
// where the keyed pass left anything but the key, the white pass's pixel goes
// over the veiled background; the rest shows the veil.
void PaintKeyedOverVeil(SkinState& engine, HWND window, OwnPaintPass pass) {
    RECT client{};
    ::GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    PaintScope paint(window);
    if (w <= 0 || h <= 0) return;
    HDC keyed = ComposeControlBackground(engine, window, client);
    if (!keyed) return;
    pass(window, keyed, kKey);
    if (HDC veiled = MakeVeiledBackground(engine, window)) {
        HDC plain = ComposeControlBackground(engine, window, client);
        bool merged = false;
        if (plain) {
            pass(window, plain, kWhite);
            merged = MergeOverVeil(keyed, plain, veiled, w, h);
        }
        if (!merged) pTransparentBlt(veiled, 0, 0, w, h, keyed, 0, 0, w, h, kKey);
        if (plain) ReleaseMemoryDc(engine, plain);
        HDC dc = ExcludeVisibleChildren(window, nullptr, false);
        ::BitBlt(dc, 0, 0, w, h, veiled, 0, 0, SRCCOPY);
        ::ReleaseDC(window, dc);
        ReleaseMemoryDc(engine, veiled);
    }
    ReleaseMemoryDc(engine, keyed);
}

// A translucent tree keeps the key as its background colour between paints.
void TreePass(HWND window, HDC dc, COLORREF background) {
    const bool keyed = background == kKey;
    if (!keyed) ::SendMessageA(window, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
    ForwardToPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    if (!keyed) {
        ::SendMessageA(window, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kKey));
        // The colour changes invalidated the tree; this paint already covers it.
        ::ValidateRect(window, nullptr);
    }
}

// The list box painting a pass on this thread and the background it gets
// from its parent: it fills its rows and the area below them with the
// colour its parent answers.
struct ListBoxPassState {
    HWND list = nullptr;
    COLORREF background = kWhite;
};
thread_local ListBoxPassState activeListBoxPass;

void ListBoxPass(HWND window, HDC dc, COLORREF background) {
    const ListBoxPassState outer = activeListBoxPass;
    activeListBoxPass = ListBoxPassState{window, background};
    ForwardToPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    activeListBoxPass = outer;
}

// Translucent list view: it paints its items with no text background over the
// veiled background. Its children (its header) are left out of the copy, so
// they keep what they painted and need no repaint of their own.
void PaintOverVeil(SkinState& engine, HWND window) {
    PaintScope paint(window);
    RECT client{};
    ::GetClientRect(window, &client);
    if (HDC veiled = MakeVeiledBackground(engine, window)) {
        ForwardToPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(veiled), 0);
        const int saved = ::SaveDC(paint.Dc());
        ExcludeVisibleChildren(window, paint.Dc(), true);
        ::BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, veiled, 0, 0, SRCCOPY);
        ::RestoreDC(paint.Dc(), saved);
        ReleaseMemoryDc(engine, veiled);
    }
}

LRESULT OnListPaint(SkinState& engine, HWND window, WPARAM wParam, LPARAM lParam, bool translucent) {
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    PaintListFrame(engine, F, index, false, false, false, false);
    if (!translucent) return ForwardToPrevious(window, WM_PAINT, wParam, lParam);
    const ListKind kind = KindOf(window);
    if (kind == ListKind::TreeView) {
        PaintKeyedOverVeil(engine, window, &TreePass);
    } else if (kind == ListKind::ListBox && !IsOwnerDrawnListBox(window)) {
        PaintKeyedOverVeil(engine, window, &ListBoxPass);
    } else if (kind == ListKind::ListView) {
        PaintOverVeil(engine, window);
    } else {
        return ForwardToPrevious(window, WM_PAINT, wParam, lParam);
    }
    return ::DefWindowProcA(window, WM_PAINT, 0, lParam);
}

// Only the scroll bars get the system's painting; the region of WM_NCPAINT
// is in screen coordinates.
LRESULT OnListNcPaint(SkinState& engine, HWND window, LPARAM lParam) {
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    PaintListFrame(engine, F, index, false, false, false, false);
    if (HasScrollBarStyle(window)) {
        if (RegionHandle bars = ScrollBarRegion(window)) {
            RECT windowRect{};
            ::GetWindowRect(window, &windowRect);
            ::OffsetRgn(bars.Get(), windowRect.left, windowRect.top);
            return ::DefWindowProcA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.Get()), lParam);
        }
    }
    return ::DefWindowProcA(window, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFFu), lParam);
}

// Anything but the lists proper (an IP-address or date-time picker) erases
// to the veiled background into the erase DC, which is clipped to the update
// region: a partial repaint must not veil what lies outside it.
LRESULT OnListEraseBackground(SkinState& engine, HWND window, WPARAM wParam, LPARAM lParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    const ListKind kind = KindOf(window);
    if (kind == ListKind::TreeView || kind == ListKind::ListView ||
        (kind == ListKind::ListBox && !IsOwnerDrawnListBox(window))) {
        ::SetBkMode(dc, TRANSPARENT);
        return 1;  // the background comes with WM_PAINT
    }
    if (kind == ListKind::ListBox || kind == ListKind::DropDownList) {
        return ForwardToPrevious(window, WM_ERASEBKGND, wParam, lParam);
    }
    ::SetBkMode(dc, TRANSPARENT);
    PaintEditBackground(engine, window, dc, false);
    return static_cast<LRESULT>(::SetTextColor(dc, static_cast<COLORREF>(GetProperty(window, prop::kTextColour))));
}

void OnListMouseMove(SkinState& engine, HWND window) {
    TrackMouseLeave(window);
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    bool becameHot = false;
    ChangeList(engine, window, [&](FormSkin& form, ControlRecord& record) {
        becameHot = form.previousHotControl != index || form.hotControlClass != kHotClassList || !record.hovered;
        record.hovered = 1;
    });
    if (!becameHot) return;
    PaintListFrame(engine, F, index, false, false, true, true);
    ChangeList(engine, window, [&](FormSkin& form, ControlRecord&) {
        form.hotControl = index;
        form.previousHotControl = index;
        form.hotControlClass = kHotClassList;
    });
}

void OnListMouseLeave(SkinState& engine, HWND window) {
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    ChangeList(engine, window, [](FormSkin& form, ControlRecord& record) {
        form.previousHotControl = 0;
        record.hovered = 0;
    });
    PaintListFrame(engine, F, index, false, false, false, true);
}

void OnListFocus(SkinState& engine, HWND window, int focused) {
    ChangeList(engine, window, [&](FormSkin&, ControlRecord& record) { record.focused = focused; });
    PaintListFrame(engine, static_cast<int>(GetProperty(window, prop::kFormIndex)),
                   static_cast<int>(GetProperty(window, prop::kIndex)), false, false, false, false);
}

LRESULT DispatchListMessage(SkinState& engine, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            bool translucent) {
    switch (message) {
    case WM_MOVE:
        if (translucent) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_SETFOCUS: OnListFocus(engine, window, 1); break;
    case WM_KILLFOCUS: OnListFocus(engine, window, 0); break;
    case WM_ERASEBKGND:
        if (translucent) return OnListEraseBackground(engine, window, wParam, lParam);
        break;
    case WM_PAINT: return OnListPaint(engine, window, wParam, lParam, translucent);
    case WM_NCPAINT: return OnListNcPaint(engine, window, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        if (translucent) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_KEYDOWN:
        if (translucent && wParam >= VK_LEFT && wParam <= VK_DOWN) {
            ChangeList(engine, window, [](FormSkin&, ControlRecord& record) { record.keyNavigation = 1; });
            ::PostMessageA(window, kKeyNavigationRepaint, 0, 0);
        }
        break;
    case WM_KEYUP:
        // Only the list's own capture: another window of the thread may be
        // dragging something.
        if (::GetCapture() == window) ::ReleaseCapture();
        break;
    case WM_MOUSEMOVE: OnListMouseMove(engine, window); break;
    case WM_MOUSELEAVE: OnListMouseLeave(engine, window); break;
    case kKeyNavigationRepaint: {
        bool navigated = false;
        ChangeList(engine, window, [&](FormSkin&, ControlRecord& record) {
            navigated = record.keyNavigation != 0;
            record.keyNavigation = 0;
        });
        if (translucent && navigated) ::InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

// Messages after which a list box may have repainted rows or its focus
// rectangle straight into its window, over its parent's answer instead of
// the veil.
bool RepaintsRowsDirectly(HWND window, UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CHAR:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case LB_SETCURSEL:
    case LB_SETSEL:
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX:
    case LB_SETCARETINDEX: return true;
    case WM_MOUSEMOVE: return ::GetCapture() == window;  // a selection being dragged
    default: return false;
    }
}

LRESULT HandleListMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    if (!engine || !IsSkinnedList(*engine, window)) return ForwardToPrevious(window, message, wParam, lParam);
    const bool translucent = ControlSettings(*engine).translucent;
    if (translucent && KindOf(window) == ListKind::ListBox && !IsOwnerDrawnListBox(window) &&
        RepaintsRowsDirectly(window, message)) {
        // Handled as usual, then the whole list is painted again over the veil.
        const LRESULT result = DispatchListMessage(*engine, window, message, wParam, lParam, translucent);
        ::InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    return DispatchListMessage(*engine, window, message, wParam, lParam, translucent);
}

void SkinList(SkinState& engine, int formIndex, HWND list, bool translucent, HWND combo = nullptr) {
    if (!list || !::IsWindow(list)) return;
    const int index = engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
        auto& lists = forms[formIndex - 1]->lists;
        // A list attached again keeps its one record: subclassing it twice
        // would make the skin its own previous procedure.
        for (const ControlRecord& r : lists) {
            if (r.window == list) return -1;
        }
        const int i = TakeRecordSlot(lists, list);
        lists[i - 1].focused = ::GetFocus() == list ? 1 : 0;
        lists[i - 1].parent = combo;
        return i;
    });
    if (index < 1) return;
    SetProperty(list, prop::kIndex, index);
    SetProperty(list, prop::kFormIndex, formIndex);
    WNDPROC previous = SubclassWindow(list, &ListSkinProc);
    WithControlRecord(engine, list, &FormSkin::lists, [&](FormSkin&, ControlRecord& r) { r.previousProc = previous; });
    if (translucent) {
        const ListKind kind = KindOf(list);
        if (kind == ListKind::ListView) ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
        if (kind == ListKind::TreeView) ::SendMessageA(list, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kKey));
    }
}

void SkinChildrenOfClass(SkinState& engine, int formIndex, HWND parent, const char* cls, bool translucent) {
    std::vector<HWND> found;
    for (HWND child = ::FindWindowExA(parent, nullptr, cls, nullptr); child;
         child = ::FindWindowExA(parent, child, cls, nullptr)) {
        found.push_back(child);
    }
    for (HWND child : found) SkinList(engine, formIndex, child, translucent);
}

}  // namespace

void AttachListSkin(SkinState& engine, int formIndex, HWND parent) {
    const ControlSkinSettings settings = ControlSettings(engine);
    if (!settings.skinControls || !engine.Form(formIndex)) return;
    const bool translucent = settings.translucent;
    SkinChildrenOfClass(engine, formIndex, parent, "ListBox", translucent);
    std::vector<HWND> combos;
    for (HWND combo = ::FindWindowExA(parent, nullptr, "ComboBox", nullptr); combo;
         combo = ::FindWindowExA(parent, combo, "ComboBox", nullptr)) {
        combos.push_back(combo);
    }
    for (HWND combo : combos) {
        // A drop-down list is a pop-up owned by the combo, not its child.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (::GetComboBoxInfo(combo, &info)) SkinList(engine, formIndex, info.hwndList, translucent, combo);
    }
    SkinChildrenOfClass(engine, formIndex, parent, WC_LISTVIEWA, translucent);
    SkinChildrenOfClass(engine, formIndex, parent, WC_TREEVIEWA, translucent);
    SkinChildrenOfClass(engine, formIndex, parent, WC_IPADDRESSA, translucent);
    SkinChildrenOfClass(engine, formIndex, parent, DATETIMEPICK_CLASSA, translucent);
}

LRESULT CALLBACK ListSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleListMessage(window, message, wParam, lParam); });
}

void PaintListFrame(SkinState& engine, int formIndex, int index, bool focused, bool useFocused, bool hovered,
                    bool useHovered) {
    ListState state;
    if (!ReadListAt(engine, formIndex, index, state)) return;
    const ControlSkinSettings settings = ControlSettings(engine);
    // A drop-down list floats over whatever lies below it: its band is
    // opaque, and what lies behind its combo stands in for its background.
    const bool dropDown = KindOf(state.window) == ListKind::DropDownList;
    FrameBandLook look;
    look.bandAlpha = settings.translucent && !dropDown ? settings.controlBackAlpha : 255;
    look.accentAlpha = 200;
    look.accent = settings.accent;
    look.bordered = IsBordered(state.window);
    look.focused = useFocused ? focused : state.focused != 0;
    look.hovered = useHovered ? hovered : state.hovered != 0;
    PaintFrameBand(engine, state.window, look, dropDown ? state.combo : nullptr);
}

bool IsListBoxPaintPass(HWND list) { return list && activeListBoxPass.list == list; }

LRESULT AnswerListBoxPass(HDC dc) {
    const COLORREF background = activeListBoxPass.background;
    ::SetBkColor(dc, background);
    ::SetDCBrushColor(dc, background);
    return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
}

bool IsSkinnedList(SkinState& engine, HWND window) {
    return WithControlRecord(engine, window, &FormSkin::lists, [](FormSkin&, ControlRecord&) {});
}
