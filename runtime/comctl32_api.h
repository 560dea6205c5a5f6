// The common-control functions the program uses, bound through the external
// function table: comctl32.dll is no static import, which the system would
// look for beside the program before WinMain could restrict the search.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "runtime/external_function.h"

inline ExternalFunction<decltype(::InitCommonControlsEx)> pInitCommonControlsEx{"comctl32.dll",
                                                                                 "InitCommonControlsEx"};
inline ExternalFunction<decltype(::ImageList_GetIcon)> pImageList_GetIcon{"comctl32.dll", "ImageList_GetIcon"};
