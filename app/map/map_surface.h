#pragma once
// The process's off-screen picture of the map: a 32-bit ARGB bitmap,
// transparent outside the blocks, that the view copies to its window. User
// interface thread only; painting on it and copying it never overlap because
// both happen there. Blocks are drawn with the block palette's brushes and
// pen (build the palette first); a GDI+ failure leaves the picture incomplete
// and nothing else happens.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/map_block.h"

namespace tessarel {

// Replaces the surface with a transparent width x height one and paints every
// block on it. A size below 1 x 1 leaves no surface.
void rebuild_map_surface(int width, int height, const std::vector<map_block>& blocks);

// Paints the blocks at the given positions of blocks (positions outside are
// skipped) with their current codes, fill and outline; one block after
// another would cost one GDI+ call each, so blocks of one colour share a path.
void paint_map_blocks(const std::vector<map_block>& blocks,
                      const std::vector<std::size_t>& positions);

// Copies the surface onto the device context at (0, 0) in its own size,
// blending it over what is there; only the part within the device context's
// clip box is drawn. Nothing happens without a surface.
void copy_map_surface(HDC dc);

// Frees the surface (at exit, with the palette, before GDI+ is shut down).
void release_map_surface();

bool map_surface_exists();
SIZE map_surface_size();

// ARGB of one pixel of the surface; 0 (transparent) without a surface or
// outside it.
std::uint32_t map_surface_pixel(int x, int y);

// How many blocks have been painted on any surface since the process
// started: a change that paints nothing leaves it as it was.
std::size_t map_blocks_painted();

}  // namespace tessarel
