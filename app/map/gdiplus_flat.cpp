// GDI+'s exported functions as its C++ classes call them, each passed on to
// the same function of gdiplus.dll loaded from the system folder. Defining
// them here keeps gdiplus.dll out of the program's import table, so Windows
// never looks for it beside the program.

#include "map/gdiplus_api.h"
#include "startup/system_libraries.h"

namespace Gdiplus {
namespace {

template <class Function>
Function entry(tessarel::gdiplus_function id) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(tessarel::gdiplus_library().entry(id)));
}

}  // namespace

#define TESSAREL_PASS_ON(result, name, parameters, arguments)                        \
  result WINGDIPAPI name parameters {                                                  \
    return entry<decltype(&name)>(tessarel::gdiplus_function::name) arguments;        \
  }

extern "C" {

TESSAREL_PASS_ON(GpStatus, GdiplusStartup,
                 (ULONG_PTR * token, GDIPCONST GdiplusStartupInput* input,
                  GdiplusStartupOutput* output),
                 (token, input, output))
TESSAREL_PASS_ON(VOID, GdiplusShutdown, (ULONG_PTR token), (token))

}  // extern "C"

namespace DllExports {
extern "C" {

TESSAREL_PASS_ON(VOID*, GdipAlloc, (size_t size), (size))
TESSAREL_PASS_ON(VOID, GdipFree, (VOID * memory), (memory))
TESSAREL_PASS_ON(GpStatus, GdipAddPathPolygon,
                 (GpPath * path, GDIPCONST GpPointF* points, INT count), (path, points, count))
TESSAREL_PASS_ON(GpStatus, GdipBitmapGetPixel, (GpBitmap * bitmap, INT x, INT y, ARGB* colour),
                 (bitmap, x, y, colour))
TESSAREL_PASS_ON(GpStatus, GdipCloneBrush, (GpBrush * brush, GpBrush** clone), (brush, clone))
TESSAREL_PASS_ON(GpStatus, GdipCloneImage, (GpImage * image, GpImage** clone), (image, clone))
TESSAREL_PASS_ON(GpStatus, GdipCreateBitmapFromFile,
                 (GDIPCONST WCHAR* file_name, GpBitmap** bitmap), (file_name, bitmap))
TESSAREL_PASS_ON(GpStatus, GdipCreateBitmapFromScan0,
                 (INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                  GpBitmap** bitmap),
                 (width, height, stride, format, scan0, bitmap))
TESSAREL_PASS_ON(GpStatus, GdipCreateFromHDC, (HDC dc, GpGraphics** graphics), (dc, graphics))
TESSAREL_PASS_ON(GpStatus, GdipCreatePath, (GpFillMode mode, GpPath** path), (mode, path))
TESSAREL_PASS_ON(GpStatus, GdipCreatePen1, (ARGB colour, REAL width, GpUnit unit, GpPen** pen),
                 (colour, width, unit, pen))
TESSAREL_PASS_ON(GpStatus, GdipCreateSolidFill, (ARGB colour, GpSolidFill** fill),
                 (colour, fill))
TESSAREL_PASS_ON(GpStatus, GdipDeleteBrush, (GpBrush * brush), (brush))
TESSAREL_PASS_ON(GpStatus, GdipDeleteGraphics, (GpGraphics * graphics), (graphics))
TESSAREL_PASS_ON(GpStatus, GdipDeletePath, (GpPath * path), (path))
TESSAREL_PASS_ON(GpStatus, GdipDeletePen, (GpPen * pen), (pen))
TESSAREL_PASS_ON(GpStatus, GdipDisposeImage, (GpImage * image), (image))
TESSAREL_PASS_ON(GpStatus, GdipDrawImageRectI,
                 (GpGraphics * graphics, GpImage* image, INT x, INT y, INT width, INT height),
                 (graphics, image, x, y, width, height))
TESSAREL_PASS_ON(GpStatus, GdipDrawPath, (GpGraphics * graphics, GpPen* pen, GpPath* path),
                 (graphics, pen, path))
TESSAREL_PASS_ON(GpStatus, GdipDrawPolygon,
                 (GpGraphics * graphics, GpPen* pen, GDIPCONST GpPointF* points, INT count),
                 (graphics, pen, points, count))
TESSAREL_PASS_ON(GpStatus, GdipFillPath, (GpGraphics * graphics, GpBrush* brush, GpPath* path),
                 (graphics, brush, path))
TESSAREL_PASS_ON(GpStatus, GdipFillPolygon,
                 (GpGraphics * graphics, GpBrush* brush, GDIPCONST GpPointF* points, INT count,
                  GpFillMode mode),
                 (graphics, brush, points, count, mode))
TESSAREL_PASS_ON(GpStatus, GdipFillRectangleI,
                 (GpGraphics * graphics, GpBrush* brush, INT x, INT y, INT width, INT height),
                 (graphics, brush, x, y, width, height))
TESSAREL_PASS_ON(GpStatus, GdipFlush, (GpGraphics * graphics, GpFlushIntention intention),
                 (graphics, intention))
TESSAREL_PASS_ON(GpStatus, GdipGetImageGraphicsContext,
                 (GpImage * image, GpGraphics** graphics), (image, graphics))
TESSAREL_PASS_ON(GpStatus, GdipGetImageHeight, (GpImage * image, UINT* height), (image, height))
TESSAREL_PASS_ON(GpStatus, GdipGetImageWidth, (GpImage * image, UINT* width), (image, width))
TESSAREL_PASS_ON(GpStatus, GdipSetSmoothingMode, (GpGraphics * graphics, SmoothingMode mode),
                 (graphics, mode))

}  // extern "C"
}  // namespace DllExports

#undef TESSAREL_PASS_ON

}  // namespace Gdiplus
