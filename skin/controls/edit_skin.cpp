#include "skin/controls/edit_skin.h"

#include "gdip/brush.h"
#include "gdip/graphics.h"
#include "runtime/allocation_failure.h"
#include "skin/controls/control_skin_common.h"
#include "skin/controls/frame_band.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kHotClassEdit = 1;

bool HasScrollBarStyle(HWND window) {
    return (::GetWindowLongPtrA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

struct EditState {
    int focused = 0;
    int hovered = 0;
    int mouseDown = 0;
};

bool ReadEditState(SkinState& engine, HWND window, EditState& state) {
    return WithControlRecord(engine, window, &FormSkin::edits, [&](FormSkin&, ControlRecord& record) {
        state.focused = record.focused;
        state.hovered = record.hovered;
        state.mouseDown = record.mouseDown;
    });
}

template <typename Change>
void ChangeEdit(SkinState& engine, HWND window, Change&& change) {
    WithControlRecord(engine, window, &FormSkin::edits,
                      [&](FormSkin& form, ControlRecord& record) { change(form, record); });
}

void OnEditMouseMove(SkinState& engine, HWND window, bool translucent) {
    TrackMouseLeave(window);
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    HWND parent = ::GetParent(window);
    bool paintHot = false;
    ChangeEdit(engine, window, [&](FormSkin& form, ControlRecord& record) {
        // Kept, so that a repaint under the mouse draws the hover frame too.
        record.hovered = 1;
        form.hotControl = index;
        paintHot = form.previousHotControl != index ||
                   (form.hotControlClass == kHotClassEdit && form.hotEditParent != parent);
    });
    if (paintHot) {
        PaintEditFrame(engine, window, false, false, true, true);
        ChangeEdit(engine, window, [&](FormSkin& form, ControlRecord&) {
            form.previousHotControl = form.hotControl;
            form.hotControlClass = kHotClassEdit;
            form.hotEditParent = parent;
        });
    }
    EditState state;
    // A selection drag repaints the text over the transparent background.
    if (ReadEditState(engine, window, state) && state.mouseDown && translucent && !HasScrollBarStyle(window)) {
        ::InvalidateRect(window, nullptr, TRUE);
    }
}

LRESULT OnEditNcPaint(SkinState& engine, HWND window, LPARAM lParam) {
    PaintEditFrame(engine, window, false, false, false, false);
    if (HasScrollBarStyle(window)) {
        // Only the scroll bars get the system's painting. The region of
        // WM_NCPAINT is in screen coordinates.
        RegionHandle bars = ScrollBarRegion(window);
        if (!bars) return ::DefWindowProcA(window, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFFu), lParam);
        RECT windowRect{};
        ::GetWindowRect(window, &windowRect);
        ::OffsetRgn(bars.Get(), windowRect.left, windowRect.top);
        return ::DefWindowProcA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.Get()), lParam);
    }
    // No region the system could paint: the skin's frame stays.
    return ::DefWindowProcA(window, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFFu), lParam);
}

LRESULT HandleEditMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    EditState state;
    if (!engine || !ReadEditState(*engine, window, state)) return ForwardToPrevious(window, message, wParam, lParam);
    const ControlSkinSettings settings = ControlSettings(*engine);

    switch (message) {
    case WM_DESTROY:
        // The brush answered for the edit's colour message and its bitmap.
        engine->WithForms([&](FormSkinList& forms) {
            const LONG_PTR formIndex = GetProperty(window, prop::kFormIndex);
            if (formIndex >= 1 && formIndex <= static_cast<LONG_PTR>(forms.size())) {
                forms[formIndex - 1]->ReleaseChildBrush(window);
            }
        });
        break;
    case WM_MOVE:
        if (settings.translucent) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_SETFOCUS: {
        // The frame is the edit's non-client area, which gaining the focus
        // does not repaint: the accent frame is drawn here.
        ChangeEdit(*engine, window, [](FormSkin&, ControlRecord& r) { r.focused = 1; });
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        PaintEditFrame(*engine, window, false, false, false, false);
        return result;
    }
    case WM_KILLFOCUS:
        ChangeEdit(*engine, window, [](FormSkin&, ControlRecord& r) { r.focused = 0; });
        if (ClassNameOf(::GetParent(window)) == "ComboBox") {
            PaintEditFrame(*engine, window, false, false, false, true);
        } else {
            ::InvalidateRect(window, nullptr, TRUE);
        }
        break;
    case WM_PAINT: PaintEditFrame(*engine, window, false, false, false, false); break;
    case WM_ERASEBKGND:
        if (settings.translucent) {
            // Into the erase DC, which is clipped to the update region: an
            // edit repaints only the lines whose selection changed, and
            // veiling the whole client would wipe the text of the others.
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            PaintEditBackground(*engine, window, reinterpret_cast<HDC>(wParam), false);
            return 1;
        }
        break;
    case WM_NCPAINT: return OnEditNcPaint(*engine, window, lParam);
    case WM_KEYDOWN:
        if (settings.translucent && !HasScrollBarStyle(window)) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (settings.translucent) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_MOUSEMOVE: OnEditMouseMove(*engine, window, settings.translucent); break;
    case WM_LBUTTONDOWN:
        ChangeEdit(*engine, window, [](FormSkin&, ControlRecord& r) { r.mouseDown = 1; });
        if (settings.translucent && !HasScrollBarStyle(window)) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_LBUTTONUP: ChangeEdit(*engine, window, [](FormSkin&, ControlRecord& r) { r.mouseDown = 0; }); break;
    case WM_MOUSELEAVE:
        ChangeEdit(*engine, window, [](FormSkin& form, ControlRecord& r) {
            form.previousHotControl = 0;
            r.hovered = 0;
        });
        PaintEditFrame(*engine, window, state.focused != 0, true, false, true);
        break;
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

}  // namespace

int SkinEdit(SkinState& engine, int formIndex, HWND edit) {
    if (!engine.Form(formIndex) || !::IsWindow(edit)) return 0;
    if (const int existing = FindControlRecord(engine, formIndex, edit, RecordList::Edits)) return existing;
    const int index = engine.WithForms([&](FormSkinList& forms) {
        FormSkin& form = *forms[formIndex - 1];
        const int i = TakeRecordSlot(form.edits);
        form.edits[i - 1] = ControlRecord();
        form.edits[i - 1].window = edit;
        return i;
    });
    SetProperty(edit, prop::kIndex, index);
    SetProperty(edit, prop::kFormIndex, formIndex);
    SetProperty(edit, prop::kTextColour, 0);
    WNDPROC previous = SubclassWindow(edit, &EditSkinProc);
    WithControlRecord(engine, edit, &FormSkin::edits,
                      [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
    return index;
}

LRESULT CALLBACK EditSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleEditMessage(window, message, wParam, lParam); });
}

void PaintEditFrame(SkinState& engine, HWND window, bool focused, bool useFocused, bool hovered, bool useHovered) {
    EditState state;
    if (!ReadEditState(engine, window, state)) return;
    const ControlSkinSettings settings = ControlSettings(engine);
    FrameBandLook look;
    look.bandAlpha = settings.translucent ? settings.controlBackAlpha : 255;
    look.accentAlpha = 180;
    look.accent = settings.accent;
    look.focused = useFocused ? focused : state.focused != 0;
    look.hovered = useHovered ? hovered : state.hovered != 0;
    PaintFrameBand(engine, window, look);
}

HDC MakeVeiledBackground(SkinState& engine, HWND window) {
    const RECT r = EditClientRect(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return nullptr;
    const ControlSkinSettings settings = ControlSettings(engine);
    HDC memory = ComposeControlBackground(engine, window, r);
    if (!memory) return nullptr;
    GdipGraphics graphics;
    graphics.CreateFromHDC(memory);
    GdipSolidBrush veil;
    veil.CreateSolidFill(ToArgb(kWhite, settings.controlBackAlpha, true));
    graphics.FillRectangleI(veil, 0, 0, w, h);
    graphics.Flush();
    return memory;
}

void PaintEditBackground(SkinState& engine, HWND window, HDC dc, bool toWindowDc) {
    HDC memory = MakeVeiledBackground(engine, window);
    if (!memory) return;
    const RECT r = EditClientRect(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (toWindowDc) {
        WindowDc target(window, true);
        ::BitBlt(target.Get(), r.left, r.top, w, h, memory, 0, 0, SRCCOPY);
    } else {
        ::BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

BitmapHandle MakeEditBackgroundBitmap(SkinState& engine, HWND edit) {
    HDC memory = MakeVeiledBackground(engine, edit);
    if (!memory) return BitmapHandle();
    const RECT r = EditClientRect(edit);
    const int w = r.right - r.left, h = r.bottom - r.top;
    BitmapHandle bitmap;
    {
        WindowDc screen(nullptr);
        MemoryDc copyDc(::CreateCompatibleDC(screen.Get()));
        bitmap.Reset(::CreateCompatibleBitmap(screen.Get(), w, h));
        if (copyDc && bitmap) {
            ScopedSelect select(copyDc.Get(), bitmap.Get());
            ::BitBlt(copyDc.Get(), 0, 0, w, h, memory, 0, 0, SRCCOPY);
        }
    }
    ReleaseMemoryDc(engine, memory);
    return bitmap;
}

LRESULT AnswerEditColour(SkinState& engine, HWND edit, HDC dc) {
    ::SetTextColor(dc, static_cast<COLORREF>(GetProperty(edit, prop::kTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
    const LONG_PTR formIndex = GetProperty(edit, prop::kFormIndex);
    auto inForm = [&](auto&& use) {
        return engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<LONG_PTR>(forms.size())) return false;
            use(*forms[formIndex - 1]);
            return true;
        });
    };
    inForm([&](FormSkin& form) { form.ReleaseChildBrush(edit); });
    HBRUSH hollow = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    ChildBrush held;
    held.child = edit;
    held.bitmap = MakeEditBackgroundBitmap(engine, edit);
    if (held.bitmap) held.brush.Reset(::CreatePatternBrush(held.bitmap.Get()));
    if (!held.brush) return reinterpret_cast<LRESULT>(hollow);
    HBRUSH brush = held.brush.Get();
    HBITMAP bitmap = held.bitmap.Get();
    if (!inForm([&](FormSkin& form) { form.childBrushes.push_back(std::move(held)); })) {
        return reinterpret_cast<LRESULT>(hollow);
    }
    SetProperty(edit, prop::kChildBrush, reinterpret_cast<LONG_PTR>(brush));
    SetProperty(edit, prop::kChildBrushBitmap, reinterpret_cast<LONG_PTR>(bitmap));
    return reinterpret_cast<LRESULT>(brush);
}

bool IsSkinnedEdit(SkinState& engine, HWND window) {
    return WithControlRecord(engine, window, &FormSkin::edits, [](FormSkin&, ControlRecord&) {});
}
