#include "skin/window/panel_skin.h"

#include <algorithm>
#include <cstring>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/string_format.h"
#include "runtime/allocation_failure.h"
#include "runtime/window_ops.h"
#include "skin/controls/edit_skin.h"
#include "skin/controls/list_skin.h"
#include "skin/paint/paint_primitives.h"
#include "skin/controls/static_skin.h"
#include "skin/window/child_colour.h"
#include "skin/window/child_skin_dispatch.h"
#include "skin/model/skin_state.h"

namespace {

constexpr int kTreeItemExpanding = -405;
constexpr int kTreeItemExpanded = -406;
constexpr LONG_PTR kGroupBoxBit = 0x4;
// Where a group box's caption text starts, at 96 DPI.
constexpr int kCaptionX = 8;

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

// What a paint of the panel needs, copied out of the record under the lock.
struct PanelPaintState {
    bool found = false;
    bool filled = false;
    bool group = false;
    Text face;
    int size = 0;
    int style = 0;
    std::vector<DockedWindow> docked;
};

// The record at (formIndex, panelIndex) only when it is the window's own:
// indexes read from the window's properties may be stale.
PanelPaintState PanelState(SkinState& engine, HWND window, int formIndex, int panelIndex) {
    return engine.WithForms([&](FormSkinList& forms) {
        PanelPaintState state;
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return state;
        const auto& panels = forms[formIndex - 1]->panels;
        if (panelIndex < 1 || panelIndex > static_cast<int>(panels.size())) return state;
        const PanelRecord& record = panels[panelIndex - 1];
        if (record.window != window) return state;
        state.found = true;
        state.filled = record.filled != 0;
        state.group = record.rounded != 0;
        state.face = record.captionFace;
        state.size = record.captionSize;
        state.style = record.captionStyle;
        state.docked = record.docked;
        return state;
    });
}

void DrawGroupCaption(SkinState& engine, HDC dc, HWND window, const PanelPaintState& state) {
    const Text caption = WindowText(window);
    if (caption.empty()) return;
    const DisplayScale s = ScaleOfWindow(engine, window);
    GdipGraphics graphics;
    graphics.CreateFromHDC(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // The control's own font is sized for its DPI already; the default is 12 pixels at 96.
    GdipFont font;
    if (!font.CreateFontByName(state.face.empty() ? Text("宋体") : state.face,
                               state.size > 0 ? static_cast<float>(state.size) : s.Pf(12), state.style)) {
        return;
    }
    GdipStringFormat format;
    format.CreateStringFormat();
    GdipSolidBrush brush;
    brush.CreateSolidFill(ToArgb(static_cast<COLORREF>(GetProperty(window, prop::kTextColour)), 255, true));
    RECT client{};
    ::GetClientRect(window, &client);
    const float captionX = static_cast<float>(s.Px(kCaptionX));
    graphics.DrawString(caption, font,
                        Gdiplus::RectF(captionX, 0, static_cast<float>(client.right) - captionX,
                                       static_cast<float>(client.bottom)),
                        format, brush);
}

void PaintPanel(SkinState& engine, HWND window, HDC target, const PanelPaintState& state) {
    RECT client{};
    ::GetClientRect(window, &client);
    HDC memory = ComposeControlBackground(engine, window, client);
    if (!memory) return;
    if (state.group) DrawGroupCaption(engine, memory, window, state);
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ReleaseMemoryDc(engine, memory);
}

LRESULT HandlePanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const int P = static_cast<int>(GetProperty(window, prop::kIndex));
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    if (!engine || P < 1 || F < 1) return Forward(window, message, wParam, lParam);
    // A record that is not this panel's (another form's, after a renumbering
    // this window missed) is never used: the panel is left unskinned.
    const PanelPaintState state = PanelState(*engine, window, F, P);
    if (!state.found) return Forward(window, message, wParam, lParam);
    LRESULT answer = 0;
    switch (message) {
    case WM_MOVE:
        if (state.filled) ::InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_SIZE: PlaceDockedWindows(window, state.docked); break;
    case WM_PAINT: {
        if (!state.filled) break;
        PaintScope paint(window);
        // Children of the panel keep their own painting: the copy leaves them out.
        ExcludeVisibleChildren(window, paint.Dc(), true);
        PaintPanel(*engine, window, paint.Dc(), state);
        return 0;
    }
    case WM_PRINTCLIENT: {
        if (!state.filled) break;
        PaintPanel(*engine, window, reinterpret_cast<HDC>(wParam), state);
        return 0;
    }
    default:
        if (AnswerChildMessage(*engine, F, message, wParam, lParam, answer)) return answer;
        break;
    }
    return Forward(window, message, wParam, lParam);
}

}  // namespace

bool IsGroupButton(HWND window) {
    return ClassNameOf(window) == "Button" && (::GetWindowLongPtrA(window, GWL_STYLE) & kGroupBoxBit) != 0;
}

HWND FindBackgroundOwnerAncestor(HWND window) {
    for (HWND w = ::GetParent(window); w; w = ::GetParent(w)) {
        if (GetProperty(w, prop::kOwnsBackground) == 1) return w;
    }
    return nullptr;
}

int AttachPanel(SkinState& engine, HWND window, int option, COLORREF fillColour, int alpha, int rounded,
                std::optional<int> fill) {
    if (!::IsWindow(window)) return 0;
    const int F = FindOwningForm(engine, window);
    if (F < 1) return 0;
    const bool group = IsGroupButton(window);
    // Read before the lock: WM_GETFONT is a message to the window.
    const ControlFont font = group ? ReadControlFont(window) : ControlFont{};
    const int P = engine.WithForms([&](FormSkinList& forms) {
        auto& panels = forms[F - 1]->panels;
        for (const PanelRecord& record : panels) {
            if (record.window == window) return 0;
        }
        const int index = TakeRecordSlot(panels, window);
        PanelRecord& record = panels[index - 1];
        record.fillColour = fillColour;
        record.filled = fill ? *fill : (fillColour != 0 ? 1 : 0);
        record.fillAlpha = alpha & 0xFF;
        record.option = option;
        record.rounded = (group || rounded) ? 1 : 0;
        if (group) {
            record.captionFace = font.face;
            record.captionSize = font.size;
            record.captionStyle = font.style;
        }
        return index;
    });
    if (P == 0) return 0;
    SkinPanelChildren(engine, F, window);
    const WNDPROC previous = SubclassWindow(window, &PanelProc);
    engine.WithForms([&](FormSkinList& forms) {
        if (F > static_cast<int>(forms.size())) return;
        auto& panels = forms[F - 1]->panels;
        if (P <= static_cast<int>(panels.size()) && panels[P - 1].window == window) {
            panels[P - 1].attached = 1;
            panels[P - 1].previousProc = previous;
        }
    });
    SetProperty(window, prop::kIndex, P);
    SetProperty(window, prop::kFormIndex, F);
    SetProperty(window, prop::kParentOwnsBackground, reinterpret_cast<LONG_PTR>(FindBackgroundOwnerAncestor(window)));
    return P;
}

bool DockToPanel(SkinState& engine, HWND panel, HWND child, int y, int height) {
    const int P = static_cast<int>(GetProperty(panel, prop::kIndex));
    const int F = static_cast<int>(GetProperty(panel, prop::kFormIndex));
    const bool docked = engine.WithForms([&](FormSkinList& forms) {
        if (F < 1 || F > static_cast<int>(forms.size())) return false;
        auto& panels = forms[F - 1]->panels;
        if (P < 1 || P > static_cast<int>(panels.size()) || panels[P - 1].window != panel) return false;
        auto& list = panels[P - 1].docked;
        for (DockedWindow& d : list) {
            if (d.window == child) {
                d = DockedWindow{child, y, height};
                return true;
            }
        }
        list.push_back(DockedWindow{child, y, height});
        return true;
    });
    if (!docked) return false;
    PlaceDockedWindows(panel, {DockedWindow{child, y, height}});
    return true;
}

void PlaceDockedWindows(HWND parent, const std::vector<DockedWindow>& docked) {
    RECT client{};
    ::GetClientRect(parent, &client);
    // Inset, top and height are 96-DPI sizes, placed at the parent's form's scale.
    SkinState* engine = SkinState::Instance();
    const DisplayScale s = engine ? ScaleOfWindow(*engine, parent) : DisplayScale(WindowDpi(parent));
    const int inset = s.Px(2);
    const int width = std::max(0, static_cast<int>(client.right) - 2 * inset);
    for (const DockedWindow& d : docked) {
        if (!::IsWindow(d.window)) continue;
        const int top = d.y < 0 ? static_cast<int>(client.bottom) + s.Px(d.y) : s.Px(d.y);
        const int height = s.Px(d.y + d.height) - s.Px(d.y);
        RECT now{};
        ::GetWindowRect(d.window, &now);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
        if (now.left == inset && now.top == top && now.right - now.left == width && now.bottom - now.top == height) {
            continue;
        }
        ::MoveWindow(d.window, inset, top, width, height, TRUE);
    }
}

bool AnswerChildMessage(SkinState& engine, int formIndex, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result) {
    const SkinSettings settings = engine.WithSettings([](SkinSettings& s) {
        SkinSettings copy;
        copy.skinControls = s.skinControls;
        copy.controlBackAlphaSet = s.controlBackAlphaSet;
        return copy;
    });
    const bool controlColours = settings.skinControls && settings.controlBackAlphaSet;
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    switch (message) {
    case WM_DRAWITEM:
        if (lParam) {
            DRAWITEMSTRUCT item;
            std::memcpy(&item, reinterpret_cast<void*>(lParam), sizeof item);
            PaintOwnerDrawnItem(engine, formIndex, item);
        }
        return false;
    case WM_NOTIFY:
        if (lParam) {
            NMHDR header;
            std::memcpy(&header, reinterpret_cast<void*>(lParam), sizeof header);
            const int code = static_cast<int>(header.code);
            if (code == kTreeItemExpanding || code == kTreeItemExpanded) {
                ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
            }
        }
        return false;
    case WM_COMMAND:
        if (controlColours && lParam) {
            const int code = HIWORD(wParam);
            const Text cls = ClassNameOf(control);
            if ((cls == "Edit" && (code == EN_HSCROLL || code == EN_VSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
                (cls == "ListBox" && (code == LBN_SELCHANGE || code == LBN_SETFOCUS)) ||
                (cls == "ComboBox" && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE))) {
                ::InvalidateRect(control, nullptr, TRUE);
            } else if (cls != "Edit" && cls != "ListBox" && cls != "ComboBox") {
                RefreshCheckBox(engine, formIndex, control);
            }
        }
        return false;
    case WM_CTLCOLOREDIT:
        if (ClassNameOf(::GetParent(control)) == "ComboBox" || !controlColours) return false;
        // A skinned edit is answered with its veiled background, as on the form.
        result = IsSkinnedEdit(engine, control) ? AnswerEditColour(engine, control, dc)
                                                : AnswerChildColour(engine, formIndex, dc, control, true);
        return true;
    case WM_CTLCOLORLISTBOX: {
        if (IsListBoxPaintPass(control)) {  // a skinned list box painting itself over the veil
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            result = AnswerListBoxPass(dc);
            return true;
        }
        if (!controlColours || ClassNameOf(control) != "ListBox") return false;
        const bool drawnBySkin = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
            for (const ControlRecord& r : forms[formIndex - 1]->lists) {
                if (r.window == control) return true;
            }
            return false;
        });
        if (drawnBySkin) return false;
        result = AnswerChildColour(engine, formIndex, dc, control, false);
        return true;
    }
    case WM_CTLCOLORBTN:
        if (!controlColours) return false;
        result = AnswerChildColour(engine, formIndex, dc, control, false);
        return true;
    case WM_CTLCOLORSTATIC:
        if (!controlColours) return false;
        // Read-only and disabled edits ask here.
        result = IsSkinnedEdit(engine, control) ? AnswerEditColour(engine, control, dc)
                                                : AnswerChildColour(engine, formIndex, dc, control, true);
        return true;
    default: return false;
    }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandlePanelMessage(window, message, wParam, lParam); });
}
