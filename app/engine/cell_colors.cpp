#include "engine/cell_colors.h"

#include "dravik/cell_colours.h"

namespace tessarel {

void collect_cell_colors(wchar_t letter, const engine_binding& binding,
                         std::vector<int32_t>& codes, bool set_current) {
  const engine_entry_points& engine = binding.entry_points();
  if (set_current) engine.set_current_volume(letter);
  const int32_t* table = engine.get_volume_color_table(letter);
  if (table == nullptr) {
    codes.insert(codes.end(), dravik::cells_per_volume, dravik::colour_free);
    return;
  }
  codes.insert(codes.end(), table, table + dravik::cells_per_volume);
}

}  // namespace tessarel
