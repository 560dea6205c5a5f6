#include "skin/window/caption_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/font.h"
#include "gdip/graphics.h"
#include "gdip/image.h"
#include "gdip/path.h"
#include "gdip/pen.h"
#include "gdip/string_format.h"
#include "skin/paint/frame_outlines.h"
#include "skin/paint/paint_primitives.h"
#include "skin/paint/background_image.h"
#include "skin/window/status_strip.h"

using namespace caption;

namespace {

constexpr Gdiplus::ARGB kMagenta = 0xFFFF00FF;

std::size_t BytesKey(const ByteArray& bytes) { return HashBytes(bytes); }






bool CreateTitleFont(GdipFont& font, const Text& face, float size) {
    if (font.CreateFontByName(face, size, 0, Gdiplus::UnitPixel)) return true;
    GdipFontFamily family;
    return family.GetGenericFontFamilySansSerif() && font.CreateFont(family, size);
}

// What a font made for a 96-DPI pixel size at a scale is cached under.
int FontCacheKey(int size, const DisplayScale& s) { return size + (s.Dpi() << 16); }

// The form's title font, made again only when its face, size or scale
// changed (finding a family by name walks the installed fonts).
const GdipFont* TitleFont(FormSkin& form) {
    const DisplayScale s = form.Scale();
    const int key = FontCacheKey(form.titleFontSize, s);
    if (!form.titleFontCache || form.titleFontCacheFace != form.titleFont || form.titleFontCacheSize != key) {
        auto font = std::make_shared<GdipFont>();
        if (!CreateTitleFont(*font, form.titleFont, s.Pf(static_cast<float>(form.titleFontSize)))) return nullptr;
        form.titleFontCache = std::move(font);
        form.titleFontCacheFace = form.titleFont;
        form.titleFontCacheSize = key;
    }
    return form.titleFontCache.get();
}

// The window's text as stored, in the ANSI code page. Read directly rather
// than through WM_GETTEXT, which passes the whole subclass chain (tens of
// microseconds under Wine, on every rebuild); no window here answers
// WM_GETTEXT with anything but its stored text.
Text WindowTextOf(HWND window) {
    wchar_t wide[512] = {};
    const int length = ::InternalGetWindowText(window, wide, 512);
    if (length <= 0) return Text();
    char buffer[1024] = {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, length, buffer, sizeof buffer - 1, nullptr, nullptr);
    return Text(buffer, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

// What the laid-out background is made from.
std::size_t BaseLayerKey(const FormSkin& form, const PaintContext& context, int width, int height) {
    const bool own = !form.backImage.empty();
    std::size_t key = BytesKey(own ? form.backImage : context.backImage);
    const std::size_t parts[] = {static_cast<std::size_t>(own ? form.backMode : context.backMode),
                                 static_cast<std::size_t>(own ? form.backImageColour : context.backColour),
                                 static_cast<std::size_t>(width), static_cast<std::size_t>(height),
                                 static_cast<std::size_t>(form.captionSheen),
                                 static_cast<std::size_t>(form.captionHeight), own ? 1u : 0u,
                                 static_cast<std::size_t>(form.captionOn), static_cast<std::size_t>(form.dpi)};
    for (std::size_t part : parts) key = (key ^ part) * 1099511628211ull + 0x9E3779B97F4A7C15ull;
    return key == 0 ? 1 : key;
}

std::size_t Mix(std::size_t key, std::size_t part) { return (key ^ part) * 1099511628211ull + 0x9E3779B97F4A7C15ull; }

// What the title and the caption buttons in their normal faces are drawn from.
std::size_t DressedCaptionKey(const FormSkin& form, const PaintContext& context, std::size_t baseKey,
                              const Text& title) {
    std::size_t key = Mix(baseKey, BytesKey(ByteArray(form.titleFont.begin(), form.titleFont.end())));
    key = Mix(key, BytesKey(ByteArray(title.begin(), title.end())));
    const std::size_t parts[] = {static_cast<std::size_t>(form.titleOn), static_cast<std::size_t>(form.titleFontSize),
                                 static_cast<std::size_t>(form.titleColour),
                                 static_cast<std::size_t>(form.titleShadowColour),
                                 reinterpret_cast<std::size_t>(context.appIcon),
                                 static_cast<std::size_t>(form.buttonStripX), static_cast<std::size_t>(form.maximised),
                                 form.captionButtons.size()};
    for (std::size_t part : parts) key = Mix(key, part);
    for (const CaptionButton& button : form.captionButtons) {
        key = Mix(key, BytesKey(button.image));
        key = Mix(key, BytesKey(button.altImage));
        key = Mix(key, static_cast<std::size_t>(button.command));
        key = Mix(key, static_cast<std::size_t>(static_cast<long long>(button.rect.x * 16.0f)));
        key = Mix(key, static_cast<std::size_t>(static_cast<long long>(button.rect.y * 16.0f)));
    }
    return key == 0 ? 1 : key;
}

// The height of the band the title and the caption buttons are drawn in.
int DressedBandHeight(const FormSkin& form, int clientHeight) {
    const DisplayScale s = form.Scale();
    const int titleBottom = s.Px(kTitleY - 1 + form.titleFontSize + 6);
    return std::min(clientHeight, std::max({s.Px(form.captionHeight), titleBottom, form.buttonStripY + s.Px(20)}));
}



}  // namespace

void ForgetLaidOutLayers(FormSkin& form) {
    form.baseLayerKey = 0;
    form.dressedCaptionKey = 0;
}

std::size_t ImageBytesKey(const ByteArray& bytes) { return BytesKey(bytes); }


void SetFormRegion(HWND window, const DisplayScale& scale) {
    ::SetWindowRgn(window, nullptr, TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    int width = 0, height = 0;
    ClientSize(window, width, height);
    // The window owns the region once SetWindowRgn accepts it.
    const int corner = scale.Px(5);
    HRGN region = ::CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
    if (region && !::SetWindowRgn(window, region, TRUE)) ::DeleteObject(region);
}


void RebuildBackground(FormSkin& form, const PaintContext& context, bool copyToWindow, HDC paintDc) {
    int width = 0, height = 0;
    ClientSize(form.window, width, height);
    // The region depends on the client size only; cutting it again for the
    // same size costs a round trip through the window manager and changes nothing.
    if (form.regionSize.cx != width || form.regionSize.cy != height) {
        SetFormRegion(form.window, form.Scale());
        ClientSize(form.window, width, height);
        form.regionSize = SIZE{width, height};
    }
    if (!form.backgroundDc) form.backgroundDc.Reset(::CreateCompatibleDC(nullptr));
    if (!form.backgroundDc) return;
    // A bitmap of the same size is painted over again: a new one would only
    // cost its allocation and a fault on every page at the first stroke.
    BITMAP current{};
    const bool sameSize = form.backgroundBitmap &&
                          ::GetObjectA(form.backgroundBitmap.Get(), sizeof current, &current) == sizeof current &&
                          current.bmWidth == std::max(width, 1) && current.bmHeight == std::max(height, 1);
    if (!sameSize) {
        BitmapHandle bitmap = CreateArgbBitmap(width, height);
        if (!bitmap) return;
        HGDIOBJ displaced = ::SelectObject(form.backgroundDc.Get(), bitmap.Get());
        // The first bitmap displaced the DC's own; later ones displace our previous bitmap.
        if (!form.backgroundDisplaced) form.backgroundDisplaced = displaced;
        form.backgroundBitmap = std::move(bitmap);
        SetProperty(form.window, prop::kDisplacedObject, reinterpret_cast<LONG_PTR>(form.backgroundDisplaced));
        SetProperty(form.window, prop::kBackgroundBitmap, reinterpret_cast<LONG_PTR>(form.backgroundBitmap.Get()));
    }

    // The caption band may change: hover faces are painted afresh.
    form.hoverFaces.clear();
    const std::size_t baseKey = BaseLayerKey(form, context, width, height);
    if (!form.baseLayer.IsValid() || form.baseLayerKey != baseKey) {
        form.baseLayerKey = 0;
        // A layer of the same size is painted over: a new one would cost a
        // fault on every page at the first stroke.
        if (HasSize(form.baseLayer, width, height) || form.baseLayer.CreateDib(width, height)) {
            GdipGraphics graphics;
            PrepareGraphics(graphics, form.baseLayer.Dc());
            PaintBackground(graphics, form.baseLayer.Dc(), form, context);
            if (form.captionOn) PaintFrame(graphics, form);
            form.baseLayerKey = baseKey;
        }
    }
    {
        GdipGraphics graphics;
        PrepareGraphics(graphics, form.backgroundDc.Get());
        if (form.baseLayerKey == baseKey) {
            ::BitBlt(form.backgroundDc.Get(), 0, 0, width, height, form.baseLayer.Dc(), 0, 0, SRCCOPY);
        } else {
            PaintBackground(graphics, form.backgroundDc.Get(), form, context);
            if (form.captionOn) PaintFrame(graphics, form);
        }
        // The whole band a title may reach, which a title font taller than
        // the caption makes deeper than the caption.
        const int cacheBand = DressedBandHeight(form, height);
        if (form.captionOn &&
            (HasSize(form.captionCache, width, cacheBand) || form.captionCache.Create(width, cacheBand))) {
            ::BitBlt(form.captionCache.Dc(), 0, 0, width, cacheBand, form.backgroundDc.Get(), 0, 0, SRCCOPY);
        }
        const int statusHeight = form.Scale().Px(form.statusHeight);
        if (statusHeight > 0 &&
            (HasSize(form.statusCache, width, statusHeight) || form.statusCache.Create(width, statusHeight))) {
            ::BitBlt(form.statusCache.Dc(), 0, 0, width, statusHeight, form.backgroundDc.Get(), 0,
                     height - statusHeight, SRCCOPY);
        }
        if (form.captionOn) {
            // Title and buttons are drawn once per look of the caption band.
            const int band = DressedBandHeight(form, height);
            // Reading a window's text costs a message round trip: once per rebuild.
            const Text title = form.titleOn ? WindowTextOf(form.window) : Text();
            const std::size_t dressedKey =
                form.baseLayerKey == baseKey ? DressedCaptionKey(form, context, baseKey, title) : 0;
            if (dressedKey != 0 && form.dressedCaptionKey == dressedKey && HasSize(form.dressedCaption, width, band)) {
                ::BitBlt(form.backgroundDc.Get(), 0, 0, width, band, form.dressedCaption.Dc(), 0, 0, SRCCOPY);
            } else {
                form.dressedCaptionKey = 0;
                if (form.titleOn) PaintTitle(form, context, &graphics, &title);
                for (int i = 1; i <= static_cast<int>(form.captionButtons.size()); ++i) {
                    PaintCaptionButton(form, context, i, &graphics, ButtonFace::Normal);
                }
                graphics.Flush();
                if (dressedKey != 0 &&
                    (HasSize(form.dressedCaption, width, band) || form.dressedCaption.CreateDib(width, band))) {
                    ::BitBlt(form.dressedCaption.Dc(), 0, 0, width, band, form.backgroundDc.Get(), 0, 0, SRCCOPY);
                    form.dressedCaptionKey = dressedKey;
                }
            }
        }
        if (form.statusHeight > 0) PaintStatusStrip(form, &graphics);
    }
    if (copyToWindow) CopyBackgroundToWindow(form, nullptr, paintDc);
    form.needsRedraw = 0;
    if (!context.initialSizePending) {
        for (HWND child = ::FindWindowExA(form.window, nullptr, nullptr, nullptr); child;
             child = ::FindWindowExA(form.window, child, nullptr, nullptr)) {
            if (::IsWindowVisible(child)) ::InvalidateRect(child, nullptr, TRUE);
        }
    }
}

void PaintBackground(GdipGraphics& graphics, HDC dc, FormSkin& form, const PaintContext& context) {
    int width = 0, height = 0;
    ClientSize(form.window, width, height);
    const bool own = !form.backImage.empty();
    const std::shared_ptr<const ImagePixels> image = DecodeImagePixels(own ? form.backImage : context.backImage);
    const int mode = own ? form.backMode : context.backMode;
    struct {
        int x = 0, y = 0, width = 0, height = 0;
    } place;
    if (image) {
        const int iw = image->width, ih = image->height;
        switch (mode) {
        case 1: place = {width - iw, 0, iw, ih}; break;
        case 2: place = {(width - iw) / 2, (height - ih) / 2, iw, ih}; break;
        case 3: place = {0, 0, width, height}; break;
        default: place = {0, 0, iw, ih}; break;
        }
    }
    // Under an opaque image that covers the whole area, the cleared and
    // filled background would never show.
    const COLORREF fillColour = own ? form.backImageColour : context.backColour;
    graphics.Flush();
    if (!(image && CoversOpaquely(*image, width, height, place.x, place.y, place.width, place.height)) &&
        !FillOpaqueDirect(dc, width, height, fillColour)) {
        graphics.GraphicsClear(kMagenta);
        GdipSolidBrush fill;
        fill.CreateSolidFill(ToArgb(fillColour, 255, true));
        graphics.FillRectangleI(fill, 0, 0, width, height);
        graphics.Flush();
    }
    if (image) DrawImagePixels(dc, width, height, *image, place.x, place.y, place.width, place.height);
    const int captionHeight = form.Scale().Px(form.captionHeight);
    if (form.captionSheen && !FadeWhiteDownDirect(dc, width, std::min(height, captionHeight), captionHeight, 150)) {
        GdipLinearBrush sheen;
        sheen.CreateLineBrush(0, 0, 0, static_cast<float>(captionHeight), ToArgb(kWhite, 150, true),
                              ToArgb(kWhite, 0, true), kWrapTileFlipXY);
        graphics.FillRectangleI(sheen, 0, 0, width, captionHeight);
    }
}

void PaintFrame(GdipGraphics& graphics, const FormSkin& form) {
    int width = 0, height = 0;
    ClientSize(form.window, width, height);
    const DisplayScale s = form.Scale();
    DrawFrameOutlines(graphics, width, height, s.Px(7), s.Px(6), 180, s.Line(1));
}

void PaintTitle(FormSkin& form, const PaintContext& context, GdipGraphics* graphics, const Text* text) {
    if (!form.backgroundDc) return;
    // Outside a rebuild only the band left of the buttons is redrawn, as deep
    // as the title reaches (a tall title font reaches below the caption).
    const DisplayScale s = form.Scale();
    const int areaWidth = std::max(0, form.buttonStripX - s.Px(2));
    int clientWidth = 0, clientHeight = 0;
    ClientSize(form.window, clientWidth, clientHeight);
    const int band = DressedBandHeight(form, clientHeight);
    GdipGraphics own;
    if (!graphics) {
        if (!HasSize(form.captionCache, clientWidth, band)) {
            // The cache is of another size or depth (the title font grew):
            // a rebuild paints the band afresh.
            form.needsRedraw = 1;
            ::InvalidateRect(form.window, nullptr, FALSE);
            return;
        }
        RestoreFromCache(form, form.captionCache, 0, 0, areaWidth, band);
        PrepareGraphics(own, form.backgroundDc.Get());
        graphics = &own;
    }
    if (context.appIcon) {
        graphics->Flush();
        const int iconSize = s.Px(17);
        ::DrawIconEx(form.backgroundDc.Get(), s.Px(kTitleX), s.Px(kTitleY - 3), context.appIcon, iconSize, iconSize, 0,
                     nullptr, DI_NORMAL);
    }
    const Text title = text ? *text : WindowTextOf(form.window);
    const GdipFont* cachedFont = title.empty() ? nullptr : TitleFont(form);
    if (cachedFont) {
        const GdipFont& font = *cachedFont;
        GdipStringFormat format;
        format.CreateStringFormat(0x1000 /* no wrap */);
        const float x = static_cast<float>(s.Px(kTitleX + 20)), y = static_cast<float>(s.Px(kTitleY - 2));
        const float w = static_cast<float>(std::max(1, areaWidth - s.Px(kTitleX + 20)));
        const float h = static_cast<float>(s.Px(form.titleFontSize + 6));
        const Gdiplus::RectF layout(x, y, w, h);
        const int shadowOffset = s.Px(1);
        if (!DrawShadowedText(*graphics, form.backgroundDc.Get(), title, font, format, layout,
                              ToArgb(form.titleShadowColour, 150, true), ToArgb(form.titleColour, 255, true),
                              shadowOffset)) {
            GdipSolidBrush shadow, face;
            shadow.CreateSolidFill(ToArgb(form.titleShadowColour, 150, true));
            face.CreateSolidFill(ToArgb(form.titleColour, 255, true));
            for (int distance = 1; distance <= shadowOffset; ++distance) {
                for (const auto& o : kShadowOffsets) {
                    graphics->DrawString(title, font, Gdiplus::RectF(x + o[0] * distance, y + o[1] * distance, w, h),
                                         format, shadow);
                }
            }
            graphics->DrawString(title, font, layout, format, face);
        }
    }
    if (graphics == &own) {
        own.DeleteGraphics();
        RECT part{0, 0, areaWidth, band};
        CopyBackgroundToWindow(form, &part);
    }
}


COLORREF DeriveImageColour(const ByteArray& image, int samples) {
    if (image.empty() || samples <= 0) return 0;
    const std::shared_ptr<const ImagePixels> pixels = DecodeImagePixels(image);
    if (!pixels) return 0;
    const int width = pixels->width, height = pixels->height;
    std::uint64_t red = 0, green = 0, blue = 0;
    for (int i = 0; i < samples; ++i) {
        // The generator is seeded again for every pick, from the pick's number,
        // so the same image always gives the same colour.
        std::uint32_t state = static_cast<std::uint32_t>(i) * 2654435761u + 0x9E3779B9u;
        state = state * 1103515245u + 12345u;
        const int x = 1 + static_cast<int>((state >> 8) % static_cast<std::uint32_t>(width));
        state = state * 1103515245u + 12345u;
        const int y = 1 + static_cast<int>((state >> 8) % static_cast<std::uint32_t>(height));
        const std::uint32_t pixel = pixels->argb[static_cast<std::size_t>(y - 1) * width + (x - 1)];
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    return RGB(static_cast<BYTE>(red / samples), static_cast<BYTE>(green / samples), static_cast<BYTE>(blue / samples));
}
