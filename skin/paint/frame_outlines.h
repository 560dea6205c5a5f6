// The outlines of a skinned window's frame: a dark rounded outline at the
// edge and a white one inside it. Laid from stamps kept per radius and alpha
// into 32-bit DIBs (only the outline's own pixels are touched), stroked
// through GDI+ elsewhere.
#pragma once

#include <windows.h>

class GdipGraphics;

// A window's frame: a dark rounded outline at the edge of a width x height
// area and a white one (alpha 180) just inside it, each lineWidth device
// pixels wide (the graphics' world transform is not applied). Into a 32-bit
// DIB the outline's pixels are written directly; elsewhere they are stroked.
void DrawFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                       int darkAlpha, int lineWidth = 1);
enum class FrameOutlines { Dark, Light, Both };
// The same outlines stroked through GDI+, one or both.
void StrokeFrameOutlines(GdipGraphics& graphics, int width, int height, int outerRadius, int innerRadius,
                         int darkAlpha, FrameOutlines which, int lineWidth = 1);
