// Layer skin/window: the windows that put the pieces together (forms'
// caption and frame, dialogs, panels, containers, the status strip, the
// dispatch of child windows to the control skins). It may include every
// layer below (skin/controls, skin/paint, skin/model), never the engine.
//
// Painting of a skinned form: the window region, the background DC that
// holds the whole client area (background, image, caption sheen, frame,
// title, caption buttons, status strip) and the colour derived from a
// background image. The caption buttons are laid out and painted by
// caption_buttons.
#pragma once

#include <windows.h>

#include "gdip/gdip_types.h"
#include "runtime/value_types.h"
#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"
#include "skin/paint/background_copy.h"
#include "skin/paint/shadowed_text.h"
#include "skin/window/caption_buttons.h"
#include "skin/window/caption_parts.h"

class GdipGraphics;
class GdipImage;
class GdipFont;
class GdipStringFormat;

// Where the title starts within the caption band, at 96 DPI.
constexpr int kTitleX = 8;
constexpr int kTitleY = 8;

// Cuts the window's rounded region for its client size at the scale.
void SetFormRegion(HWND window, const DisplayScale& scale = DisplayScale());
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
// The average of `samples` pseudo-random pixels of the image; 0 when it does not load.
COLORREF DeriveImageColour(const ByteArray& image, int samples = 2000);
// A hash of image bytes, to tell whether an image changed.
std::size_t ImageBytesKey(const ByteArray& bytes);
