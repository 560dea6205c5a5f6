// Layer skin/window. What the caption painter and the caption buttons share:
// the graphics quality they paint with, the caption-band cache they restore
// from, vertical gradients over a shape, and images decoded once.
#pragma once

#include <windows.h>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"
#include "skin/model/form_skin_data.h"

class GdipGraphics;
class GdipImage;
class GdipPath;

namespace caption {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kRed = RGB(255, 0, 0);
// Gradients over a shape exactly their length: mirrored tiling keeps the
// last row from wrapping round to the first colour.
constexpr int kWrapTileFlipXY = 3;

void ClientSize(HWND window, int& width, int& height);
// Graphics over a DC with the quality every skin painter uses.
void PrepareGraphics(GdipGraphics& graphics, HDC dc);
// Copies an area of the cache back into the form's background DC.
void RestoreFromCache(const FormSkin& form, const OffscreenDc& cache, int x, int y, int width, int height);
// Fills the shape with a vertical gradient from `top` over `height`.
void FillVertical(GdipGraphics& graphics, const GdipPath& shape, float top, float height, Gdiplus::ARGB from,
                  Gdiplus::ARGB to);
// Whether the cache holds a bitmap of exactly this size.
bool HasSize(const OffscreenDc& cache, int width, int height);

}  // namespace caption

// The decoded image for the bytes, decoded again only when the bytes change.
const GdipImage* DecodeCached(DecodedImage& cache, const ByteArray& bytes);
