#include "skin/controls/header_skin.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "gdip/text_convert.h"
#include "runtime/bytes.h"
#include "runtime/allocation_failure.h"
#include "runtime/comctl32_api.h"
#include "skin/controls/control_skin_common.h"
#include "skin/paint/paint_primitives.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDisabledInk = RGB(128, 128, 128);
constexpr int kHotClassHeader = 9;
constexpr int kTextBuffer = 260;
constexpr int kTextInset = 4;  // between an item's edges (or its icon) and the text
constexpr char kFallbackFace[] = "宋体";
constexpr int kFallbackSize = 12;
constexpr int kStringNoWrap = 0x1000;
constexpr int kTrimmingEllipsisCharacter = 3;
constexpr wchar_t kEllipsis = 0x2026;

// The signed client position of a mouse message.
POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

struct HeaderState {
    HWND window = nullptr;
    int clickable = 0;
    HIMAGELIST imageList = nullptr;
    Text face;
    int size = 0;
    int style = 0;
    int hotItem = -1;
    int pressedItem = -1;
};

bool ReadHeaderAt(SkinState& engine, int formIndex, int index, HeaderState& state) {
    return engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return false;
        const auto& headers = forms[formIndex - 1]->headers;
        if (index < 1 || index > static_cast<int>(headers.size())) return false;
        const ControlRecord& r = headers[index - 1];
        state.window = r.window;
        state.clickable = r.clickable;
        state.imageList = r.imageList;
        state.face = r.fontFace;
        state.size = r.fontSize;
        state.style = r.fontStyle;
        state.hotItem = r.hotItem;
        state.pressedItem = r.pressedItem;
        return state.window != nullptr;
    });
}

template <typename Change>
bool ChangeHeader(SkinState& engine, HWND window, Change&& change) {
    return WithControlRecord(engine, window, &FormSkin::headers,
                             [&](FormSkin& form, ControlRecord& record) { change(form, record); });
}

struct HeaderItem {
    RECT rect{};
    Text text;
    int format = 0;
    int image = -1;
};

HeaderItem ReadItem(HWND header, int i) {
    HeaderItem item;
    ::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item.rect));
    char buffer[kTextBuffer] = {};
    HDITEMA info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = buffer;
    info.cchTextMax = kTextBuffer;
    if (::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info))) {
        buffer[kTextBuffer - 1] = '\0';
        // A callback text or one the control keeps elsewhere comes back as its own pointer.
        item.text = info.pszText == buffer ? Text(buffer) : Text();
        item.format = info.fmt;
        item.image = info.iImage;
    }
    return item;
}

void FillVertical(GdipGraphics& graphics, const RECT& r, Gdiplus::ARGB from, Gdiplus::ARGB to) {
    GdipLinearBrush brush;
    brush.CreateLineBrushI(r.left, r.top - 1, r.left, r.bottom, from, to);
    graphics.FillRectangleI(brush, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PaintItemFace(GdipGraphics& graphics, const RECT& r, bool hot, bool pressed, COLORREF accent) {
    if (hot) {
        FillVertical(graphics, r, ToArgb(accent, 60, true), ToArgb(accent, 10, true));
        FillVertical(graphics, r, ToArgb(kWhite, 80, true), ToArgb(accent, 120, true));
    } else if (pressed) {
        FillVertical(graphics, r, ToArgb(accent, 60, true), ToArgb(kBlack, 30, true));
    } else {
        FillVertical(graphics, r, ToArgb(kBlack, 30, true), ToArgb(kWhite, 120, true));
    }
    GdipLinearBrush lineBrush;
    lineBrush.CreateLineBrushI(r.left, r.top - 1, r.left, r.bottom, ToArgb(kBlack, 60, true), ToArgb(kWhite, 50, true));
    GdipPen separator;
    separator.CreatePen2(lineBrush, 1.0f);
    graphics.DrawLineI(separator, r.right - 1, r.top, r.right - 1, r.bottom);
}

// Draws the item's image after the margin, vertically centred; the x where
// the text may start.
int PaintItemIcon(GdipGraphics& graphics, HIMAGELIST images, const HeaderItem& item, int margin, int inset) {
    int x = item.rect.left + margin;
    if (!(item.format & HDF_IMAGE) || !images || item.image < 0) return item.rect.left + inset;
    IconHandle icon(pImageList_GetIcon(images, item.image, ILD_TRANSPARENT));
    if (!icon) return item.rect.left + inset;
    GdipBitmap bitmap;
    if (bitmap.CreateBitmapFromHICON(icon.Get())) {
        const int w = bitmap.GetImageWidth(), h = bitmap.GetImageHeight();
        const int y = item.rect.top + (item.rect.bottom - item.rect.top - h) / 2;
        graphics.DrawImageRectI(bitmap, x, y, w, h);
        x += w;
    }
    return x + inset;
}

// The wide text cut to its first n characters and an ellipsis, terminated.
ByteArray CutWithEllipsis(const ByteArray& wide, int n) {
    ByteArray cut = ZeroBytes((n + 2) * 2);
    std::memcpy(cut.data(), wide.data(), static_cast<std::size_t>(n) * 2);
    const wchar_t ellipsis = kEllipsis;
    std::memcpy(cut.data() + n * 2, &ellipsis, 2);
    return cut;
}

float TextWidth(const GdipGraphics& graphics, const ByteArray& wide, const GdipFont& font,
                const GdipStringFormat& format) {
    return graphics.MeasureString(wide, font, Gdiplus::RectF(0, 0, 100000.0f, 1000.0f), format).bounds.Width;
}

// The text as drawn in `width` pixels: whole when it fits, else as many
// leading characters as fit before an ellipsis (the string format asks GDI+
// to trim too, but not every GDI+ does).
ByteArray FittedText(const GdipGraphics& graphics, const Text& text, const GdipFont& font,
                     const GdipStringFormat& format, float width) {
    const ByteArray wide = ToWide(text);
    const int length = WideLength(wide);
    if (length == 0 || TextWidth(graphics, wide, font, format) <= width) return wide;
    int fits = 0, low = 0, high = length - 1;
    while (low <= high) {
        const int mid = (low + high) / 2;
        if (TextWidth(graphics, CutWithEllipsis(wide, mid), font, format) <= width) {
            fits = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return CutWithEllipsis(wide, fits);
}

void PaintItemText(GdipGraphics& graphics, const GdipFont& font, const HeaderItem& item, int left, int inset,
                   COLORREF inkColour) {
    const int right = item.rect.right - inset;
    if (item.text.empty() || right <= left) return;
    GdipStringFormat format;
    format.CreateStringFormat(kStringNoWrap);
    format.SetStringFormatTrimming(kTrimmingEllipsisCharacter);
    const int justify = item.format & HDF_JUSTIFYMASK;
    format.SetStringFormatAlign(justify == HDF_RIGHT ? 2 : justify == HDF_CENTER ? 1 : 0);
    format.SetStringFormatLineAlign(1);
    GdipSolidBrush ink;
    ink.CreateSolidFill(ToArgb(inkColour, 255, true));
    const float width = static_cast<float>(right - left);
    graphics.DrawString(FittedText(graphics, item.text, font, format, width), font,
                        Gdiplus::RectF(static_cast<float>(left), static_cast<float>(item.rect.top), width,
                                       static_cast<float>(item.rect.bottom - item.rect.top)),
                        format, ink);
}

void OnHeaderMouseMove(SkinState& engine, HWND window, LPARAM lParam) {
    TrackMouseLeave(window);
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    const int item = HeaderHitItem(engine, F, index, PointOf(lParam));
    bool changed = false;
    ChangeHeader(engine, window, [&](FormSkin& form, ControlRecord& record) {
        changed = record.hotItem != item || form.previousHotControl != index || form.hotControlClass != kHotClassHeader;
        if (changed) record.hotItem = item;
    });
    if (!changed) return;
    PaintHeader(engine, F, index, 0, false, 0, false);
    ChangeHeader(engine, window, [&](FormSkin& form, ControlRecord&) {
        form.hotControl = index;
        form.previousHotControl = index;
        form.hotControlClass = kHotClassHeader;
    });
}

void OnHeaderButton(SkinState& engine, HWND window, bool down, LPARAM lParam) {
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));
    const int item =
        down ? HeaderHitItem(engine, F, index, PointOf(lParam)) : -1;
    ChangeHeader(engine, window, [&](FormSkin&, ControlRecord& record) {
        if (!record.clickable) return;
        record.mouseDown = down ? 1 : 0;
        record.pressedItem = item;
    });
}

ControlFont HeaderFont(HWND header, const DisplayScale& scale) {
    ControlFont font = ReadControlFont(header);
    if (font.face.empty()) font = ReadControlFont(::GetParent(header));
    if (font.face.empty()) font.face = kFallbackFace;
    if (font.size <= 0) font.size = scale.Px(kFallbackSize);
    return font;
}

LRESULT HandleHeaderMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinState* engine = SkinState::Instance();
    const bool known = engine && ChangeHeader(*engine, window, [](FormSkin&, ControlRecord&) {});
    if (!known) return ForwardToPrevious(window, message, wParam, lParam);
    const int F = static_cast<int>(GetProperty(window, prop::kFormIndex));
    const int index = static_cast<int>(GetProperty(window, prop::kIndex));

    switch (message) {
    case WM_NCDESTROY:
        // The image list is its setter's (a list view destroys its own):
        // the record only forgets it.
        ChangeHeader(*engine, window, [](FormSkin&, ControlRecord& record) { record.imageList = nullptr; });
        break;
    case HDM_SETIMAGELIST: {
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(window, HDM_GETIMAGELIST, 0, 0));
        ChangeHeader(*engine, window, [&](FormSkin&, ControlRecord& record) { record.imageList = images; });
        return result;
    }
    case WM_MOVE: PaintHeader(*engine, F, index, 0, false, 0, false); break;
    case WM_SETFONT: {
        // The items' text follows a new font (the form gives its children
        // fonts for a new display scale this way).
        const LRESULT result = ForwardToPrevious(window, message, wParam, lParam);
        const ControlFont font = HeaderFont(window, ScaleOfWindow(*engine, window));
        ChangeHeader(*engine, window, [&](FormSkin&, ControlRecord& record) {
            record.fontFace = font.face;
            record.fontSize = font.size;
            record.fontStyle = font.style;
        });
        if (lParam) ::InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        // The control does not repaint itself when enabled or disabled.
        ::InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(window);
            PaintHeader(*engine, F, index, 0, false, 0, false, paint.Dc());
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PRINTCLIENT: PaintHeader(*engine, F, index, 0, false, 0, false, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_MOUSEMOVE: OnHeaderMouseMove(*engine, window, lParam); break;
    case WM_LBUTTONDOWN: OnHeaderButton(*engine, window, true, lParam); break;
    case WM_LBUTTONUP: OnHeaderButton(*engine, window, false, lParam); break;
    case WM_MOUSELEAVE:
        ChangeHeader(*engine, window, [](FormSkin& form, ControlRecord& record) {
            form.previousHotControl = 0;
            record.hotItem = -1;
        });
        PaintHeader(*engine, F, index, 0, false, 0, false);
        break;
    default: break;
    }
    return ForwardToPrevious(window, message, wParam, lParam);
}

void SkinHeader(SkinState& engine, int formIndex, HWND header) {
    if (!header || !::IsWindow(header)) return;
    const ControlFont font = HeaderFont(header, ScaleOfWindow(engine, header));
    const int clickable = (::GetWindowLongPtrA(header, GWL_STYLE) & HDS_BUTTONS) ? 1 : 0;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    const int index = engine.WithForms([&](FormSkinList& forms) {
        if (formIndex < 1 || formIndex > static_cast<int>(forms.size())) return 0;
        auto& headers = forms[formIndex - 1]->headers;
        // A header attached again keeps its one record and one subclass.
        for (const ControlRecord& r : headers) {
            if (r.window == header) return -1;
        }
        const int i = TakeRecordSlot(headers, header);
        ControlRecord& r = headers[i - 1];
        r.clickable = clickable;
        r.imageList = images;
        r.fontFace = font.face;
        r.fontSize = font.size;
        r.fontStyle = font.style;
        r.hotItem = -1;
        r.pressedItem = -1;
        return i;
    });
    if (index < 1) return;
    SetProperty(header, prop::kIndex, index);
    SetProperty(header, prop::kFormIndex, formIndex);
    WNDPROC previous = SubclassWindow(header, &HeaderSkinProc);
    ChangeHeader(engine, header, [&](FormSkin&, ControlRecord& r) { r.previousProc = previous; });
}

}  // namespace

void AttachHeaderSkin(SkinState& engine, int formIndex, HWND parent) {
    if (!engine.WithSettings([](SkinSettings& s) { return s.skinControls; }) || !engine.Form(formIndex)) return;
    std::vector<HWND> found;
    for (HWND child = ::FindWindowExA(parent, nullptr, WC_HEADERA, nullptr); child;
         child = ::FindWindowExA(parent, child, WC_HEADERA, nullptr)) {
        found.push_back(child);
    }
    for (HWND view = ::FindWindowExA(parent, nullptr, WC_LISTVIEWA, nullptr); view;
         view = ::FindWindowExA(parent, view, WC_LISTVIEWA, nullptr)) {
        if (HWND header = ::FindWindowExA(view, nullptr, WC_HEADERA, nullptr)) found.push_back(header);
    }
    for (HWND header : found) SkinHeader(engine, formIndex, header);
}

LRESULT CALLBACK HeaderSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopAllocationFailure([&] { return HandleHeaderMessage(window, message, wParam, lParam); });
}

int HeaderHitItem(SkinState& engine, int formIndex, int index, POINT position) {
    HeaderState state;
    if (!ReadHeaderAt(engine, formIndex, index, state)) return -1;
    const int count = static_cast<int>(::SendMessageA(state.window, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (::SendMessageA(state.window, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) &&
            ::PtInRect(&r, position)) {
            return i;
        }
    }
    return -1;
}

void PaintHeader(SkinState& engine, int formIndex, int index, int hot, bool useHot, int pressed, bool usePressed,
                 HDC target) {
    HeaderState state;
    if (!ReadHeaderAt(engine, formIndex, index, state)) return;
    HWND header = state.window;
    if (!useHot) hot = state.hotItem;
    if (!usePressed) pressed = state.pressedItem;
    if (!state.clickable) pressed = -1;  // a header that is no button is never pressed
    const bool enabled = ::IsWindowEnabled(header) != FALSE;
    if (!enabled) hot = pressed = -1;
    const ControlSkinSettings settings = ControlSettings(engine);
    const DisplayScale scale = ScaleOfWindow(engine, header);
    const int inset = scale.Px(kTextInset);
    const int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    // A list view's header spans the list view; one scrolled sideways is
    // wider than that, and its own width is painted too.
    RECT strip{}, own{};
    ::GetClientRect(header, &own);
    HWND parent = ::GetParent(header);
    if (ClassNameOf(parent) == WC_LISTVIEWA) ::GetClientRect(parent, &strip);
    strip.right = std::max(strip.right, own.right);
    strip.bottom = own.bottom;
    const int w = strip.right, h = strip.bottom;
    if (w <= 0 || h <= 0) return;
    const int margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));

    HDC memory = ComposeControlBackground(engine, header, strip);
    if (!memory) return;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(memory);
        GdipSolidBrush ground;
        ground.CreateSolidFill(settings.translucent ? ToArgb(kWhite, settings.controlBackAlpha, true)
                                                    : ToArgb(kWhite, 255, true));
        graphics.FillRectangleI(ground, 0, 0, w, h);
        GdipFont font;
        const bool haveFont =
            font.CreateFontByName(state.face, static_cast<float>(state.size), state.style, Gdiplus::UnitPixel) ||
            font.CreateFontByName(kFallbackFace, scale.Pf(kFallbackSize), 0, Gdiplus::UnitPixel);
        for (int i = 0; i < count; ++i) {
            const HeaderItem item = ReadItem(header, i);
            if (item.rect.right <= item.rect.left) continue;
            PaintItemFace(graphics, item.rect, i == hot, i == pressed, settings.accent);
            const int textLeft = PaintItemIcon(graphics, state.imageList, item, margin, inset);
            if (haveFont) PaintItemText(graphics, font, item, textLeft, inset, enabled ? kBlack : kDisabledInk);
        }
        graphics.Flush();
        if (target) {
            ::BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        } else {
            WindowDc dc(header);
            ::BitBlt(dc.Get(), 0, 0, w, h, memory, 0, 0, SRCCOPY);
        }
    }
    ReleaseMemoryDc(engine, memory);
}
