#include "skin/controls/check_radio_skin.h"

#include <algorithm>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "resources/embedded_images.h"
#include "runtime/window_ops.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr LONG kOwnerDrawBits = BS_OWNERDRAW;  // 0xB
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kTeal = RGB(0, 128, 128);
// The hover glow keeps this colour whatever the accent.
constexpr COLORREF kGlow = RGB(34, 202, 221);
constexpr int kBoxSize = 13;
constexpr int kFaceRadius = 5;
// Where the caption area (and the focus cue around it) starts.
constexpr float kCaptionCueLeft = 14;

// What a painter needs of the record, copied out under the lock.
struct CheckLook {
    int kind = -1;
    DisplayScale scale;
    Text text;
    Text face;
    int size = 0;
    int style = 0;
    bool focused = false;
};

bool ReadCheckLook(SkinState& engine, HWND window, CheckLook& look) {
    return WithControlRecord(engine, window, &FormSkin::buttons, [&](FormSkin& form, ControlRecord& record) {
        look.kind = record.kind;
        look.scale = form.Scale();
        look.text = record.text;
        look.face = record.fontFace;
        look.size = record.fontSize;
        look.style = record.fontStyle;
        look.focused = record.focused != 0;
    });
}


GdipPath EllipsePath(float x, float y, float width, float height) {
    GdipPath path;
    path.CreatePath(0);
    path.AddPathEllipse(x, y, width, height);
    return path;
}

// The silver face of a disabled control; no box, circle or mark.
void DrawDisabledFace(GdipGraphics& graphics, float x, float y, float w, float h, const DisplayScale& scale) {
    GdipSolidBrush silver;
    silver.CreateSolidFill(ToArgb(kSilver, 255, true));
    graphics.FillRectangle(silver, x, y, w, h);
    GdipPath face;
    face.CreatePath(0);
    AddRoundedRectangle(face, x, y, w - 1, h - 1, scale.Px(kFaceRadius));
    const float d = OutlineInset(scale);
    GdipPath edge;
    edge.CreatePath(0);
    AddRoundedRectangle(edge, x + d, y + d, w - 1 - 2 * d, h - 1 - 2 * d, scale.Px(kFaceRadius));
    GdipLinearBrush gloss;
    gloss.CreateLineBrush(x, y, x, y + h, ToArgb(kWhite, 50, true), ToArgb(kWhite, 50, true));
    gloss.SetLinePresetBlend({ToArgb(kWhite, 50, true), ToArgb(kBlack, 10, true), ToArgb(kWhite, 50, true)},
                             {0.0f, 0.6f, 1.0f});
    graphics.FillPath(gloss, face);
    DrawOutline(graphics, edge, kBlack, 80, scale);
}

// The box image fills the scaled square, whatever resolution the file records.
void DrawEmbedded(GdipGraphics& graphics, EmbeddedImage which, float x, float y, float size) {
    GdipImage image;
    if (!image.LoadImageFromStream(EmbeddedImageBytes(which))) return;  // not drawn
    graphics.DrawImageRect(image, x, y, size, size);
}

void DrawCheckBoxMark(GdipGraphics& graphics, float x, float y, float h, bool ticked, bool hot, COLORREF accent,
                      const DisplayScale& scale) {
    const float size = static_cast<float>(scale.Px(kBoxSize));
    const float top = y + (h - size) / 2;
    UseSmoothImageScaling(graphics, scale);
    DrawEmbedded(graphics, EmbeddedImage::CheckBoxOff, x, top, size);
    if (ticked) DrawEmbedded(graphics, EmbeddedImage::CheckBoxOn, x, top, size);
    if (!hot) return;
    const float shadeTop = y + (h - scale.Pf(12)) / 2 + scale.Pf(1);
    GdipPath box;
    box.CreatePath(0);
    box.AddPathRectangle(x, top, size, size);
    FillPathGradient(graphics, box, x + scale.Pf(3), shadeTop, x + scale.Pf(11), shadeTop + scale.Pf(11),
                     ToArgb(accent, 100, true), ToArgb(kBlack, 0, true));
    DrawSoftOutline(graphics, box, scale.Line(2), kGlow, 30);
}

void DrawRadioMark(GdipGraphics& graphics, float x, float y, float h, bool selected, bool hot, COLORREF accent,
                   const DisplayScale& scale) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const float ring = scale.Pf(12);
    const float ringTop = y + (h - ring) / 2;
    {
        GdipPen pen;
        pen.CreatePen1(ToArgb(kBlack, 200, true), scale.Pf(1), Gdiplus::UnitWorld);
        graphics.DrawEllipse(pen, x + scale.Pf(2), ringTop, ring, ring);
    }
    GdipPath face = EllipsePath(x + scale.Pf(3), y + (h - scale.Pf(11)) / 2 + scale.Pf(1), scale.Pf(9), scale.Pf(9));
    OutlinePath(graphics, face, kWhite, 255);
    {
        GdipSolidBrush white;
        white.CreateSolidFill(ToArgb(kWhite, 255, true));
        graphics.FillPath(white, face);
    }
    FillPathGradient(graphics, face, x + scale.Pf(3), ringTop + scale.Pf(1), x + scale.Pf(13),
                     ringTop + scale.Pf(11), ToArgb(kBlack, 100, true), ToArgb(kBlack, 0, true));
    if (hot) {
        FillPathGradient(graphics, face, x + scale.Pf(3), ringTop + scale.Pf(1), x + scale.Pf(14),
                         ringTop + scale.Pf(12), ToArgb(accent, 100, true), ToArgb(kBlack, 0, true));
        DrawSoftOutline(graphics, face, scale.Line(2), kGlow, 30);
    }
    if (!selected) return;
    GdipPath dot = EllipsePath(x + scale.Pf(5), ringTop + scale.Pf(3), scale.Pf(6), scale.Pf(6));
    GdipPathBrush shine;
    shine.CreatePathGradientFromPath(dot);
    shine.SetPathGradientCenterColor(ToArgb(kWhite, 100, true));
    shine.SetPathGradientSurroundColorsWithCount({ToArgb(kTeal, 255, true)});
    OutlinePath(graphics, dot, kBlack, 200);
    graphics.FillPath(shine, dot);
}

// A face that makes no font draws no caption.
void DrawCaption(GdipGraphics& graphics, HWND window, const CheckLook& look, const Gdiplus::RectF& layout) {
    DrawControlCaption(graphics, window, look.text, ControlFont{look.face, look.size, look.style}, 0, layout);
}

// Composes the background, draws the mark of the record's kind and the
// caption, and copies the result to target (the window's DC when null).
void PaintCheckOrRadio(SkinState& engine, HWND window, UINT state, HDC target, int kind) {
    CheckLook look;
    if (!ReadCheckLook(engine, window, look) || look.kind != kind) return;
    RECT rect{};
    ::GetClientRect(window, &rect);
    const int L = rect.right - rect.left, T = rect.bottom - rect.top;
    if (L <= 0 || T <= 0) return;
    const COLORREF accent = ControlSettings(engine).accent;
    const bool checked = ::SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;

    HDC memory = ComposeControlBackground(engine, window, rect);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        const float x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
        const float w = static_cast<float>(L), h = static_cast<float>(T);
        const bool hot = (state & ODS_HOTLIGHT) != 0;
        const DisplayScale& scale = look.scale;
        if (state & ODS_DISABLED) {
            DrawDisabledFace(graphics, x, y, w, h, scale);
        } else if (kind == kButtonCheckBox) {
            DrawCheckBoxMark(graphics, x, y, h, checked, hot, accent, scale);
        } else {
            DrawRadioMark(graphics, x, y, h, checked, hot, accent, scale);
        }
        const Gdiplus::RectF layout = kind == kButtonCheckBox
                                          ? Gdiplus::RectF(x + scale.Pf(17), scale.Pf(2), w - scale.Pf(19), h)
                                          : Gdiplus::RectF(x + scale.Pf(18), scale.Pf(2), w, h);
        DrawCaption(graphics, window, look, layout);
        // Around the caption, as a focus rectangle would be; the whole
        // control when it has no caption.
        if (look.focused && !(state & ODS_DISABLED) && FocusCuesShown(window)) {
            const float left = look.text.empty() ? x : x + scale.Pf(kCaptionCueLeft);
            DrawFocusCue(graphics, left, y, w - (left - x), h, accent, scale);
        }
        graphics.Flush();
        if (target) {
            ::BitBlt(target, 0, 0, L, T, memory, 0, 0, SRCCOPY);
        } else {
            WindowDc dc(window);
            ::BitBlt(dc.Get(), 0, 0, L, T, memory, 0, 0, SRCCOPY);
        }
    }
    ReleaseMemoryDc(engine, memory);
}

}  // namespace

int CheckRadioKindOfStyle(LONG style) {
    if ((style & kOwnerDrawBits) == kOwnerDrawBits || (style & 0x4) != 0) return 0;
    if (style & 0x2) return kButtonCheckBox;
    if ((style & 0x9) == 0x9) return kButtonRadio;
    return 0;
}

void PaintCheckBox(SkinState& engine, HWND window, UINT state, HDC target) {
    PaintCheckOrRadio(engine, window, state, target, kButtonCheckBox);
}

void PaintRadioButton(SkinState& engine, HWND window, UINT state, HDC target) {
    PaintCheckOrRadio(engine, window, state, target, kButtonRadio);
}

bool RefreshCheckRadio(SkinState& engine, HWND window, HDC target) {
    CheckLook look;
    if (!ReadCheckLook(engine, window, look)) return false;
    // Nothing else tells the painters that the control is disabled.
    const UINT state = ::IsWindowEnabled(window) ? 0 : ODS_DISABLED;
    switch (look.kind) {
    case kButtonCheckBox: PaintCheckBox(engine, window, state, target); return true;
    case kButtonRadio: PaintRadioButton(engine, window, state, target); return true;
    default: return false;
    }
}
