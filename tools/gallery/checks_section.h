// The gallery section of the check boxes and radio buttons.
#pragma once

#include <windows.h>

// Control ids of the section's controls (children of the gallery form).
enum GalleryCheckId : int {
    kGalleryCheckSmall = 2101,  // ticked, 13 pixels high
    kGalleryCheckTall,          // empty, taller than its box
    kGalleryRadioOne,           // selected
    kGalleryRadioTwo,
    kGalleryDisabledCheck,
    kGalleryDisabledRadio,
    kGalleryOwnLookGroup,
    // In that group: the first two keep their own look.
    kGalleryThreeState,  // BS_3STATE
    kGalleryPlainRadio,  // BS_RADIOBUTTON
    kGalleryGroupCheck,  // skinned through the group's panel
};

// Automatic check boxes of two heights, two automatic radio buttons, a
// disabled check box and radio button, and a group box holding a three-state
// check box, a plain radio button and an automatic check box. (An automatic radio button keeps no
// indeterminate state: BM_SETCHECK 2 selects it.)
void AddChecksSection(HWND form, const RECT& area);
