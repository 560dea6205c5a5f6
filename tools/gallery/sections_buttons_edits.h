// The gallery sections of the push buttons and of the edit and combo boxes.
#pragma once

#include <windows.h>

#include "tools/gallery/gallery_section.h"

// Control ids of the sections' controls (children of the gallery form).
enum GalleryButtonId : int {
    kGalleryPushButton = 1301,
    kGalleryDefaultButton,
    kGalleryDisabledButton,
    kGalleryImageTextButton,
    kGalleryFourImageButton,
    kGalleryOneImageButton,
};
enum GalleryEditId : int {
    kGallerySingleLineEdit = 1401,
    kGalleryMultiLineEdit,
    kGallerySimpleCombo,
    kGalleryDropDownCombo,
    kGalleryDropDownListCombo,
};

// Push, default and disabled buttons, and three buttons that become image
// buttons once the form is skinned (FinishButtonSection).
void AddButtonSection(HWND form, const RECT& area);
// Makes the section's image buttons: one image and a caption, four images,
// and four looks of which only the normal one has an image. Call after the
// form was skinned.
void FinishButtonSection(HWND form);
// Single- and multi-line edits with scroll bars, and the three combo styles.
void AddEditSection(HWND form, const RECT& area);
