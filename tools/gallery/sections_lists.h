// The gallery sections of the list boxes, the list and tree views and the
// free-standing headers (second page).
#pragma once

#include <windows.h>

// Control ids of the sections' controls (children of the gallery form).
enum GalleryListId : int {
    kGalleryScrollList = 1501,
    kGalleryPlainList,
    kGalleryListCombo,
    kGalleryAddress,
    kGalleryDatePicker,
    kGalleryReportView,
    kGalleryTreeView,
    kGalleryClickableHeader,
    kGalleryImageHeader,
    kGalleryStaticHeader,
    kGalleryEmptyHeader,
};

// The long title of the report view's third column, cut with an ellipsis.
inline constexpr char kGalleryLongColumnTitle[] = "一个很长很长的列标题文字";
// The colour of the header image (a filled square with a dark edge).
inline constexpr COLORREF kGalleryHeaderImageColour = RGB(230, 40, 40);

// A list box with a vertical scroll bar, a short one without, a drop-down
// list combo, an IP-address and a date-time picker.
void AddListSection(HWND form, const RECT& area);
// A report-style list view with three columns and an expanded tree view.
void AddViewSection(HWND form, const RECT& area);
// Free-standing headers: clickable, with an image, not clickable, empty.
void AddHeaderSection(HWND form, const RECT& area);
