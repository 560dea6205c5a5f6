// Platform types of GDI+ (status codes, geometry, pixel formats, the opaque
// object types) for the wrapper headers. The flat functions themselves are
// reached only through gdip/gdip_api.h inside the wrapper sources.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>

// GDI+ pixel formats the program names.
constexpr Gdiplus::PixelFormat kPixelFormat32bppArgb = PixelFormat32bppARGB;  // 0x26200A
constexpr Gdiplus::PixelFormat kPixelFormat8bppIndexed = PixelFormat8bppIndexed;
