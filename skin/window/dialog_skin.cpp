#include "skin/window/dialog_skin.h"

#include <shlwapi.h>

#include <atomic>
#include <cstring>
#include <utility>

#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "resources/embedded_images.h"
#include "runtime/allocation_failure.h"
#include "runtime/window_ops.h"
#include "skin/paint/frame_outlines.h"
#include "skin/paint/paint_primitives.h"
#include "skin/window/caption_painter.h"
#include "skin/window/child_skin_dispatch.h"
#include "skin/window/container_skin.h"
#include "skin/model/skin_state.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kCornerSize = 5;
constexpr int kCaptionBand = 26;
constexpr int kIconSize = 17;
constexpr int kIconPlace = 5;
constexpr int kTitleLeft = kIconSize + 8;
constexpr int kTitleBandHeight = 30;
constexpr float kTitleFontSize = 11.0f;
constexpr char kTitleFace[] = "黑体";
// Gradients exactly as long as their shape: mirrored tiling keeps the last
// row from wrapping round to the first colour.
constexpr int kWrapTileFlipXY = 3;
constexpr int kStringAlignCenter = 1;
constexpr int kStringFormatNoWrap = 0x1000;
#ifndef UIS_INITIALIZE
#define UIS_INITIALIZE 3
#endif
#ifndef TME_NONCLIENT
#define TME_NONCLIENT 0x00000010
#endif
#ifndef WM_NCMOUSELEAVE
#define WM_NCMOUSELEAVE 0x02A2
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

std::atomic<long> gCloseRepaints{0};

struct DialogRef {
    int index = 0;
    FormSkin* form = nullptr;
};

// The entry by window handle: Hw_lbID may be renumbered at any moment by a
// dialog of another thread that goes away.
DialogRef FindDialog(SkinState& engine, HWND window) {
    return engine.WithForms([&](FormSkinList& forms) {
        const int index = FindForm(forms, window);
        return DialogRef{index, index ? forms[index - 1].get() : nullptr};
    });
}

SIZE WindowSize(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void SetDialogRegion(HWND dialog, const DisplayScale& s) {
    const SIZE size = WindowSize(dialog);
    // The window owns the region once SetWindowRgn accepts it.
    const int corner = s.Px(kCornerSize);
    HRGN region = ::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, corner, corner);
    if (region && !::SetWindowRgn(dialog, region, TRUE)) ::DeleteObject(region);
}

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetProperty(window, prop::kPreviousProc));
    if (!previous) return ::DefWindowProcA(window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

void PrepareGraphics(GdipGraphics& graphics, HDC dc) {
    graphics.CreateFromHDC(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
}

// An image at its size at 96 DPI: as it is at 96, scaled with high-quality
// interpolation above.
void DrawScaledImage(GdipGraphics& graphics, const GdipImage& image, int x, int y, const DisplayScale& s) {
    const int width = static_cast<int>(image.GetImageWidth()), height = static_cast<int>(image.GetImageHeight());
    if (s.IsBase()) {
        graphics.DrawImageRectI(image, x, y, width, height);
        return;
    }
    const int interpolation = graphics.GetInterpolationMode(), pixelOffset = graphics.GetPixelOffsetMode();
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImageRectI(image, x, y, s.Px(width), s.Px(height));
    graphics.SetInterpolationMode(interpolation);
    graphics.SetPixelOffsetMode(pixelOffset);
}

// The layers under everything else: base colour, image, veils, caption band.
void PaintDialogBase(GdipGraphics& graphics, FormSkin& form, const PaintContext& context, int width, int height) {
    graphics.GraphicsClear(ToArgb(context.backColour, 0, false));
    if (const GdipImage* image = DecodeCached(form.decodedBackImage, context.backImage)) {
        graphics.DrawImageRectI(*image, 0, 0, image->GetImageWidth(), image->GetImageHeight());
    }
    GdipSolidBrush veil, white;
    veil.CreateSolidFill(ToArgb(context.backColour, 220, true));
    white.CreateSolidFill(ToArgb(kWhite, 100, true));
    graphics.FillRectangleI(veil, 0, 0, width, height);
    graphics.FillRectangleI(white, 0, 0, width, height);
    GdipLinearBrush band;
    const DisplayScale s = form.Scale();
    band.CreateLineBrush(0, 0, 0, static_cast<float>(s.Px(kTitleBandHeight)), ToArgb(kWhite, 100, true),
                         ToArgb(kBlack, 20, true), kWrapTileFlipXY);
    graphics.FillRectangleI(band, 0, 0, width, s.Px(kCaptionBand));
}

void PaintDialogFrame(GdipGraphics& graphics, int width, int height, const DisplayScale& s) {
    DrawFrameOutlines(graphics, width, height, s.Px(5), s.Px(3), 120, s.Line(1));
}

// The title as a text path: a grey halo of widening strokes, then the white face.
void PaintDialogTitle(GdipGraphics& graphics, const FormSkin& form, int width) {
    const Text title = WindowText(form.window);
    if (title.empty()) return;
    GdipFontFamily family;
    if (!family.CreateFontFamilyFromName(kTitleFace) && !family.GetGenericFontFamilySansSerif()) return;
    GdipStringFormat format;
    format.CreateStringFormat(kStringFormatNoWrap);
    format.SetStringFormatLineAlign(kStringAlignCenter);
    GdipPath path;
    path.CreatePath(0);
    // The em size of a path's text is in world units: pixels here.
    const DisplayScale s = form.Scale();
    const Gdiplus::RectF layout(static_cast<float>(s.Px(kTitleLeft)), 0, static_cast<float>(width),
                                static_cast<float>(s.Px(kTitleBandHeight)));
    if (!path.AddPathString(title, family, 0, s.Pf(kTitleFontSize), layout, format)) return;
    DrawSoftOutline(graphics, path, 4, form.titleShadowColour, 45, s);
    GdipSolidBrush face;
    face.CreateSolidFill(ToArgb(form.titleColour, 255, true));
    graphics.FillPath(face, path);
}

// The window DC with every visible child left out, so children keep what
// they painted.
class ChildlessWindowDc {
public:
    explicit ChildlessWindowDc(HWND window) : window_(window), dc_(::GetWindowDC(window)) {
        if (!dc_) return;
        RECT frame{};
        ::GetWindowRect(window, &frame);
        for (HWND child = ::FindWindowExA(window, nullptr, nullptr, nullptr); child;
             child = ::FindWindowExA(window, child, nullptr, nullptr)) {
            if (!::IsWindowVisible(child)) continue;
            RECT r{};
            ::GetWindowRect(child, &r);
            ::ExcludeClipRect(dc_, r.left - frame.left, r.top - frame.top, r.right - frame.left,
                              r.bottom - frame.top);
        }
    }
    ~ChildlessWindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ChildlessWindowDc(const ChildlessWindowDc&) = delete;
    ChildlessWindowDc& operator=(const ChildlessWindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

void LayoutCaption(FormSkin& form) {
    const SIZE size = WindowSize(form.window);
    const DisplayScale s = form.Scale();
    form.buttonStripX = size.cx - s.Px(kDialogCloseWidth);
    for (CaptionButton& button : form.captionButtons) {
        button.rect = ButtonRect{static_cast<float>(size.cx - s.Px(kDialogCloseWidth)), 0,
                                 static_cast<float>(s.Px(kDialogCloseWidth)), static_cast<float>(s.Px(kDialogCloseHeight))};
    }
}

void PaintCloseButton(FormSkin& form, const PaintContext& context, int index, GdipGraphics* graphics, bool hot) {
    if (index < 1 || index > static_cast<int>(form.captionButtons.size()) || !form.backgroundDc) return;
    CaptionButton& button = form.captionButtons[index - 1];
    const int x = static_cast<int>(button.rect.x), y = static_cast<int>(button.rect.y);
    const int w = static_cast<int>(button.rect.width), h = static_cast<int>(button.rect.height);
    const DisplayScale s = form.Scale();
    const auto px = [&s](int length) { return static_cast<float>(s.Px(length)); };
    const float fx = static_cast<float>(x), fy = static_cast<float>(y), fw = static_cast<float>(w),
                fh = static_cast<float>(h);
    GdipGraphics own;
    if (!graphics) {
        ++gCloseRepaints;
        PrepareGraphics(own, form.backgroundDc.Get());
        // The frame lines at the top and right edge stay as painted.
        own.SetClipRectI(x, y + s.Px(2), w - s.Px(2), h);
        if (!hot) {
            const SIZE size = WindowSize(form.window);
            PaintDialogBase(own, form, context, size.cx, size.cy);
        }
        graphics = &own;
    }
    if (hot) {
        GdipPath face;
        face.CreatePath(0);
        AddRoundedRectangle(face, fx + px(6), fy + px(2), fw - 2 * px(6), fh - 2 * px(2), s.Px(5));
        GdipLinearBrush red;
        red.CreateLineBrush(fx + px(3), fy + px(2), fx + px(3), fy + fh - px(2), ToArgb(kWhite, 10, true),
                            ToArgb(kRed, 200, true), kWrapTileFlipXY);
        graphics->FillPath(red, face);
        const float pen = static_cast<float>(s.Line(1));
        GdipPen dark;
        dark.CreatePen1(ToArgb(kBlack, 100, true), pen);
        graphics->DrawPath(dark, face);
        GdipPath inner;
        inner.CreatePath(0);
        AddRoundedRectangle(inner, fx + px(7), fy + px(3), fw - 2 * px(7), fh - 2 * px(3), s.Px(3));
        GdipPen light;
        light.CreatePen1(ToArgb(kWhite, 130, true), pen);
        graphics->DrawPath(light, inner);
    }
    if (const GdipImage* glyph = DecodeCached(button.decoded, button.image)) {
        DrawScaledImage(*graphics, *glyph, x, y + s.Px(3), s);
    }
    if (graphics == &own) {
        own.DeleteGraphics();
        ChildlessWindowDc window(form.window);
        if (window.Get()) ::BitBlt(window.Get(), x, y, w, h, form.backgroundDc.Get(), x, y, SRCCOPY);
    }
}

void Paint(SkinState& engine, FormSkin& form) {
    const SIZE size = WindowSize(form.window);
    const int w = size.cx, h = size.cy;
    if (w <= 0 || h <= 0) return;
    form.ReleaseBackground();
    form.backgroundDc.Reset(::CreateCompatibleDC(nullptr));
    BitmapHandle bitmap = CreateArgbBitmap(w, h);
    if (!form.backgroundDc || !bitmap) {
        form.backgroundDc.Reset();
        return;
    }
    form.backgroundDisplaced = ::SelectObject(form.backgroundDc.Get(), bitmap.Get());
    form.backgroundBitmap = std::move(bitmap);
    SetProperty(form.window, prop::kDisplacedObject, reinterpret_cast<LONG_PTR>(form.backgroundDisplaced));
    SetProperty(form.window, prop::kBackgroundBitmap, reinterpret_cast<LONG_PTR>(form.backgroundBitmap.Get()));

    const PaintContext context = engine.PaintContextNow();
    {
        GdipGraphics graphics;
        PrepareGraphics(graphics, form.backgroundDc.Get());
        PaintDialogBase(graphics, form, context, w, h);
        PaintDialogFrame(graphics, w, h, form.Scale());
    }
    if (context.appIcon) {
        const DisplayScale s = form.Scale();
        ::DrawIconEx(form.backgroundDc.Get(), s.Px(kIconPlace), s.Px(kIconPlace), context.appIcon, s.Px(kIconSize),
                     s.Px(kIconSize), 0, nullptr, DI_NORMAL);
    }
    {
        GdipGraphics graphics;
        PrepareGraphics(graphics, form.backgroundDc.Get());
        PaintDialogTitle(graphics, form, w);
        for (int i = 1; i <= static_cast<int>(form.captionButtons.size()); ++i) {
            PaintCloseButton(form, context, i, &graphics, false);
        }
    }
    ChildlessWindowDc window(form.window);
    if (window.Get()) ::BitBlt(window.Get(), 0, 0, w, h, form.backgroundDc.Get(), 0, 0, SRCCOPY);
}

void OnNcMouseMove(SkinState& engine, FormSkin& form, bool overClose) {
    if (overClose == (form.dialogCloseHot != 0)) return;
    const PaintContext context = engine.PaintContextNow();
    PaintCloseButton(form, context, 1, nullptr, overClose);
    form.dialogCloseHot = overClose ? 1 : 0;
    if (overClose) {
        // Leaving the close zone downwards or out of the window sends no
        // further non-client move: ask for the leave as well.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, form.window, 0};
        ::TrackMouseEvent(&track);
    }
}

// The box moved to a monitor of another scale: it is skinned at the new DPI
// and takes the rectangle the system suggests (the dialog manager may have
// moved it there already); region, caption and image follow.
LRESULT OnDpiChanged(FormSkin& form, HWND window, WPARAM wParam, LPARAM lParam) {
    form.dpi = DisplayScale(LOWORD(wParam)).Dpi();
    const LRESULT result = Forward(window, WM_DPICHANGED, wParam, lParam);
    RECT suggested{};
    if (lParam) std::memcpy(&suggested, reinterpret_cast<const void*>(lParam), sizeof suggested);
    RECT now{};
    ::GetWindowRect(window, &now);
    if (lParam && !::EqualRect(&now, &suggested)) {
        ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetDialogRegion(window, form.Scale());
    LayoutCaption(form);
    ::InvalidateRect(window, nullptr, TRUE);
    return result;
}

// On a dialog's first paint: fades it in on the one fade thread. A dialog
// that gets no fade (another dialog's fade owns the thread, or no thread can
// start) is shown at once rather than left transparent.
void StartFadeIn(SkinState& engine, HWND window) {
    const bool start = engine.WithSettings([](SkinSettings& s) {
        if (s.fadeInStarted) return false;
        s.fadeInStarted = 1;
        return true;
    });
    if (!start || !::SHCreateThread(FadeIn, reinterpret_cast<void*>(window), 0, nullptr)) {
        ::SetLayeredWindowAttributes(window, 0, kDialogFinalAlpha, LWA_ALPHA);
    }
}

// The focus steps fade the dialog out from 205 to 5 on its own thread. They
// run only until the dialog's first paint: afterwards the fade-in has shown
// it, and a focus that comes back later would leave it nearly invisible.
void FocusSteps(HWND window) {
    for (int i = 1; i <= kDialogFadeSteps; ++i) {
        ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(255 - kDialogFadeAlphaStep * i), LWA_ALPHA);
        ::Sleep(30);
    }
}

LRESULT HandleDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    if (!engine) return Forward(window, message, wParam, lParam);
    const DialogRef dialog = FindDialog(*engine, window);
    if (!dialog.form) return Forward(window, message, wParam, lParam);
    FormSkin& form = *dialog.form;

    switch (message) {
    case WM_SIZE:
        SetDialogRegion(window, form.Scale());
        LayoutCaption(form);
        break;
    case WM_DPICHANGED: return OnDpiChanged(form, window, wParam, lParam);
    case WM_ACTIVATE: {
        // The hook of this dialog's thread; a box on another thread keeps its own.
        if (HHOOK hook = engine->TakeMessageBoxHook()) ::UnhookWindowsHookEx(hook);
        break;
    }
    case WM_SETFOCUS:
        if (!form.dialogPainted) FocusSteps(window);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            Paint(*engine, form);
        }
        if (!form.dialogPainted) {
            form.dialogPainted = 1;
            StartFadeIn(*engine, window);
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_DRAWITEM: {
        DRAWITEMSTRUCT item;
        std::memcpy(&item, reinterpret_cast<const void*>(lParam), sizeof item);
        PaintOwnerDrawnItem(*engine, dialog.index, item);
        break;
    }
    case WM_NCDESTROY: {
        engine->WithSettings([](SkinSettings& s) { s.fadeInStarted = 0; });
        const LRESULT result = Forward(window, message, wParam, lParam);
        engine->WithForms([&](FormSkinList& forms) { RemoveForm(forms, FindForm(forms, window)); });
        return result;
    }
    case WM_NCHITTEST: return DialogHitTest(*engine, window, lParam);
    case WM_NCPAINT: return 0;
    case WM_NCACTIVATE: return 1;
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(*engine, form, wParam == HTCLOSE);
        if (wParam == HTCLOSE) return 0;
        break;
    case WM_NCMOUSELEAVE: OnNcMouseMove(*engine, form, false); break;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCLOSE) return 0;
        break;
    case WM_NCLBUTTONUP:
        if (wParam == HTCLOSE) {
            ::SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CHANGEUISTATE:
        if (LOWORD(wParam) == UIS_INITIALIZE) return 0;
        break;
    default: break;
    }
    return Forward(window, message, wParam, lParam);
}

}  // namespace

void AttachDialogSkin(SkinState& engine, HWND dialog) {
    if (!::IsWindow(dialog) || FindDialog(engine, dialog).form) return;
    const DisplayScale scale(WindowDpi(dialog));
    SetDialogRegion(dialog, scale);
    const SIZE size = WindowSize(dialog);

    auto entry = std::make_unique<FormSkin>();
    FormSkin& e = *entry;
    e.window = dialog;
    e.dpi = scale.Dpi();
    e.captionHeight = kDialogCaptionHeight;
    e.hasMinimise = 0;
    e.hasMaximise = 0;
    e.resizable = 0;
    e.minTrackWidth = 0;
    e.minTrackHeight = 0;
    e.titleFontSize = 13;
    e.titleFlag = 0;
    CaptionButton close;
    close.width = 38;
    close.height = 18;
    close.image = EmbeddedImageBytes(EmbeddedImage::DialogClose);
    close.command = kCommandClose;
    close.name = "关闭";
    e.captionButtons.push_back(std::move(close));
    e.buttonStripWidth = scale.Px(41);
    e.buttonStripHeight = scale.Px(22);
    e.buttonStripX = size.cx - scale.Px(4 + 41 + 2);
    e.buttonStripY = 0;

    ::SetWindowLongPtrA(dialog, GWL_STYLE, ::GetWindowLongPtrA(dialog, GWL_STYLE) | WS_SYSMENU);
    SetLayeredStyle(dialog, false);
    ::SetLayeredWindowAttributes(dialog, 0, 0, LWA_ALPHA);

    LayoutCaption(e);
    // The children's records go into the entry at the index given to their
    // skins, which a form of another thread going away would renumber: the
    // list stays locked until they are in. Safe, because every window the
    // child skins touch here is the dialog's or its children's, all of this
    // thread: nothing waits for another thread while the lock is held.
    engine.WithForms([&](FormSkinList& forms) {
        const int index = AddForm(forms, std::move(entry));
        SkinDialogChildren(engine, index, dialog);
        AttachToolbars(engine, index, dialog);
        SubclassWindow(dialog, DialogProc);
        SetProperty(dialog, prop::kIndex, index);
    });
}

void LayoutDialogCaption(SkinState& engine, HWND dialog) {
    if (FormSkin* form = FindDialog(engine, dialog).form) LayoutCaption(*form);
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleDialogMessage(window, message, wParam, lParam); });
}

DWORD WINAPI FadeIn(void* dialog) {
    return StopAllocationFailure([dialog] {
        // Only the dialog's alpha is touched: a dialog gone meanwhile makes
        // the calls fail and nothing else.
        HWND window = static_cast<HWND>(dialog);
        for (int i = 1; i <= kDialogFadeSteps; ++i) {
            ::Sleep(kDialogFadeStepMilliseconds);
            ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(kDialogFadeAlphaStep * i), LWA_ALPHA);
        }
        return DWORD{0};
    });
}

LRESULT DialogHitTest(SkinState& engine, HWND window, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    RECT r{};
    ::GetWindowRect(window, &r);
    const DialogRef dialog = FindDialog(engine, window);
    const int stripX = dialog.form ? dialog.form->buttonStripX : 0;
    const DisplayScale s = dialog.form ? dialog.form->Scale() : DisplayScale(WindowDpi(window));
    if (x > r.left + stripX && x < r.right - s.Px(5) && y > r.top + s.Px(3) && y <= r.top + s.Px(20)) return HTCLOSE;
    if (y > r.top + s.Px(kDialogCaptionHeight)) return HTCLIENT;
    return HTCAPTION;
}

void PaintDialog(SkinState& engine, HWND window) {
    if (FormSkin* form = FindDialog(engine, window).form) Paint(engine, *form);
}

void PaintDialogCloseButton(SkinState& engine, HWND dialog, int buttonIndex, GdipGraphics* graphics, bool,
                            bool hot) {
    FormSkin* form = FindDialog(engine, dialog).form;
    if (!form) return;
    PaintCloseButton(*form, engine.PaintContextNow(), buttonIndex, graphics, hot);
}

long DialogCloseRepaints() { return gCloseRepaints.load(); }
