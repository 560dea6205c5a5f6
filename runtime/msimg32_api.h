// Alpha and colour-keyed blits, bound through the external function table:
// msimg32.dll is no static import, which the system would look for beside the
// program before WinMain could restrict the search.
#pragma once

#include <windows.h>

#include "runtime/external_function.h"

inline ExternalFunction<decltype(::AlphaBlend)> pAlphaBlend{"msimg32.dll", "AlphaBlend"};
inline ExternalFunction<decltype(::TransparentBlt)> pTransparentBlt{"msimg32.dll", "TransparentBlt"};
