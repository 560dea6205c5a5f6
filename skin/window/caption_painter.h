// Layer skin/window: the windows that put the pieces together (forms'
// caption and frame, dialogs, panels, containers, the status strip, the
// dispatch of child windows to the control skins). It may include every
// layer below (skin/controls, skin/paint, skin/model), never the engine.
//
// Painting of a skinned form: the window region, the background DC that
// holds the whole client area (background, image, caption sheen, frame,
// title, caption buttons, status strip), the caption-button faces and the
// colour derived from a background image.
#pragma once

#include <windows.h>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"
#include "skin/paint/background_copy.h"
#include "skin/paint/shadowed_text.h"

class GdipGraphics;
class GdipImage;
class GdipFont;
class GdipStringFormat;

// Caption-button faces.
enum class ButtonFace { Normal, Hover, Pressed };

// Where the title starts within the caption band, at 96 DPI.
constexpr int kTitleX = 8;
constexpr int kTitleY = 8;

// Cuts the window's rounded region for its client size at the scale.
void SetFormRegion(HWND window, const DisplayScale& scale = DisplayScale());
// Lays the caption-button strip out at the right edge of the client area at
// the form's scale: strip position and size and every button's rectangle,
// in device pixels (what hit-testing and painting read). Call it whenever
// the client width, the buttons or the DPI change.
void LayOutCaptionStrip(FormSkin& form);
// Composes the whole client area into the form's background DC.
// paintDc: the DC of the WM_PAINT in progress, if any.
void RebuildBackground(FormSkin& form, const PaintContext& context, bool copyToWindow, HDC paintDc = nullptr);
// graphics is over dc.
// Drops the layers a rebuild reuses while the size and the look stay the same.
void ForgetLaidOutLayers(FormSkin& form);
void PaintBackground(GdipGraphics& graphics, HDC dc, FormSkin& form, const PaintContext& context);
void PaintFrame(GdipGraphics& graphics, const FormSkin& form);
// With graphics: inside a rebuild. Without: the title area is restored from
// the caption-band cache first and the result is shown. text null: the window's.
void PaintTitle(FormSkin& form, const PaintContext& context, GdipGraphics* graphics, const Text* text = nullptr);
// alpha 30..240 for the hover face. Without graphics the button's rectangle
// is copied to the window afterwards.
void PaintCaptionButton(FormSkin& form, const PaintContext& context, int button, GdipGraphics* graphics,
                        ButtonFace face, int alpha = 0);
// The average of `samples` pseudo-random pixels of the image; 0 when it does not load.
COLORREF DeriveImageColour(const ByteArray& image, int samples = 2000);
// A hash of image bytes, to tell whether an image changed.
std::size_t ImageBytesKey(const ByteArray& bytes);
// The decoded image for the bytes, decoded again only when the bytes change.
const GdipImage* DecodeCached(DecodedImage& cache, const ByteArray& bytes);
