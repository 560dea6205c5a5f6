// Labels: text (with an "&" shown as it is), bitmaps placed top-left,
// centred and stretched, an icon, and an empty label.
#include "runtime/win_handles.h"
#include "tools/gallery/gallery_form.h"

namespace {

constexpr int kImageWidth = 24;
constexpr int kImageHeight = 16;

// A small bitmap: red on the left half, blue on the right.
HBITMAP MakeImage() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kImageWidth;
    info.bmiHeader.biHeight = -kImageHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < kImageHeight; ++y) {
        for (int x = 0; x < kImageWidth; ++x) pixels[y * kImageWidth + x] = x < kImageWidth / 2 ? 0x00FF0000 : 0x000000FF;
    }
    return bitmap.Release();
}

void BitmapStatic(HWND form, const RECT& area, DWORD placement, int x, int y, int w, int h) {
    HWND control = MakeGalleryControl(form, "Static", "", SS_BITMAP | placement | WS_BORDER, area.left + x,
                                      area.top + y, w, h);
    HBITMAP image = MakeImage();
    GiveImageToGallery(control, image);
    ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

}  // namespace

void AddStaticSection(HWND form, const RECT& area) {
    MakeGalleryControl(form, "Static", "下载地址: http://h/a?x=1&y=2", SS_LEFT | SS_NOPREFIX, area.left,
                       area.top, 230, 16);
    MakeGalleryControl(form, "Static", "正在下载: Norvane.exe", SS_LEFT | SS_NOPREFIX, area.left, area.top + 22, 230,
                       16);
    BitmapStatic(form, area, 0, 0, 50, 60, 44);
    BitmapStatic(form, area, SS_CENTERIMAGE, 70, 50, 60, 44);
    BitmapStatic(form, area, SS_REALSIZECONTROL, 140, 50, 60, 44);
    HWND icon = MakeGalleryControl(form, "Static", "", SS_ICON, area.left, area.top + 110, 32, 32);
    ::SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_INFORMATION)), 0);
    MakeGalleryControl(form, "Static", "", SS_LEFT | SS_NOPREFIX | WS_BORDER, area.left + 50, area.top + 116, 150,
                       18);
}
