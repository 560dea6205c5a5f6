// GDI+ for the wrapper tests: started once for the test program through the
// external function table, and helpers shared by the test files.
#pragma once

#include <windows.h>

#include <string>

#include "gdip/bitmap.h"
#include "runtime/value_types.h"

// Alpha, red, green, blue of an ARGB value.
struct Argb {
    int a, r, g, b;
};
inline Argb SplitArgb(Gdiplus::ARGB c) {
    return {static_cast<int>(c >> 24), static_cast<int>((c >> 16) & 255), static_cast<int>((c >> 8) & 255),
            static_cast<int>(c & 255)};
}

// A unique path in the temporary directory (not created).
std::string TempPath(const std::string& name);
ByteArray ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
