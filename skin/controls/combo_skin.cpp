#include "skin/controls/combo_skin.h"

#include <algorithm>
#include <vector>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "resources/embedded_images.h"
#include "runtime/allocation_failure.h"
#include "runtime/msimg32_api.h"
#include "runtime/window_ops.h"
#include "skin/controls/control_skin_common.h"
#include "skin/controls/edit_skin.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// Where the painting must leave the children alone: the key of the final copy.
constexpr COLORREF kChildKey = RGB(255, 0, 255);
constexpr int kHotClassCombo = 3;
constexpr LONG kDropDownBit = 0x2;
constexpr COLORREF kDisabledInk = RGB(128, 128, 128);
constexpr char kTextFace[] = "宋体";
constexpr float kTextSize = 12.0f;

struct ComboState {
    HWND window = nullptr;
    int focused = 0;
    int hovered = 0;
};

bool ReadComboAt(SkinState& engine, int formIndex, int index, ComboState& state) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
        const auto& combos = forms[formIndex - 1]->comboBoxes;
        if (index < 1 || index > static_cast<int>(combos.size())) return false;
        state.window = combos[index - 1].window;
        state.focused = combos[index - 1].focused;
        state.hovered = combos[index - 1].hovered;
        return state.window != nullptr;
    });
}

// The selected item's text sent back as the combo's text, so its edit shows it.
void ShowSelectedItem(HWND combo) {
    const LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length < 0) return;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(buffer.data()));
    ::SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
}

// Whether the focus is on the combo or inside it: a combo with an edit hands
// its focus on to the edit at once.
bool FocusWithin(HWND combo) {
    HWND focus = ::GetFocus();
    return focus && (focus == combo || ::IsChild(combo, focus));
}

// After the combo or its edit gained or lost the focus (the previous
// procedure has run): the record follows where the focus is now and the
// frame is painted again, so no accent stays behind and none is missing.
void FollowFocus(SkinState& engine, HWND window, int formIndex, int index) {
    const int focused = FocusWithin(window) ? 1 : 0;
    WithControlRecord(engine, window, &FormSkin::comboBoxes,
                      [&](FormSkin&, ControlRecord& record) { record.focused = focused; });
    PaintComboBox(engine, formIndex, index, false, false, false, false);
}

bool IsEditFocusChange(WPARAM wParam, LPARAM lParam) {
    const WORD code = HIWORD(wParam);
    return lParam && (code == EN_SETFOCUS || code == EN_KILLFOCUS) &&
           ClassNameOf(reinterpret_cast<HWND>(lParam)) == "Edit";
}

LRESULT HandleComboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const bool known =
        engine && WithControlRecord(*engine, window, &FormSkin::comboBoxes, [](FormSkin&, ControlRecord&) {});
    if (!known) return ForwardToPrevious(window, message, wParam, lParam);
    const int form = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    const ControlSkinSettings settings = ControlSettings(*engine);

    switch (message) {
    case WM_MOVE: PaintComboBox(*engine, form, index, false, false, false, false); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        FollowFocus(*engine, window, form, index);
        return result;
    }
    case WM_SETTEXT:
        if (::FindWindowExA(window, nullptr, "Edit", nullptr)) ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            PaintComboBox(*engine, form, index, false, false, false, false);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_NCPAINT:
        PaintComboBox(*engine, form, index, false, false, false, false);
        return ::DefWindowProcA(window, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFFu), lParam);
    case WM_COMMAND:
        if (IsEditFocusChange(wParam, lParam)) {
            const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
            FollowFocus(*engine, window, form, index);
            return result;
        }
        if (settings.translucent && lParam) {
            HWND sender = reinterpret_cast<HWND>(lParam);
            const WORD code = HIWORD(wParam);
            if (ClassNameOf(sender) == "Edit" &&
                (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)) {
                ::InvalidateRect(sender, nullptr, TRUE);
            }
        }
        break;
    case WM_CTLCOLOREDIT:
        if (settings.translucent) {
            return AnswerEditColour(*engine, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        }
        break;
    case WM_MOUSEMOVE: {
        TrackMouseLeave(window);
        bool paintHot = false;
        WithControlRecord(*engine, window, &FormSkin::comboBoxes, [&](FormSkin& f, ControlRecord&) {
            paintHot = f.previousHotControl != index || f.hotControlClass != kHotClassCombo;
        });
        if (paintHot) {
            PaintComboBox(*engine, form, index, true, true, false, false);
            WithControlRecord(*engine, window, &FormSkin::comboBoxes, [&](FormSkin& f, ControlRecord&) {
                f.hotControl = index;
                f.previousHotControl = index;
                f.hotControlClass = kHotClassCombo;
            });
        }
        break;
    }
    case WM_MOUSELEAVE:
        WithControlRecord(*engine, window, &FormSkin::comboBoxes,
                          [](FormSkin& f, ControlRecord&) { f.previousHotControl = 0; });
        PaintComboBox(*engine, form, index, false, true, false, false);
        break;
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

}  // namespace

int ComboButtonWidth(LONG style, const DisplayScale& scale) {
    if (!(style & kDropDownBit)) return 0;
    return scale.Px((style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST ? 17 : 18);
}

int SkinComboBox(SkinState& engine, int formIndex, HWND combo) {
    if (!engine.Form(formIndex) || !::IsWindow(combo)) return 0;
    const int focused = FocusWithin(combo) ? 1 : 0;
    bool known = false;
    const int index = engine.WithForms([&](FormSkinList& forms) {
        auto& combos = forms[formIndex - 1]->comboBoxes;
        // Installed once, found by its record: a combo subclassed again would
        // forward to itself, or undo whatever subclassed it after the skin.
        for (std::size_t i = 0; i < combos.size(); ++i) {
            if (combos[i].window == combo) {
                known = true;
                return static_cast<int>(i + 1);
            }
        }
        if (combos.empty() || combos.back().window != nullptr) combos.emplace_back();
        combos.back() = ControlRecord();
        combos.back().window = combo;
        combos.back().focused = focused;
        return static_cast<int>(combos.size());
    });
    if (known) return index;
    ShowSelectedItem(combo);
    WNDPROC previous = SubclassWindow(combo, &ComboSkinProc);
    SetProperty(combo, prop::kIndex, index);
    SetProperty(combo, prop::kFormIndex, formIndex);
    WithControlRecord(engine, combo, &FormSkin::comboBoxes,
                      [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
    return index;
}

LRESULT CALLBACK ComboSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleComboMessage(window, message, wParam, lParam); });
}

void PaintComboBox(SkinState& engine, int formIndex, int index, bool hovered, bool useHovered, bool focused,
                   bool useFocused) {
    ComboState state;
    if (!ReadComboAt(engine, formIndex, index, state)) return;
    HWND combo = state.window;
    if (!useHovered) hovered = state.hovered != 0;
    if (!useFocused) focused = state.focused != 0;
    const ControlSkinSettings settings = ControlSettings(engine);
    const DisplayScale scale = ScaleOfWindow(engine, combo);
    const RECT bounds = WindowBounds(combo);
    const int W = bounds.right, H = bounds.bottom;
    if (W <= 0 || H <= 0) return;
    const LONG style = static_cast<LONG>(::GetWindowLongPtrA(combo, GWL_STYLE));
    // Only a drop-down list has no edit to show its text; a simple combo's
    // text sits in its edit, above its list.
    const Text text = (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST ? WindowText(combo) : Text();
    const COLORREF ink = ::IsWindowEnabled(combo) ? static_cast<COLORREF>(GetProperty(combo, prop::kTextColour))
                                                  : kDisabledInk;

    HDC memory = ComposeControlBackground(engine, combo, bounds);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        GdipSolidBrush ground;
        ground.CreateSolidFill(settings.translucent ? ToArgb(kWhite, settings.controlBackAlpha, true)
                                                    : ToArgb(kWhite, 255, true));
        graphics.FillRectangleI(ground, 0, 0, W, H);
        GdipSolidBrush key;
        key.CreateSolidFill(ToArgb(kChildKey, 255, true));
        for (HWND child = ::FindWindowExA(combo, nullptr, nullptr, nullptr); child;
             child = ::FindWindowExA(combo, child, nullptr, nullptr)) {
            if (!::IsWindowVisible(child)) continue;
            const RECT r = RectRelativeToWindow(combo, child);
            graphics.FillRectangleI(key, r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        const Gdiplus::ARGB lineColour = (hovered || focused) ? ToArgb(settings.accent, 200, true)
                                                               : ToArgb(kBlack, 80, true);
        const int line = scale.Line(1);
        GdipPen pen;
        pen.CreatePen1(lineColour, static_cast<float>(line), Gdiplus::UnitWorld);
        DrawInnerFrame(graphics, pen, W, H, line);

        if (const int U = ComboButtonWidth(style, scale)) {
            // The button stands `inset` in from the right, top and bottom edges.
            const int inset = scale.Px(2), one = scale.Px(1);
            const int x = W - U - inset, S = H - 2 * inset;
            const float top = static_cast<float>(inset);
            GdipPath outline;
            outline.CreatePath(0);
            const float d = OutlineInset(scale);
            AddRoundedRectangle(outline, x + d, top + d, U - 1 - 2 * d, S - 1 - 2 * d, scale.Px(4));
            graphics.DrawPath(pen, outline);
            GdipPath face;
            face.CreatePath(0);
            AddRoundedRectangle(face, static_cast<float>(x + one), top + static_cast<float>(one),
                                static_cast<float>(U - 2 * one), static_cast<float>(S - 2 * one), scale.Px(1));
            GdipLinearBrush gradient;
            if (hovered) {
                gradient.CreateLineBrush(static_cast<float>(x + one), top, static_cast<float>(x + one), static_cast<float>(S),
                                         ToArgb(kWhite, 100, true), ToArgb(settings.accent, 150, true));
            } else {
                gradient.CreateLineBrush(static_cast<float>(x + one), top, static_cast<float>(x + one), static_cast<float>(S),
                                         ToArgb(settings.accent, 30, true), ToArgb(settings.accent, 100, true));
            }
            graphics.FillPath(gradient, face);
            GdipImage arrow;
            if (arrow.LoadImageFromStream(EmbeddedImageBytes(EmbeddedImage::ArrowDown))) {
                const int aw = scale.Px(arrow.GetImageWidth()), ah = scale.Px(arrow.GetImageHeight());
                UseSmoothImageScaling(graphics, scale);
                graphics.DrawImageRectI(arrow, x + (U - aw) / 2, inset + (S - ah) / 2, aw, ah);
            }
        }
        if (!text.empty()) {
            GdipFont font;
            const float size = scale.Pf(kTextSize);
            if (font.CreateFontByName(kTextFace, size, 0, Gdiplus::UnitPixel)) {
                GdipStringFormat format;
                format.CreateStringFormat(0x1000);  // no wrap
                GdipSolidBrush brush;
                brush.CreateSolidFill(ToArgb(ink, 255, true));
                const float left = scale.Pf(3);
                const float right = static_cast<float>(W - scale.Px(3) - ComboButtonWidth(style, scale) - scale.Px(2));
                graphics.DrawString(text, font, Gdiplus::RectF(left, (H - size) / 2, right - left, size + scale.Pf(4)),
                                    format, brush);
            }
        }
        graphics.Flush();
        WindowDc target(combo, true);
        pTransparentBlt(target.Get(), 0, 0, W, H, memory, 0, 0, W, H, kChildKey);
    }
    ReleaseMemoryDc(engine, memory);
}

void AttachEditSkin(SkinState& engine, int formIndex, HWND parent) {
    const ControlSkinSettings settings = ControlSettings(engine);
    if (!settings.skinControls) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, "Edit", nullptr); child;
         child = ::FindWindowExA(parent, child, "Edit", nullptr)) {
        SkinEdit(engine, formIndex, child);
    }
    for (HWND combo = ::FindWindowExA(parent, nullptr, "ComboBox", nullptr); combo;
         combo = ::FindWindowExA(parent, combo, "ComboBox", nullptr)) {
        SkinComboBox(engine, formIndex, combo);
        if (settings.translucent) {
            if (HWND inner = ::FindWindowExA(combo, nullptr, "Edit", nullptr)) SkinEdit(engine, formIndex, inner);
        }
    }
}
