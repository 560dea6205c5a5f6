#include "skin/controls/button_skin.h"

#include <algorithm>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "runtime/allocation_failure.h"
#include "runtime/window_ops.h"
#include "skin/controls/check_radio_skin.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr LONG kOwnerDrawBits = BS_OWNERDRAW;  // 0xB
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);
// The focus glow keeps this colour whatever the accent.
constexpr COLORREF kFocusGlow = RGB(34, 202, 221);
constexpr char kDefaultFace[] = "宋体";
constexpr int kDefaultFontSize = 12;
constexpr int kFaceRadius = 5;

// Push button types: BS_PUSHBUTTON 0, BS_DEFPUSHBUTTON 1 and 8; never one
// that is owner-drawn already.
bool IsSkinnablePushButton(LONG style) {
    if ((style & kOwnerDrawBits) == kOwnerDrawBits) return false;
    return (style & 0x2) == 0 && (style & 0x9) != 0x9 && (style & 0x4) == 0;
}

// What a painter needs of a button record, copied out under the lock.
struct ButtonLook {
    int kind = -1;
    Text text;
    Text face;
    int size = kDefaultFontSize;
    int style = 0;
    std::vector<ByteArray> images;
    int focused = 0;
    bool isDefault = false;
    DisplayScale scale;
};

bool ReadButtonLook(SkinState& engine, HWND window, ButtonLook& look) {
    return WithControlRecord(engine, window, &FormSkin::buttons, [&](FormSkin& form, ControlRecord& record) {
        look.kind = record.kind;
        look.scale = form.Scale();
        look.text = record.text;
        look.face = record.fontFace;
        look.size = record.fontSize;
        look.style = record.fontStyle;
        look.images = record.images;
        look.focused = record.focused;
        look.isDefault = record.defaultButton != 0;
    });
}

GdipPath RoundedPath(float x, float y, float width, float height, int radius) {
    GdipPath path;
    path.CreatePath(0);
    AddRoundedRectangle(path, x, y, width, height, radius);
    return path;
}

// Where the outline of a face made by RoundedPath(x, y, w - 1, h - 1) runs
// at the scale's outline width.
GdipPath OutlineOf(float x, float y, float w, float h, int radius, const DisplayScale& scale) {
    const float d = OutlineInset(scale);
    return RoundedPath(x + d, y + d, w - 1 - 2 * d, h - 1 - 2 * d, radius);
}

void FillSolid(GdipGraphics& graphics, const GdipPath& path, COLORREF colour, int alpha) {
    GdipSolidBrush brush;
    brush.CreateSolidFill(ToArgb(colour, alpha, true));
    graphics.FillPath(brush, path);
}


// The default push button's cue: an accent ring just inside the outline.
void DrawDefaultRing(GdipGraphics& graphics, float x, float y, float w, float h, COLORREF accent,
                     const DisplayScale& scale) {
    // Just inside the outline, as wide as it.
    const float inset = static_cast<float>(scale.Line(1)) + OutlineInset(scale);
    GdipPath ring = RoundedPath(x + inset, y + inset, w - 1 - 2 * inset, h - 1 - 2 * inset, scale.Px(kFaceRadius - 1));
    DrawOutline(graphics, ring, accent, 200, scale);
}

void DrawCaption(GdipGraphics& graphics, HWND window, const ButtonLook& look, const Gdiplus::RectF& layout) {
    DrawControlCaption(graphics, window, look.text, ControlFont{look.face, look.size, look.style}, 1, layout);
}

// The caption font of the record: the control's own, or the buttons' default
// at the form's scale. A font GDI+ cannot use reads as no face and no size:
// the caption then takes the default instead of vanishing.
void TakeCaptionFont(const FormSkin& form, ControlRecord& record, const ControlFont& font) {
    record.fontFace = font.face.empty() ? Text(kDefaultFace) : font.face;
    record.fontSize = font.size > 0 ? font.size : form.Scale().Px(kDefaultFontSize);
    record.fontStyle = font.style;
}

bool LoadImageBytes(GdipImage& image, const std::vector<ByteArray>& images, std::size_t which) {
    return which < images.size() && !images[which].empty() && image.LoadImageFromStream(images[which]);
}

// Kind 1: a glassy face, the image at 0.8 of the height on the left and the
// caption beside it.
void PaintImageAndTextFace(GdipGraphics& graphics, HWND window, const ButtonLook& look, UINT state, int L, int T,
                           COLORREF accent) {
    const DisplayScale& scale = look.scale;
    const float w = static_cast<float>(L), h = static_cast<float>(T);
    GdipPath face = RoundedPath(0, 0, w - 1, h - 1, scale.Px(kFaceRadius));
    const GdipPath edge = OutlineOf(0, 0, w, h, scale.Px(kFaceRadius), scale);
    FillPathGradient(graphics, face, 0, 0, 0, h, ToArgb(kWhite, 150, true), ToArgb(kGrey, 70, true));
    GdipPath upper = RoundedPath(scale.Pf(1), scale.Pf(1), w - scale.Pf(3), h * 0.5f, scale.Px(2));
    FillSolid(graphics, upper, kWhite, 60);
    {
        GdipPen highlight;
        highlight.CreatePen1(ToArgb(kWhite, 150, true), static_cast<float>(scale.Line(2)), Gdiplus::UnitWorld);
        graphics.DrawLine(highlight, scale.Pf(3), scale.Pf(2), w - scale.Pf(4), scale.Pf(2));
    }
    if (state & ODS_DISABLED) {
        FillSolid(graphics, face, kSilver, 120);
        DrawOutline(graphics, edge, kBlack, 80, scale);
    } else if (state & ODS_SELECTED) {
        FillPathGradient(graphics, face, 0, 0, 0, h, ToArgb(accent, 60, true), ToArgb(kWhite, 100, true));
        DrawOutline(graphics, edge, accent, 255, scale);
    } else if (state & ODS_HOTLIGHT) {
        FillPathGradient(graphics, face, 0, 0, 0, h, ToArgb(accent, 60, true), ToArgb(accent, 10, true));
        DrawOutline(graphics, edge, accent, 255, scale);
    } else {
        DrawOutline(graphics, edge, kBlack, (state & ODS_FOCUS) ? 160 : 120, scale);
    }
    if (look.isDefault && !(state & ODS_DISABLED)) DrawDefaultRing(graphics, 0, 0, w, h, accent, scale);
    float textLeft = 0;
    GdipImage image;
    if (LoadImageBytes(image, look.images, 0) && image.GetImageHeight() > 0) {
        const float ih = h * 0.8f;
        const float iw = ih * static_cast<float>(image.GetImageWidth()) / static_cast<float>(image.GetImageHeight());
        UseSmoothImageScaling(graphics, scale);
        graphics.DrawImageRect(image, scale.Pf(4), (h - ih) / 2, iw, ih);
        textLeft = scale.Pf(4) + iw;
    }
    DrawCaption(graphics, window, look, Gdiplus::RectF(textLeft, scale.Pf(2), w - textLeft, h));
}

// Kind 3: the image of the current look at (2, 2); without one, the normal
// image over a face made for that look.
void PaintFourImageFace(GdipGraphics& graphics, const ButtonLook& look, UINT state, int L, int T, COLORREF accent) {
    const std::size_t which = (state & ODS_DISABLED) ? 3 : (state & ODS_HOTLIGHT) ? 1 : (state & ODS_SELECTED) ? 2 : 0;
    const DisplayScale& scale = look.scale;
    // The images are made for 96 DPI: above it they are drawn enlarged.
    auto drawImage = [&](const GdipImage& image) {
        if (scale.IsBase()) {
            graphics.DrawImageI(image, 2, 2);
        } else {
            UseSmoothImageScaling(graphics, scale);
            DrawImageScaled(graphics, image, scale.Pf(2), scale.Pf(2), scale);
        }
    };
    GdipImage image;
    if (LoadImageBytes(image, look.images, which)) {
        drawImage(image);
        return;
    }
    if (which != 0) {
        const bool disabled = which == 3;
        const int radius = scale.Px(disabled ? 5 : 3);
        GdipPath face = RoundedPath(0, 0, static_cast<float>(L - 1), static_cast<float>(T - 1), radius);
        const GdipPath edge = OutlineOf(0, 0, static_cast<float>(L), static_cast<float>(T), radius, scale);
        const float bottom = static_cast<float>(T);
        if (disabled) {
            FillPathGradient(graphics, face, 0, 0, 0, bottom, ToArgb(kWhite, 60, true), ToArgb(kBlack, 100, true));
        } else if (which == 1) {
            FillPathGradient(graphics, face, 0, 0, 0, bottom, ToArgb(kWhite, 120, true), ToArgb(accent, 100, true));
        } else {
            FillPathGradient(graphics, face, 0, 0, 0, bottom, ToArgb(kBlack, 60, true), ToArgb(kWhite, 100, true));
        }
        if (disabled) {
            DrawOutline(graphics, edge, kBlack, 80, scale);
        } else {
            DrawOutline(graphics, edge, accent, 250, scale);
        }
    }
    GdipImage normal;
    if (LoadImageBytes(normal, look.images, 0)) drawImage(normal);
}

// Composes the background of rect, lets draw(graphics) paint the face and
// copies the result to target once.
template <typename Draw>
void PaintOverBackground(SkinState& engine, HWND window, HDC target, const RECT& rect, Draw&& draw) {
    const int L = rect.right - rect.left, T = rect.bottom - rect.top;
    if (L <= 0 || T <= 0) return;
    HDC memory = ComposeControlBackground(engine, window, rect);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        draw(graphics, L, T);
        graphics.Flush();
        ::BitBlt(target, 0, 0, L, T, memory, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(engine, memory);
}

void PaintImageButton(SkinState& engine, HWND window, HDC target, UINT state, const RECT& rect,
                      const ButtonLook& look) {
    const COLORREF accent = ControlSettings(engine).accent;
    PaintOverBackground(engine, window, target, rect, [&](GdipGraphics& graphics, int L, int T) {
        if (look.kind == kButtonImageAndText) {
            PaintImageAndTextFace(graphics, window, look, state, L, T, accent);
        } else {
            PaintFourImageFace(graphics, look, state, L, T, accent);
        }
    });
}

// The form's hot-control fields, changed under the lock.
template <typename Change>
void ChangeForm(SkinState& engine, HWND window, Change&& change) {
    WithControlRecord(engine, window, &FormSkin::buttons,
                      [&](FormSkin& form, ControlRecord& record) { change(form, record); });
}

bool PaintsItself(const ButtonLook& look) { return look.kind == kButtonCheckBox || look.kind == kButtonRadio; }

bool IsPushLook(const ButtonLook& look) {
    return look.kind == kButtonPush || look.kind == kButtonImageAndText || look.kind == kButtonFourImages;
}

// The dialog manager moves the default between buttons by setting
// BS_DEFPUSHBUTTON or BS_PUSHBUTTON. The record keeps which one was asked
// for; the style keeps the owner-draw type, which the request would drop
// (handing the button back to the system's look).
LRESULT SetPushStyle(SkinState& engine, HWND window, WPARAM wParam, LPARAM lParam) {
    if ((::GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
        const bool isDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        ChangeForm(engine, window, [&](FormSkin&, ControlRecord& r) { r.defaultButton = isDefault ? 1 : 0; });
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
    }
    return ForwardToPrevious(window, BM_SETSTYLE, wParam, lParam);
}

// A check box or radio button: the previous procedure changes the state
// first, then the control is repainted.
LRESULT ChangeCheckThenRepaint(SkinState& engine, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ForwardToPrevious(window, message, wParam, lParam);
    RefreshCheckRadio(engine, window);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT HandleSharedMessage(SkinState& engine, HWND window, const ButtonLook& look, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    switch (message) {
    case WM_MOVE: ::InvalidateRect(window, nullptr, TRUE); break;
    case WM_SETFOCUS: ChangeForm(engine, window, [](FormSkin&, ControlRecord& r) { r.focused = 1; }); break;
    case WM_KILLFOCUS: ChangeForm(engine, window, [](FormSkin&, ControlRecord& r) { r.focused = 0; }); break;
    case WM_SETTEXT: {
        const Text text(lParam ? reinterpret_cast<const char*>(lParam) : "");
        ChangeForm(engine, window, [&](FormSkin&, ControlRecord& r) { r.text = text; });
        break;
    }
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        return static_cast<LRESULT>(::SetTextColor(dc, static_cast<COLORREF>(GetProperty(window, prop::kTextColour))));
    }
    case WM_NCPAINT: return 1;
    case BM_SETSTYLE: return SetPushStyle(engine, window, wParam, lParam);
    case WM_SETFONT: {
        // The caption follows a new font (the form gives its children fonts
        // for a new display scale this way).
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        const ControlFont font = ReadControlFont(window);
        ChangeForm(engine, window, [&](FormSkin& form, ControlRecord& r) { TakeCaptionFont(form, r, font); });
        if (lParam) ::InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_GETDLGCODE:
        // An owner-drawn button answers plain DLGC_BUTTON, and the dialog
        // manager would neither move the default to the focused button nor
        // find a default for Enter.
        if (IsPushLook(look)) return DLGC_BUTTON | (look.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        break;
    case WM_MOUSEMOVE: {
        TrackMouseLeave(window);
        bool paintHot = false;
        ChangeForm(engine, window, [&](FormSkin& form, ControlRecord&) {
            form.hotControl = index;
            paintHot = form.previousHotControl != index || form.hotControlClass != 0;
        });
        if (paintHot) {
            PaintButton(engine, window, 0, true);
            ChangeForm(engine, window, [](FormSkin& form, ControlRecord&) {
                form.previousHotControl = form.hotControl;
                form.hotControlClass = 0;
            });
        }
        break;
    }
    case WM_LBUTTONUP: ChangeForm(engine, window, [](FormSkin& form, ControlRecord&) { form.previousHotControl = 0; }); break;
    // A double click would press the button a second time: swallowed.
    case WM_LBUTTONDBLCLK: return 0;
    case WM_MOUSELEAVE:
        ChangeForm(engine, window, [](FormSkin& form, ControlRecord&) { form.previousHotControl = 0; });
        PaintButton(engine, window, look.focused ? ODS_FOCUS : 0, false);
        break;
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

// The button control paints its own look straight to the screen on these,
// outside WM_PAINT: a check box or radio button is painted again after them.
bool ControlPaintsItselfOn(UINT message) {
    switch (message) {
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE: return true;
    default: return false;
    }
}

LRESULT HandleCheckRadioMessage(SkinState& engine, HWND window, const ButtonLook& look, UINT message, WPARAM wParam,
                                LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        {
            PaintScope paint(window);
            RefreshCheckRadio(engine, window);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT: RefreshCheckRadio(engine, window, reinterpret_cast<HDC>(wParam)); return 0;
    case BM_SETCHECK:
    case WM_LBUTTONDOWN: return ChangeCheckThenRepaint(engine, window, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) return ChangeCheckThenRepaint(engine, window, message, wParam, lParam);
        break;
    default: break;
    }
    if (message == WM_UPDATEUISTATE) FollowUiState(window, wParam);
    const LRESULT result = HandleSharedMessage(engine, window, look, message, wParam, lParam);
    if (ControlPaintsItselfOn(message)) RefreshCheckRadio(engine, window);
    return result;
}

LRESULT HandleButtonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    ButtonLook look;
    if (!engine || !ReadButtonLook(*engine, window, look)) return ForwardToPrevious(window, message, wParam, lParam);
    if (PaintsItself(look)) return HandleCheckRadioMessage(*engine, window, look, message, wParam, lParam);
    return HandleSharedMessage(*engine, window, look, message, wParam, lParam);
}

}  // namespace

int SkinPushButton(SkinState& engine, int formIndex, HWND button) {
    if (!engine.Form(formIndex) || !::IsWindow(button)) return 0;
    const LONG style = static_cast<LONG>(::GetWindowLongPtrA(button, GWL_STYLE));
    if (const int existing = FindControlRecord(engine, formIndex, button, RecordList::Buttons)) return existing;
    if (!IsSkinnablePushButton(style)) return 0;

    const Text text = WindowText(button);
    const ControlFont font = ReadControlFont(button);

    const int index = engine.WithForms([&](FormSkinList& forms) {
        FormSkin& form = *forms[formIndex - 1];
        const int i = TakeRecordSlot(form.buttons);
        ControlRecord& record = form.buttons[i - 1];
        record = ControlRecord();
        record.window = button;
        record.kind = kButtonPush;
        record.text = text;
        TakeCaptionFont(form, record, font);
        record.defaultButton = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0;
        return i;
    });
    SetProperty(button, prop::kIndex, index);
    SetProperty(button, prop::kFormIndex, formIndex);
    WNDPROC previous = SubclassWindow(button, &ButtonSkinProc);
    WithControlRecord(engine, button, &FormSkin::buttons,
                      [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
    // Owner-drawn: the system sends WM_DRAWITEM to the parent instead of drawing.
    ::SetWindowLongPtrA(button, GWL_STYLE, style | kOwnerDrawBits);
    ::InvalidateRect(button, nullptr, TRUE);
    return index;
}

void AttachButtonSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!ControlSettings(engine).skinControls) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, "BUTTON", nullptr); child;
         child = ::FindWindowExA(parent, child, "BUTTON", nullptr)) {
        SkinPushButton(engine, formIndex, child);
    }
}

LRESULT CALLBACK ButtonSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleButtonMessage(window, message, wParam, lParam); });
}

void PaintButton(SkinState& engine, HWND window, UINT state, bool hover) {
    ButtonLook look;
    if (!ReadButtonLook(engine, window, look)) return;
    if (hover) state |= ODS_HOTLIGHT;
    if (!::IsWindowEnabled(window)) state |= ODS_DISABLED;
    RECT rect{};
    ::GetClientRect(window, &rect);
    WindowDc dc(window);
    switch (look.kind) {
    case kButtonPush: PaintPushButtonFace(engine, window, dc.Get(), state, rect); break;
    case kButtonImageAndText:
    case kButtonFourImages: PaintImageButton(engine, window, dc.Get(), state, rect, look); break;
    case kButtonRadio: PaintRadioButton(engine, window, state, dc.Get()); break;
    case kButtonCheckBox: PaintCheckBox(engine, window, state, dc.Get()); break;
    default: break;
    }
}

void PaintPushButtonFace(SkinState& engine, HWND window, HDC target, UINT state, const RECT& rect) {
    ButtonLook look;
    if (!ReadButtonLook(engine, window, look)) return;
    const COLORREF accent = ControlSettings(engine).accent;
    const DisplayScale& scale = look.scale;
    const int radius = scale.Px(kFaceRadius);
    PaintOverBackground(engine, window, target, rect, [&](GdipGraphics& graphics, int L, int T) {
        const float x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
        const float w = static_cast<float>(L), h = static_cast<float>(T);
        GdipPath face = RoundedPath(x, y, w - 1, h - 1, radius);
        const GdipPath edge = OutlineOf(x, y, w, h, radius, scale);
        FillSolid(graphics, face, kWhite, 120);
        if (state & ODS_DISABLED) {
            GdipSolidBrush silver;
            silver.CreateSolidFill(ToArgb(kSilver, 255, true));
            graphics.FillRectangle(silver, x, y, w, h);
            GdipLinearBrush gloss;
            gloss.CreateLineBrush(x, y, x, y + h, ToArgb(kWhite, 50, true), ToArgb(kWhite, 50, true));
            gloss.SetLinePresetBlend({ToArgb(kWhite, 50, true), ToArgb(kBlack, 10, true), ToArgb(kWhite, 50, true)},
                                     {0.0f, 0.6f, 1.0f});
            graphics.FillPath(gloss, face);
            DrawOutline(graphics, edge, kBlack, 80, scale);
        } else {
            FillPathGradient(graphics, face, x, y, x, y + h - 1, ToArgb(kWhite, 0, true), ToArgb(kGrey, 60, true));
            GdipPath upper;
            upper.CreatePath(0);
            AddRoundedTopOutline(upper, rect.left, rect.top, L - 1, static_cast<int>(T * 0.5), radius);
            FillPathGradient(graphics, upper, x, y, x, y + h * 0.5f, ToArgb(kWhite, 50, true), ToArgb(kWhite, 10, true));
            if (state & ODS_HOTLIGHT) {
                FillPathGradient(graphics, face, x, y, x, y + h - 1, ToArgb(accent, 60, true), ToArgb(accent, 10, true));
                DrawOutline(graphics, edge, accent, 255, scale);
            } else if (state & ODS_FOCUS) {
                DrawSoftOutline(graphics, face, scale.Line(3), kFocusGlow, 120);
                DrawOutline(graphics, edge, kBlack, 70, scale);
            } else {
                DrawOutline(graphics, edge, kBlack, 120, scale);
            }
            if (state & ODS_SELECTED) {
                const float two = scale.Pf(2);
                GdipPath inset = RoundedPath(x + two, y + two, w - scale.Pf(3), h - scale.Pf(3), radius);
                FillPathGradient(graphics, inset, two, two, two, h - two, ToArgb(accent, 60, true),
                                 ToArgb(kWhite, 100, true));
            }
            if (look.isDefault) DrawDefaultRing(graphics, x, y, w, h, accent, scale);
        }
        DrawCaption(graphics, window, look, Gdiplus::RectF(0, scale.Pf(2), w, h));
    });
}

void PaintOwnerDrawnButton(SkinState& engine, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return;
    ButtonLook look;
    if (!ReadButtonLook(engine, item.hwndItem, look)) return;
    switch (look.kind) {
    case kButtonPush: PaintPushButtonFace(engine, item.hwndItem, item.hDC, item.itemState, item.rcItem); break;
    case kButtonImageAndText:
    case kButtonFourImages: PaintImageButton(engine, item.hwndItem, item.hDC, item.itemState, item.rcItem, look); break;
    default: break;
    }
}

namespace {

// Skins one check box or radio button; its 1-based record index, 0 when it
// is neither or was skinned already.
int SkinCheckOrRadio(SkinState& engine, int formIndex, HWND parent, HWND child) {
    const int kind = CheckRadioKindOfStyle(static_cast<LONG>(::GetWindowLongPtrA(child, GWL_STYLE)));
    if (kind == 0) return 0;
    // Subclassing a skinned control again would make the skin procedure its
    // own previous procedure, and every message would circle for ever.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(child, GWLP_WNDPROC)) == &ButtonSkinProc) return 0;
    if (FindControlRecord(engine, formIndex, child, RecordList::Buttons)) return 0;

    const bool checked = ::SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const Text text = WindowText(child);
    const ControlFont font = ReadControlFont(child);
    const int index = engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
        FormSkin& form = *forms[formIndex - 1];
        const int i = TakeRecordSlot(form.buttons);
        ControlRecord& record = form.buttons[i - 1];
        record = ControlRecord();
        record.window = child;
        record.kind = kind;
        record.text = text;
        record.checkedAtAttach = checked ? 1 : 0;
        record.parent = parent;
        record.focused = ::GetFocus() == child ? 1 : 0;
        TakeCaptionFont(form, record, font);
        return i;
    });
    if (index == 0) return 0;
    SetProperty(child, prop::kIndex, index);
    SetProperty(child, prop::kFormIndex, formIndex);
    WNDPROC previous = SubclassWindow(child, &ButtonSkinProc);
    WithControlRecord(engine, child, &FormSkin::buttons,
                      [&](FormSkin&, ControlRecord& record) { record.previousProc = previous; });
    ::InvalidateRect(child, nullptr, TRUE);
    return index;
}

}  // namespace

void AttachCheckRadioSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!ControlSettings(engine).skinControls || !engine.Form(formIndex)) return;
    for (HWND child = ::FindWindowExA(parent, nullptr, "BUTTON", nullptr); child;
         child = ::FindWindowExA(parent, child, "BUTTON", nullptr)) {
        SkinCheckOrRadio(engine, formIndex, parent, child);
    }
}
