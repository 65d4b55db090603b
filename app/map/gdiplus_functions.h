#pragma once
// The GDI+ functions the program calls, by their exported names: the map's
// and the skin's drawing through GDI+'s C++ classes come down to these. They
// are taken from gdiplus.dll in the system folder (startup/system_libraries)
// and reached through gdiplus_flat.cpp, never imported by name. A GDI+ call
// added to the program that is missing here shows up as an undefined
// reference when the program is linked.

#define TESSAREL_GDIPLUS_FUNCTIONS(X)                                                    \
  X(GdiplusStartup) X(GdiplusShutdown) X(GdipAlloc) X(GdipFree) X(GdipAddPathPolygon)    \
  X(GdipBitmapGetPixel) X(GdipCloneBrush) X(GdipCloneImage) X(GdipCreateBitmapFromFile)  \
  X(GdipCreateBitmapFromScan0) X(GdipCreateFromHDC) X(GdipCreatePath) X(GdipCreatePen1)  \
  X(GdipCreateSolidFill) X(GdipDeleteBrush) X(GdipDeleteGraphics) X(GdipDeletePath)      \
  X(GdipDeletePen) X(GdipDisposeImage) X(GdipDrawImageRectI) X(GdipDrawPath)             \
  X(GdipDrawPolygon) X(GdipFillPath) X(GdipFillPolygon) X(GdipFillRectangleI) X(GdipFlush) \
  X(GdipGetImageGraphicsContext) X(GdipGetImageHeight) X(GdipGetImageWidth)             \
  X(GdipSetSmoothingMode)

namespace tessarel {

enum class gdiplus_function : int {
#define TESSAREL_GDIPLUS_ID(name) name,
  TESSAREL_GDIPLUS_FUNCTIONS(TESSAREL_GDIPLUS_ID)
#undef TESSAREL_GDIPLUS_ID
      count
};

}  // namespace tessarel
