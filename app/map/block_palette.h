#pragma once
// The process's block palette: colour code i is drawn with entry i of the
// settings key "biscuit_visual_effect"; the last entry is the highlight. Built
// once at start-up, freed at exit; user interface thread only.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "map/palette_entry.h"

namespace tessarel {

// What a code outside the palette (negative, or at or past its size, as a
// short list in a user's settings file gives) is drawn with: opaque grey.
inline constexpr std::uint32_t fallback_block_colour = 0xFF808080;

// Reads every value of "biscuit_visual_effect" from vemo::settings() and
// builds the palette from them. Needs GDI+ started and the settings opened
// (std::logic_error without settings). Throws vemo::cfg_error when the key is
// missing; otherwise as the overload below.
void build_block_palette();

// Builds the palette from entries, replacing any built before: one colour,
// brush and legend name per entry, and the black block pen. Throws
// std::runtime_error "s_brush_colors.empty" when there is no entry.
void build_block_palette(const std::vector<palette_entry>& entries);

// Frees the pen, the brushes, the colours, the names and the map surface.
// Call before GDI+ is shut down; nothing happens without a palette.
void release_block_palette();

std::size_t block_palette_size();

// ARGB of code's entry; fallback_block_colour outside the palette.
std::uint32_t block_colour(int code);

// One name per entry, in order.
const std::vector<std::wstring>& legend_names();

}  // namespace tessarel
