#include "gdip/gdip_object.h"

#include "gdip/gdip_api.h"
#include "gdip/image_streams.h"

thread_local int GdipLastStatus = 0;

template <> void GdipFontTraits::Close(Handle h) { pGdipDeleteFont(h); }
template <> void GdipFontFamilyTraits::Close(Handle h) { pGdipDeleteFontFamily(h); }
template <> void GdipGraphicsTraits::Close(Handle h) { pGdipDeleteGraphics(h); }
template <> void GdipPathTraits::Close(Handle h) { pGdipDeletePath(h); }
template <> void GdipBrushTraits::Close(Handle h) { pGdipDeleteBrush(h); }
template <> void GdipPenTraits::Close(Handle h) { pGdipDeletePen(h); }
template <> void GdipStringFormatTraits::Close(Handle h) { pGdipDeleteStringFormat(h); }
template <> void GdipImageTraits::Close(Handle h) { DisposeImageAndStream(h); }
template <> void GdipRegionTraits::Close(Handle h) { pGdipDeleteRegion(h); }
template <> void GdipFontCollectionTraits::Close(Handle) {}

void* GdipAllocate(std::size_t size) { return pGdipAlloc(size); }
void GdipRelease(void* pointer) { pGdipFree(pointer); }
