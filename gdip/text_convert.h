// Texts (GBK, the ANSI code page) to the UTF-16 strings GDI+ takes and back.
#pragma once

#include <cwchar>

#include "runtime/value_types.h"

// A terminated wide string in a ByteArray; empty for an empty text.
ByteArray ToWide(const Text& text);
// The wide string's bytes for a flat call: null for an empty array.
const wchar_t* WidePointer(const ByteArray& wide);
// Length in wide characters (lstrlenW); 0 for an empty array.
int WideLength(const ByteArray& wide);
// A terminated wide string back to a text, through the OEM code page.
Text FromWide(const wchar_t* wide);
