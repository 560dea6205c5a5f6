// Background images decoded once into 32-bit ARGB pixels and laid out into a
// DC by direct computation, giving the pixels GDI+ gives for DrawImage with
// bilinear interpolation (source point = destination point x scale, the four
// neighbours blended by their alpha). Under Wine, GDI+ needs about 20 ms to
// scale the 1024 x 768 background onto the main window; this takes about a
// quarter of one. Also the direct pixel access the other painters share, and
// images laid from a layer GDI+ drew once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/value_types.h"

class GdipGraphics;
class GdipImage;

struct ImagePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // top-down rows, not premultiplied
    bool opaque = true;
};

// The pixels of a PNG, JPEG or other image file; null when the bytes do not
// load. The last images decoded are kept, so deriving a colour from an image
// and painting it decode it once.
std::shared_ptr<const ImagePixels> DecodeImagePixels(const ByteArray& bytes);

// The bits of the 32-bit top-down DIB selected into the DC, when it is one
// at least width x height in size (pitch in pixels); null for any other DC.
std::uint32_t* DirectDibBits(HDC dc, int width, int height, std::ptrdiff_t& pitch);

// A hash of the bytes, to tell whether an image changed.
std::size_t HashBytes(const ByteArray& bytes);

// A premultiplied pixel over another, every channel rounded as GDI's
// per-pixel-alpha blend (which GDI+ blends its translucent drawing with) rounds it.
std::uint32_t BlendPremultipliedOver(std::uint32_t below, std::uint32_t above);

// Fills the area with an opaque colour when the DC draws into a 32-bit
// top-down DIB, writing its bits directly (the pixels GDI+ writes for an
// opaque fill). False, with nothing done, for any other DC.
bool FillOpaqueDirect(HDC dc, int width, int height, COLORREF colour);

// Whether the image, drawn at (x, y, width, height), leaves no pixel of the
// area uncovered or translucent.
bool CoversOpaquely(const ImagePixels& image, int areaWidth, int areaHeight, int x, int y, int width, int height);

// Lays white over the top `rows` rows of a 32-bit top-down DIB's DC, alphaTop
// at row 0 fading linearly to 0 at row `length`: the pixels GDI+ gives for a
// vertical linear gradient brush from white alphaTop to white 0 over
// `length` rows. False, with nothing done, for any other DC.
bool FadeWhiteDownDirect(HDC dc, int width, int rows, int length, int alphaTop);

// Draws the image stretched to (x, y, width, height) into a DC whose drawable
// area is areaWidth x areaHeight, clipped to that area, blended over what the
// DC holds. False when nothing could be drawn.
bool DrawImagePixels(HDC dc, int areaWidth, int areaHeight, const ImagePixels& image, int x, int y, int width,
                     int height);

// Draws the image at its natural size at (x, y) over the DC that the graphics
// draws into, as the graphics would draw it, from a layer kept per image key
// and drawing mode: GDI+ draws each image once. False, with nothing done,
// when the point is not integral, the graphics clips or the DC holds no
// 32-bit top-down DIB.
bool LayImage(GdipGraphics& graphics, HDC dc, const GdipImage& image, std::size_t imageKey, float x, float y);
// The same with the image drawn at width x height (the layer is kept per size too).
bool LayImage(GdipGraphics& graphics, HDC dc, const GdipImage& image, std::size_t imageKey, float x, float y,
              int width, int height);
