// Layer skin/window. The caption buttons of a skinned form: the strip laid
// out at the right edge of the caption band, and each button's faces
// (normal, hover fade, pressed) painted into the form's background DC.
#pragma once

#include "skin/model/form_skin_data.h"
#include "skin/model/skin_state.h"

class GdipGraphics;

// Caption-button faces.
enum class ButtonFace { Normal, Hover, Pressed };

// Lays the caption-button strip out at the right edge of the client area at
// the form's scale: strip position and size and every button's rectangle,
// in device pixels (what hit-testing and painting read). Call it whenever
// the client width, the buttons or the DPI change.
void LayOutCaptionStrip(FormSkin& form);
// alpha 30..240 for the hover face. Without graphics the button's rectangle
// is copied to the window afterwards.
void PaintCaptionButton(FormSkin& form, const PaintContext& context, int button, GdipGraphics* graphics,
                        ButtonFace face, int alpha = 0);
