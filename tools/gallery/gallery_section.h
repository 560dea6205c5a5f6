// The control gallery: one skinned form holding every control class the skin
// engine paints. Each control family adds its controls through one section
// function in a file of its own, so families can be added independently.
#pragma once

#include <windows.h>

// Creates one family's controls as children of `form` inside `area` (client
// coordinates of the form), before the form is skinned.
using GallerySection = void (*)(HWND form, const RECT& area);

struct GallerySectionEntry {
    const char* name;
    GallerySection create;
};
