#pragma once
// The palette's GDI+ objects, for the map's drawing code. User interface
// thread only; the palette owns them until release_block_palette.

namespace Gdiplus {
class Brush;
class Pen;
}  // namespace Gdiplus

namespace tessarel {

// The brush of code's entry; outside the palette the fallback brush. Null
// before the palette is built.
Gdiplus::Brush* block_brush(int code);

// Opaque black, width 1; null before the palette is built.
Gdiplus::Pen* block_pen();

}  // namespace tessarel
