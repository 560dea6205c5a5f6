// The control gallery's form: one skinned window holding every control class
// the skin engine paints, made by the registered sections.
#pragma once

#include <windows.h>

#include <vector>

#include "tools/gallery/gallery_section.h"

class SkinEngine;

// The gallery has pages of up to six sections (one form each, the size of
// the first); the second page holds the controls added after the first.
int GalleryPageCount();

// The registered sections of a 0-based page, in the order their areas are
// laid out; empty for a page that does not exist.
const std::vector<GallerySectionEntry>& GallerySections(int page = 0);

// Makes the form of one gallery page (hidden), runs every section in its own
// area and skins the form and its controls with the engine; the caller shows
// and destroys it. Null when the window cannot be made.
HWND CreateGalleryForm(SkinEngine& engine, int page = 0);

// The area a section is given, by its 0-based place in the list.
RECT GallerySectionArea(int place);

// The gallery keeps the image and deletes it with the form (a static
// control does not own the bitmap it is given).
void GiveImageToGallery(HWND control, HBITMAP image);

// A child control of the gallery in the default GUI font.
HWND MakeGalleryControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                        int height, DWORD exStyle = 0);
