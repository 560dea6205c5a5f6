// The streams images made from bytes read from. GDI+ may read an image's
// source stream for as long as the image lives, and a create member leaves
// the image it replaces alive, so a stream stays here, keyed by every native
// image that reads it, until that image is disposed through the wrappers.
// (An image the caller disposes through the flat API keeps its bytes until
// the program ends.)
#pragma once

#include <memory>

#include "gdip/gdip_types.h"
#include "gdip/memory_stream.h"

void KeepStreamForImage(Gdiplus::GpImage* image, std::shared_ptr<MemoryStream> stream);
// Disposes the image and lets go of the stream kept for it.
Gdiplus::GpStatus DisposeImageAndStream(Gdiplus::GpImage* image);
