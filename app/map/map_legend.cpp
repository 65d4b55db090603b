#include "map/map_legend.h"

#include <string>

#include "map/block_palette.h"
#include "map/gdiplus_api.h"
#include "map/palette_brushes.h"

namespace tessarel {

void draw_legend(HDC dc, POINT anchor) {
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const std::vector<std::wstring>& names = legend_names();
  const auto row_top = [&](std::size_t i) {
    return anchor.y - legend_row_height * static_cast<int>(i + 1);
  };
  {
    // The squares first, finished before GDI writes beside them.
    Gdiplus::Graphics graphics(dc);
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (Gdiplus::Brush* brush = block_brush(static_cast<int>(i))) {
        graphics.FillRectangle(brush, static_cast<INT>(anchor.x), row_top(i), legend_row_height,
                               legend_row_height);
      }
    }
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::wstring& name = names[i];
    TextOutW(dc, anchor.x + legend_name_offset, row_top(i), name.c_str(),
             static_cast<int>(name.size()));
  }
}

}  // namespace tessarel
