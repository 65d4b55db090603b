#pragma once
// One value of the settings key "biscuit_visual_effect": a colour and the
// legend's name for it. Pure parsing; any thread.

#include <cstdint>
#include <istream>
#include <string>

namespace tessarel {

struct palette_entry {
  // Each number of the value reduced to its low 8 bits.
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  // One word.
  std::wstring name;
};

// Reads three integers (red, green, blue) and a white-space-delimited word;
// the rest of the stream is left unread. A field that cannot be read, and
// every field after it, stays 0 or empty; the stream is then failed.
std::wistream& read_palette_entry(std::wistream& in, palette_entry& entry);

// The extraction the settings reader uses for each value of the key.
std::wistream& operator>>(std::wistream& in, palette_entry& entry);

// Opaque ARGB of the entry: 0xFFRRGGBB.
std::uint32_t palette_colour(const palette_entry& entry);

}  // namespace tessarel
