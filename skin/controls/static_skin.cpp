#include "skin/controls/static_skin.h"

#include <string>

#include "gdip/bitmap.h"
#include "gdip/graphics.h"
#include "runtime/allocation_failure.h"
#include "runtime/window_ops.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/glow_text.h"
#include "skin/paint/paint_primitives.h"
#include "skin/model/display_scale.h"
#include "skin/model/skin_state.h"

namespace {

constexpr COLORREF kLabelInk = RGB(0, 0, 0);
constexpr COLORREF kLabelGlow = RGB(255, 255, 255);
constexpr int kLabelGlowSize = 4;
constexpr int kDefaultFontSize = 12;
constexpr char kDefaultFontFace[] = "宋体";

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

struct StaticState {
    HWND window = nullptr;
    int kind = kStaticText;
    int placement = kPlaceTopLeft;
    Text face;
    int size = kDefaultFontSize;
    int style = 0;
};

StaticState RecordAt(SkinState& engine, int formIndex, int index) {
    return engine.WithForms([&](FormSkinList& forms) {
        StaticState state;
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return state;
        const auto& records = forms[formIndex - 1]->staticLabels;
        if (index < 1 || index > static_cast<int>(records.size())) return state;
        const ControlRecord& r = records[index - 1];
        state.window = r.window;
        state.kind = r.kind;
        state.placement = r.placement;
        state.face = r.fontFace;
        state.size = r.fontSize;
        state.style = r.fontStyle;
        return state;
    });
}

ControlFont LabelFontOf(HWND label, const DisplayScale& scale) {
    const ControlFont own = ReadControlFont(label);
    return LabelFont(own, own.face.empty() ? ReadControlFont(::GetParent(label)) : ControlFont{}, scale);
}

HANDLE ImageOf(HWND window) {
    HANDLE image = reinterpret_cast<HANDLE>(::SendMessageA(window, STM_GETICON, 0, 0));
    if (!image) image = reinterpret_cast<HANDLE>(::SendMessageA(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    return image;
}

// The image is made for 96 DPI: above it, it is drawn enlarged, smoothly.
void DrawBitmapImage(GdipGraphics& graphics, HWND window, int placement, int cw, int ch, const DisplayScale& scale) {
    HANDLE image = reinterpret_cast<HANDLE>(::SendMessageA(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    HICON icon = nullptr;
    if (!image) icon = reinterpret_cast<HICON>(::SendMessageA(window, STM_GETICON, 0, 0));
    if (!image && !icon) return;
    GdipBitmap bitmap;
    bool made = image && bitmap.CreateBitmapFromHBITMAP(static_cast<HBITMAP>(image));
    if (!made) {
        if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(window, STM_GETICON, 0, 0));
        made = icon && bitmap.CreateBitmapFromHICON(icon);
    }
    if (!made) return;
    const int iw = scale.Px(bitmap.GetImageWidth()), ih = scale.Px(bitmap.GetImageHeight());
    UseSmoothImageScaling(graphics, scale);
    switch (placement) {
    case kPlaceStretched: graphics.DrawImageRectI(bitmap, 0, 0, cw, ch); break;
    case kPlaceCentred: graphics.DrawImageRectI(bitmap, (cw - iw) / 2, (ch - ih) / 2, iw, ih); break;
    case kPlaceBottomRight: graphics.DrawImageRectI(bitmap, cw - iw, ch - ih, iw, ih); break;
    default: graphics.DrawImageRectI(bitmap, 0, 0, iw, ih); break;
    }
}

// A DC that ExcludeVisibleChildren took with GetDC, released on scope exit.
class ObtainedDc {
public:
    ObtainedDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~ObtainedDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ObtainedDc(const ObtainedDc&) = delete;
    ObtainedDc& operator=(const ObtainedDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The label as its own procedure paints it, over the composed background.
void PaintByControl(SkinState& engine, HWND window, HDC target) {
    RECT client{};
    ::GetClientRect(window, &client);
    HDC memory = ComposeControlBackground(engine, window, client);
    if (!memory) {
        Forward(window, WM_PAINT, reinterpret_cast<WPARAM>(target), 0);
        return;
    }
    Forward(window, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ReleaseMemoryDc(engine, memory);
}

bool DrawnByControl(HWND window, int kind) {
    if (kind == kStaticIcon || kind == kStaticBitmap) return ImageOf(window) == nullptr;
    return ::GetWindowTextLengthA(window) == 0;
}

void ReleaseLabelBrushes(SkinState& engine, HWND window) {
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    // The brush and its bitmap are owned by the form's list of answered brushes.
    engine.WithForms([&](FormSkinList& forms) {
        if (F >= 1 && F <= static_cast<int>(forms.size())) forms[F - 1]->ReleaseChildBrush(window);
    });
}

LRESULT HandleStaticMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    if (!engine || index < 1 || F < 1) return Forward(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: ReleaseLabelBrushes(*engine, window); break;
    case WM_MOVE: ::InvalidateRect(window, nullptr, TRUE); break;
    case WM_SETFONT: {
        // The label follows a new font (the form gives its children fonts
        // for a new display scale this way).
        const LRESULT result = Forward(window, message, wParam, lParam);
        const ControlFont font = LabelFontOf(window, ScaleOfWindow(*engine, window));
        engine->WithForms([&](FormSkinList& forms) {
            if (F > static_cast<int>(forms.size())) return;
            auto& records = forms[F - 1]->staticLabels;
            if (index > static_cast<int>(records.size()) || records[index - 1].window != window) return;
            records[index - 1].fontFace = font.face;
            records[index - 1].fontSize = font.size;
            records[index - 1].fontStyle = font.style;
        });
        if (lParam) ::InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_SETTEXT: {
        // The system paints the new text at once in its own look; the skin
        // paints over it once the text is set.
        const LRESULT result = Forward(window, message, wParam, lParam);
        if (::IsWindowVisible(window)) PaintStatic(*engine, F, index);
        return result;
    }
    case WM_PAINT: {
        const int kind = RecordAt(*engine, F, index).kind;
        {
            PaintScope paint(window);
            if (DrawnByControl(window, kind)) {
                PaintByControl(*engine, window, paint.Dc());
            } else {
                PaintStatic(*engine, F, index);
            }
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT: {
        HDC target = reinterpret_cast<HDC>(wParam);
        if (DrawnByControl(window, RecordAt(*engine, F, index).kind)) {
            PaintByControl(*engine, window, target);
        } else {
            PaintStatic(*engine, F, index, target);
        }
        return 0;
    }
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        return static_cast<LRESULT>(
            ::SetTextColor(dc, static_cast<COLORREF>(GetProperty(window, prop::kTextColour))));
    }
    default: break;
    }
    return Forward(window, message, wParam, lParam);
}

}  // namespace

StaticKind StaticKindOf(LONG_PTR style) {
    // The type field, not single bits: SS_SIMPLE and SS_BLACKFRAME share the
    // icon's low bits but are no icons.
    switch (style & SS_TYPEMASK) {
    case SS_ICON: return kStaticIcon;
    case SS_BITMAP: return kStaticBitmap;
    default: return kStaticText;
    }
}

StaticPlacement StaticPlacementOf(LONG_PTR style) {
    if (style & SS_CENTERIMAGE) return kPlaceCentred;
    if (style & SS_REALSIZECONTROL) return kPlaceStretched;
    if (style & SS_RIGHTJUST) return kPlaceBottomRight;
    return kPlaceTopLeft;
}

ControlFont LabelFont(const ControlFont& own, const ControlFont& parent, const DisplayScale& scale) {
    // The parent's face at the label's size would mix two fonts.
    ControlFont font = own.face.empty() && !parent.face.empty() ? parent : own;
    if (font.face.empty()) font.face = kDefaultFontFace;
    if (font.size == 0) font.size = scale.Px(kDefaultFontSize);
    return font;
}

void AttachStaticSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!engine.WithSettings([](SkinSettings& s) { return s.skinControls; })) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, "Static", nullptr); child;
         child = ::FindWindowExA(parent, child, "Static", nullptr)) {
        if (FindControlRecord(engine, formIndex, child, RecordList::Statics) > 0) continue;
        const ControlFont font = LabelFontOf(child, ScaleOfWindow(engine, child));
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        const StaticKind kind = StaticKindOf(style);
        const int index = engine.WithForms([&](FormSkinList& forms) {
            if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
            auto& records = forms[formIndex - 1]->staticLabels;
            const int i = TakeRecordSlot(records, child);
            ControlRecord& r = records[i - 1];
            r.kind = kind;
            r.placement = kind == kStaticText ? kPlaceTopLeft : StaticPlacementOf(style);
            r.fontFace = font.face;
            r.fontSize = font.size;
            r.fontStyle = font.style;
            return i;
        });
        if (index == 0) return;
        SetProperty(child, prop::kIndex, index);
        SetProperty(child, prop::kFormIndex, formIndex);
        SubclassWindow(child, &StaticSkinProc);
    }
}

void PaintStatic(SkinState& engine, int formIndex, int index, HDC target) {
    const StaticState state = RecordAt(engine, formIndex, index);
    HWND window = state.window;
    if (!window) return;
    RECT client{};
    ::GetClientRect(window, &client);
    const int cw = client.right, ch = client.bottom;
    const DisplayScale scale = ScaleOfWindow(engine, window);
    HDC memory = ComposeControlBackground(engine, window, client);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        switch (state.kind) {
        case kStaticText:
            DrawGlowText(graphics, WindowText(window),
                         GlowLayout{scale.Pf(-2), scale.Pf(2), cw + state.size + scale.Pf(10), static_cast<float>(ch)},
                         kLabelInk, kLabelGlow, kLabelGlowSize, state.face, state.style, true, state.size, true,
                         Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, scale);
            break;
        case kStaticBitmap: DrawBitmapImage(graphics, window, state.placement, cw, ch, scale); break;
        case kStaticIcon: {
            HICON icon = reinterpret_cast<HICON>(::SendMessageA(window, STM_GETICON, 0, 0));
            if (!icon) break;
            if (state.placement == kPlaceStretched) {
                ::DrawIconEx(memory, 0, 0, icon, cw, ch, 0, nullptr, DI_NORMAL);
            } else {
                ::DrawIcon(memory, 0, 0, icon);
            }
            break;
        }
        default: break;
        }
    }
    if (target) {
        ::BitBlt(target, 0, 0, cw, ch, memory, 0, 0, SRCCOPY);
    } else {
        ObtainedDc dc(window, ExcludeVisibleChildren(window, nullptr, false));
        ::BitBlt(dc.Get(), 0, 0, cw, ch, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

HDC ExcludeVisibleChildren(HWND window, HDC dc, bool haveDc) {
    if (!haveDc) dc = ::GetDC(window);
    if (!dc) return dc;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || (::GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    return dc;
}

LRESULT CALLBACK StaticSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleStaticMessage(window, message, wParam, lParam); });
}
