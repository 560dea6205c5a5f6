#include <windows.h>

#include "gdip/bitmap.h"
#include "gdip/brush.h"
#include "gdip/encoders.h"
#include "gdip/graphics.h"
#include "resources/embedded_images.h"
#include "skin/skin_engine.h"
#include "tools/gallery/sections_buttons_edits.h"

namespace {

HWND AddButton(HWND form, int id, const char* text, DWORD style, int x, int y, int width, int height) {
    HWND button = ::CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width, height,
                                    form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

// A square of one colour with a darker ring, as a PNG file image.
ByteArray SquareImage(int size, COLORREF fill) {
    GdipBitmap bitmap;
    bitmap.CreateBitmapFromScan0(size, size, kPixelFormat32bppArgb);
    {
        GdipGraphics graphics;
        graphics.GetImageGraphicsContext(bitmap);
        GdipSolidBrush ring, inner;
        ring.CreateSolidFill(0xFF303030);
        inner.CreateSolidFill(0xFF000000 | (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill));
        graphics.FillRectangleI(ring, 0, 0, size, size);
        graphics.FillRectangleI(inner, 2, 2, size - 4, size - 4);
    }
    return bitmap.SaveImageToStream(kImageFormatPng);
}

}  // namespace

void AddButtonSection(HWND form, const RECT& area) {
    const int x = area.left, y = area.top;
    // Three buttons across the 250-pixel cell.
    AddButton(form, kGalleryPushButton, "确定", BS_PUSHBUTTON, x, y, 76, 26);
    AddButton(form, kGalleryDefaultButton, "默认按钮", BS_DEFPUSHBUTTON, x + 84, y, 76, 26);
    HWND disabled = AddButton(form, kGalleryDisabledButton, "禁用", BS_PUSHBUTTON, x + 168, y, 76, 26);
    ::EnableWindow(disabled, FALSE);
    AddButton(form, kGalleryImageTextButton, "图片", BS_PUSHBUTTON, x, y + 36, 76, 26);
    AddButton(form, kGalleryFourImageButton, "", BS_PUSHBUTTON, x + 84, y + 36, 26, 26);
    AddButton(form, kGalleryOneImageButton, "", BS_PUSHBUTTON, x + 120, y + 36, 26, 26);
}

void FinishButtonSection(HWND form) {
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine) return;
    engine->MakeImageButton(::GetDlgItem(form, kGalleryImageTextButton),
                            {EmbeddedImageBytes(EmbeddedImage::CheckBoxOn)}, 0, Text());
    engine->MakeImageButton(::GetDlgItem(form, kGalleryFourImageButton),
                            {SquareImage(22, RGB(90, 140, 220)), SquareImage(22, RGB(34, 202, 221)),
                             SquareImage(22, RGB(20, 60, 120)), SquareImage(22, RGB(170, 170, 170))},
                            0, Text());
    engine->MakeImageButton(::GetDlgItem(form, kGalleryOneImageButton),
                            {SquareImage(22, RGB(220, 120, 60)), ByteArray(), ByteArray(), ByteArray()}, 0, Text());
}
