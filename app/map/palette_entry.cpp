#include "map/palette_entry.h"

namespace tessarel {
namespace {

// A number that overflows int fails like any other unreadable field: the
// channel stays 0 instead of taking the clamped value the stream stores.
bool read_channel(std::wistream& in, std::uint8_t& channel) {
  int value = 0;
  if (!(in >> value)) return false;
  channel = static_cast<std::uint8_t>(value & 0xFF);
  return true;
}

}  // namespace

std::wistream& read_palette_entry(std::wistream& in, palette_entry& entry) {
  entry = palette_entry{};
  if (read_channel(in, entry.red) && read_channel(in, entry.green) &&
      read_channel(in, entry.blue)) {
    in >> entry.name;
  }
  return in;
}

std::wistream& operator>>(std::wistream& in, palette_entry& entry) {
  return read_palette_entry(in, entry);
}

std::uint32_t palette_colour(const palette_entry& entry) {
  return 0xFF000000u | static_cast<std::uint32_t>(entry.red) << 16 |
         static_cast<std::uint32_t>(entry.green) << 8 | entry.blue;
}

}  // namespace tessarel
