#include "map/block_palette.h"

#include <memory>
#include <stdexcept>

#include "map/gdiplus_api.h"
#include "map/map_surface.h"
#include "map/palette_brushes.h"
#include "vemo/settings.h"

namespace tessarel {
namespace {

struct palette_objects {
  std::vector<std::uint32_t> colours;
  std::vector<std::unique_ptr<Gdiplus::SolidBrush>> brushes;
  std::unique_ptr<Gdiplus::SolidBrush> fallback_brush;
  std::vector<std::wstring> legend_names;
  std::unique_ptr<Gdiplus::Pen> block_pen;
};

// Never destroyed at exit: its GDI+ objects must go before GDI+ is shut down,
// which release_block_palette sees to.
palette_objects& palette() {
  static auto* const objects = new palette_objects;
  return *objects;
}

bool in_palette(int code) {
  return code >= 0 && static_cast<std::size_t>(code) < palette().colours.size();
}

}  // namespace

void build_block_palette() {
  const vemo::mapcfg* settings = vemo::settings();
  if (!settings) throw std::logic_error("build_block_palette: the settings are not open");
  std::vector<palette_entry> entries;
  settings->get_all("biscuit_visual_effect", entries);
  build_block_palette(entries);
}

void build_block_palette(const std::vector<palette_entry>& entries) {
  if (entries.empty()) throw std::runtime_error("s_brush_colors.empty");
  release_block_palette();
  palette_objects& p = palette();
  p.block_pen = std::make_unique<Gdiplus::Pen>(Gdiplus::Color(0xFF000000), 1.0f);
  for (const palette_entry& entry : entries) {
    p.colours.push_back(palette_colour(entry));
    p.legend_names.push_back(entry.name);
  }
  for (const std::uint32_t colour : p.colours) {
    p.brushes.push_back(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(colour)));
  }
  p.fallback_brush = std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(fallback_block_colour));
}

void release_block_palette() {
  release_map_surface();
  palette() = palette_objects{};
}

std::size_t block_palette_size() { return palette().colours.size(); }

std::uint32_t block_colour(int code) {
  return in_palette(code) ? palette().colours[static_cast<std::size_t>(code)]
                          : fallback_block_colour;
}

const std::vector<std::wstring>& legend_names() { return palette().legend_names; }

Gdiplus::Brush* block_brush(int code) {
  palette_objects& p = palette();
  return in_palette(code) ? p.brushes[static_cast<std::size_t>(code)].get()
                          : p.fallback_brush.get();
}

Gdiplus::Pen* block_pen() { return palette().block_pen.get(); }

}  // namespace tessarel
