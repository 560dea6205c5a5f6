// The GDI+ flat interface as the wrappers see it: the platform headers for
// the types, and a typed, lazily bound entry per flat function (gdiplus.dll is
// never linked directly). Only the wrapper sources include this file.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "runtime/external_function.h"

#define GDIP_FLAT(name) \
    inline ExternalFunction<decltype(Gdiplus::DllExports::name)> p##name{"gdiplus.dll", #name}

// Memory
GDIP_FLAT(GdipAlloc);
GDIP_FLAT(GdipFree);

// Graphics
GDIP_FLAT(GdipCreateFromHDC);
GDIP_FLAT(GdipCreateFromHDC2);
GDIP_FLAT(GdipCreateFromHWND);
GDIP_FLAT(GdipCreateFromHWNDICM);
GDIP_FLAT(GdipDeleteGraphics);
GDIP_FLAT(GdipFlush);
GDIP_FLAT(GdipGetImageGraphicsContext);
GDIP_FLAT(GdipGetDC);
GDIP_FLAT(GdipReleaseDC);
GDIP_FLAT(GdipSetCompositingMode);
GDIP_FLAT(GdipGetCompositingMode);
GDIP_FLAT(GdipSetCompositingQuality);
GDIP_FLAT(GdipGetCompositingQuality);
GDIP_FLAT(GdipSetInterpolationMode);
GDIP_FLAT(GdipGetInterpolationMode);
GDIP_FLAT(GdipSetSmoothingMode);
GDIP_FLAT(GdipGetSmoothingMode);
GDIP_FLAT(GdipSetPixelOffsetMode);
GDIP_FLAT(GdipGetPixelOffsetMode);
GDIP_FLAT(GdipSetTextRenderingHint);
GDIP_FLAT(GdipGetTextRenderingHint);
GDIP_FLAT(GdipSetWorldTransform);
GDIP_FLAT(GdipResetWorldTransform);
GDIP_FLAT(GdipTranslateWorldTransform);
GDIP_FLAT(GdipScaleWorldTransform);
GDIP_FLAT(GdipRotateWorldTransform);
GDIP_FLAT(GdipSetPageUnit);
GDIP_FLAT(GdipGetPageUnit);
GDIP_FLAT(GdipSetPageScale);
GDIP_FLAT(GdipGetPageScale);
GDIP_FLAT(GdipGetDpiX);
GDIP_FLAT(GdipGetDpiY);
GDIP_FLAT(GdipGraphicsClear);
GDIP_FLAT(GdipDrawLine);
GDIP_FLAT(GdipDrawLineI);
GDIP_FLAT(GdipDrawRectangle);
GDIP_FLAT(GdipDrawRectangleI);
GDIP_FLAT(GdipDrawEllipse);
GDIP_FLAT(GdipDrawEllipseI);
GDIP_FLAT(GdipDrawArc);
GDIP_FLAT(GdipDrawArcI);
GDIP_FLAT(GdipDrawPath);
GDIP_FLAT(GdipFillRectangle);
GDIP_FLAT(GdipFillRectangleI);
GDIP_FLAT(GdipFillEllipse);
GDIP_FLAT(GdipFillEllipseI);
GDIP_FLAT(GdipFillPath);
GDIP_FLAT(GdipFillRegion);
GDIP_FLAT(GdipDrawString);
GDIP_FLAT(GdipMeasureString);
GDIP_FLAT(GdipDrawImage);
GDIP_FLAT(GdipDrawImageI);
GDIP_FLAT(GdipDrawImageRect);
GDIP_FLAT(GdipDrawImageRectI);
GDIP_FLAT(GdipDrawImageRectRect);
GDIP_FLAT(GdipDrawImageRectRectI);
GDIP_FLAT(GdipSetClipPath);
GDIP_FLAT(GdipSetClipRect);
GDIP_FLAT(GdipSetClipRectI);
GDIP_FLAT(GdipSetClipRegion);
GDIP_FLAT(GdipSetClipHrgn);
GDIP_FLAT(GdipResetClip);
GDIP_FLAT(GdipGetClipBounds);
GDIP_FLAT(GdipSaveGraphics);
GDIP_FLAT(GdipRestoreGraphics);

// Path
GDIP_FLAT(GdipCreatePath);
GDIP_FLAT(GdipDeletePath);
GDIP_FLAT(GdipClonePath);
GDIP_FLAT(GdipResetPath);
GDIP_FLAT(GdipGetPathFillMode);
GDIP_FLAT(GdipSetPathFillMode);
GDIP_FLAT(GdipGetPointCount);
GDIP_FLAT(GdipGetPathPoints);
GDIP_FLAT(GdipGetPathTypes);
GDIP_FLAT(GdipStartPathFigure);
GDIP_FLAT(GdipClosePathFigure);
GDIP_FLAT(GdipClosePathFigures);
GDIP_FLAT(GdipAddPathLine);
GDIP_FLAT(GdipAddPathLineI);
GDIP_FLAT(GdipAddPathArc);
GDIP_FLAT(GdipAddPathArcI);
GDIP_FLAT(GdipAddPathRectangle);
GDIP_FLAT(GdipAddPathRectangleI);
GDIP_FLAT(GdipAddPathEllipse);
GDIP_FLAT(GdipAddPathEllipseI);
GDIP_FLAT(GdipAddPathPie);
GDIP_FLAT(GdipAddPathPolygon);
GDIP_FLAT(GdipAddPathPolygonI);
GDIP_FLAT(GdipAddPathPath);
GDIP_FLAT(GdipAddPathString);
GDIP_FLAT(GdipAddPathStringI);
GDIP_FLAT(GdipGetPathWorldBounds);
GDIP_FLAT(GdipIsVisiblePathPoint);

// Brushes
GDIP_FLAT(GdipDeleteBrush);
GDIP_FLAT(GdipCloneBrush);
GDIP_FLAT(GdipGetBrushType);
GDIP_FLAT(GdipCreateSolidFill);
GDIP_FLAT(GdipSetSolidFillColor);
GDIP_FLAT(GdipGetSolidFillColor);
GDIP_FLAT(GdipCreateLineBrush);
GDIP_FLAT(GdipCreateLineBrushI);
GDIP_FLAT(GdipCreateLineBrushFromRect);
GDIP_FLAT(GdipCreateLineBrushFromRectI);
GDIP_FLAT(GdipGetLineColors);
GDIP_FLAT(GdipSetLineColors);
GDIP_FLAT(GdipSetLinePresetBlend);
GDIP_FLAT(GdipGetLinePresetBlendCount);
GDIP_FLAT(GdipGetLinePresetBlend);
GDIP_FLAT(GdipSetLineBlend);
GDIP_FLAT(GdipGetLineBlendCount);
GDIP_FLAT(GdipGetLineBlend);
GDIP_FLAT(GdipSetLineSigmaBlend);
GDIP_FLAT(GdipSetLineLinearBlend);
GDIP_FLAT(GdipSetLineWrapMode);
GDIP_FLAT(GdipGetLineWrapMode);
GDIP_FLAT(GdipResetLineTransform);
GDIP_FLAT(GdipTranslateLineTransform);
GDIP_FLAT(GdipScaleLineTransform);
GDIP_FLAT(GdipRotateLineTransform);
GDIP_FLAT(GdipCreatePathGradient);
GDIP_FLAT(GdipCreatePathGradientI);
GDIP_FLAT(GdipCreatePathGradientFromPath);
GDIP_FLAT(GdipSetPathGradientCenterColor);
GDIP_FLAT(GdipGetPathGradientCenterColor);
GDIP_FLAT(GdipGetPathGradientPointCount);
GDIP_FLAT(GdipGetPathGradientSurroundColorCount);
GDIP_FLAT(GdipSetPathGradientSurroundColorsWithCount);
GDIP_FLAT(GdipGetPathGradientSurroundColorsWithCount);
GDIP_FLAT(GdipSetPathGradientCenterPoint);
GDIP_FLAT(GdipGetPathGradientCenterPoint);
GDIP_FLAT(GdipResetPathGradientTransform);
GDIP_FLAT(GdipTranslatePathGradientTransform);
GDIP_FLAT(GdipScalePathGradientTransform);
GDIP_FLAT(GdipRotatePathGradientTransform);

// Pen
GDIP_FLAT(GdipCreatePen1);
GDIP_FLAT(GdipCreatePen2);
GDIP_FLAT(GdipDeletePen);
GDIP_FLAT(GdipClonePen);
GDIP_FLAT(GdipSetPenWidth);
GDIP_FLAT(GdipGetPenWidth);
GDIP_FLAT(GdipSetPenColor);
GDIP_FLAT(GdipGetPenColor);
GDIP_FLAT(GdipSetPenDashStyle);
GDIP_FLAT(GdipGetPenDashStyle);
GDIP_FLAT(GdipSetPenLineJoin);
GDIP_FLAT(GdipGetPenLineJoin);
GDIP_FLAT(GdipGetPenDashCount);
GDIP_FLAT(GdipGetPenDashArray);
GDIP_FLAT(GdipSetPenDashArray);
GDIP_FLAT(GdipResetPenTransform);
GDIP_FLAT(GdipTranslatePenTransform);
GDIP_FLAT(GdipScalePenTransform);
GDIP_FLAT(GdipRotatePenTransform);

// String format
GDIP_FLAT(GdipCreateStringFormat);
GDIP_FLAT(GdipDeleteStringFormat);
GDIP_FLAT(GdipCloneStringFormat);
GDIP_FLAT(GdipStringFormatGetGenericDefault);
GDIP_FLAT(GdipStringFormatGetGenericTypographic);
GDIP_FLAT(GdipSetStringFormatFlags);
GDIP_FLAT(GdipGetStringFormatFlags);
GDIP_FLAT(GdipSetStringFormatAlign);
GDIP_FLAT(GdipGetStringFormatAlign);
GDIP_FLAT(GdipSetStringFormatLineAlign);
GDIP_FLAT(GdipGetStringFormatLineAlign);
GDIP_FLAT(GdipSetStringFormatTrimming);
GDIP_FLAT(GdipGetStringFormatTrimming);
GDIP_FLAT(GdipSetStringFormatHotkeyPrefix);
GDIP_FLAT(GdipGetStringFormatHotkeyPrefix);

// Fonts
GDIP_FLAT(GdipCreateFont);
GDIP_FLAT(GdipDeleteFont);
GDIP_FLAT(GdipCloneFont);
GDIP_FLAT(GdipCreateFontFromDC);
GDIP_FLAT(GdipCreateFontFromLogfontA);
GDIP_FLAT(GdipCreateFontFromLogfontW);
GDIP_FLAT(GdipGetLogFontA);
GDIP_FLAT(GdipGetLogFontW);
GDIP_FLAT(GdipGetFamily);
GDIP_FLAT(GdipGetFontStyle);
GDIP_FLAT(GdipGetFontSize);
GDIP_FLAT(GdipGetFontUnit);
GDIP_FLAT(GdipGetFontHeight);
GDIP_FLAT(GdipGetFontHeightGivenDPI);
GDIP_FLAT(GdipCreateFontFamilyFromName);
GDIP_FLAT(GdipDeleteFontFamily);
GDIP_FLAT(GdipCloneFontFamily);
GDIP_FLAT(GdipGetGenericFontFamilySansSerif);
GDIP_FLAT(GdipGetGenericFontFamilySerif);
GDIP_FLAT(GdipGetGenericFontFamilyMonospace);
GDIP_FLAT(GdipGetFamilyName);
GDIP_FLAT(GdipIsStyleAvailable);
GDIP_FLAT(GdipGetEmHeight);
GDIP_FLAT(GdipGetCellAscent);
GDIP_FLAT(GdipGetCellDescent);
GDIP_FLAT(GdipGetLineSpacing);
GDIP_FLAT(GdipGetFontCollectionFamilyCount);
GDIP_FLAT(GdipGetFontCollectionFamilyList);
GDIP_FLAT(GdipNewInstalledFontCollection);

// Images and bitmaps
GDIP_FLAT(GdipDisposeImage);
GDIP_FLAT(GdipLoadImageFromFile);
GDIP_FLAT(GdipLoadImageFromFileICM);
GDIP_FLAT(GdipLoadImageFromStream);
GDIP_FLAT(GdipLoadImageFromStreamICM);
GDIP_FLAT(GdipCloneImage);
GDIP_FLAT(GdipSaveImageToFile);
GDIP_FLAT(GdipSaveImageToStream);
GDIP_FLAT(GdipGetEncoderParameterListSize);
GDIP_FLAT(GdipGetEncoderParameterList);
GDIP_FLAT(GdipGetImageEncodersSize);
GDIP_FLAT(GdipGetImageEncoders);
GDIP_FLAT(GdipGetImageType);
GDIP_FLAT(GdipGetImageDimension);
GDIP_FLAT(GdipGetImageBounds);
GDIP_FLAT(GdipGetImageWidth);
GDIP_FLAT(GdipGetImageHeight);
GDIP_FLAT(GdipGetImageHorizontalResolution);
GDIP_FLAT(GdipGetImageVerticalResolution);
GDIP_FLAT(GdipGetImageFlags);
GDIP_FLAT(GdipGetImageRawFormat);
GDIP_FLAT(GdipGetImagePixelFormat);
GDIP_FLAT(GdipGetImagePaletteSize);
GDIP_FLAT(GdipGetImagePalette);
GDIP_FLAT(GdipImageGetFrameCount);
GDIP_FLAT(GdipImageRotateFlip);
GDIP_FLAT(GdipGetPropertyCount);
GDIP_FLAT(GdipGetPropertyIdList);
GDIP_FLAT(GdipGetPropertyItemSize);
GDIP_FLAT(GdipGetPropertyItem);
GDIP_FLAT(GdipCreateBitmapFromFile);
GDIP_FLAT(GdipCreateBitmapFromFileICM);
GDIP_FLAT(GdipCreateBitmapFromStream);
GDIP_FLAT(GdipCreateBitmapFromStreamICM);
GDIP_FLAT(GdipCreateBitmapFromScan0);
GDIP_FLAT(GdipCreateBitmapFromGraphics);
GDIP_FLAT(GdipCreateBitmapFromHBITMAP);
GDIP_FLAT(GdipCreateBitmapFromHICON);
GDIP_FLAT(GdipCreateHBITMAPFromBitmap);
GDIP_FLAT(GdipCreateHICONFromBitmap);
GDIP_FLAT(GdipCloneBitmapArea);
GDIP_FLAT(GdipCloneBitmapAreaI);
GDIP_FLAT(GdipBitmapGetPixel);
GDIP_FLAT(GdipBitmapSetPixel);
GDIP_FLAT(GdipBitmapSetResolution);
GDIP_FLAT(GdipBitmapLockBits);
GDIP_FLAT(GdipBitmapUnlockBits);

// Matrix (RotateCopy)
GDIP_FLAT(GdipCreateMatrix);
GDIP_FLAT(GdipDeleteMatrix);
GDIP_FLAT(GdipTranslateMatrix);
GDIP_FLAT(GdipRotateMatrix);

// Region
GDIP_FLAT(GdipCreateRegion);
GDIP_FLAT(GdipCreateRegionRect);
GDIP_FLAT(GdipCreateRegionRectI);
GDIP_FLAT(GdipCreateRegionPath);
GDIP_FLAT(GdipCreateRegionHrgn);
GDIP_FLAT(GdipDeleteRegion);
GDIP_FLAT(GdipCloneRegion);
GDIP_FLAT(GdipSetInfinite);
GDIP_FLAT(GdipSetEmpty);
GDIP_FLAT(GdipCombineRegionRect);
GDIP_FLAT(GdipCombineRegionRectI);
GDIP_FLAT(GdipCombineRegionRegion);
GDIP_FLAT(GdipCombineRegionPath);
GDIP_FLAT(GdipTranslateRegion);
GDIP_FLAT(GdipGetRegionBounds);
GDIP_FLAT(GdipGetRegionHRgn);
GDIP_FLAT(GdipIsEmptyRegion);
GDIP_FLAT(GdipIsInfiniteRegion);
GDIP_FLAT(GdipIsVisibleRegionPoint);
GDIP_FLAT(GdipGetRegionScansCount);
GDIP_FLAT(GdipGetRegionScans);

#undef GDIP_FLAT
