#include "gdip/gdip_object.h"

#include "gdip/gdip_api.h"

int GdipLastStatus = 0;

void GdipFontTraits::Close(Handle h) { pGdipDeleteFont(h); }
void GdipFontFamilyTraits::Close(Handle h) { pGdipDeleteFontFamily(h); }
void GdipGraphicsTraits::Close(Handle h) { pGdipDeleteGraphics(h); }
void GdipPathTraits::Close(Handle h) { pGdipDeletePath(h); }
void GdipBrushTraits::Close(Handle h) { pGdipDeleteBrush(h); }
void GdipPenTraits::Close(Handle h) { pGdipDeletePen(h); }
void GdipStringFormatTraits::Close(Handle h) { pGdipDeleteStringFormat(h); }
void GdipImageTraits::Close(Handle h) { pGdipDisposeImage(h); }
void GdipRegionTraits::Close(Handle h) { pGdipDeleteRegion(h); }

void* GdipAllocate(std::size_t size) { return pGdipAlloc(size); }
void GdipRelease(void* pointer) { pGdipFree(pointer); }
