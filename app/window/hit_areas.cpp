#include "window/hit_areas.h"

namespace tessarel {

hit_areas main_hit_areas() {
  return {RECT{716, 47, 756, 61}, RECT{762, 48, 791, 61}, RECT{717, 76, 799, 107}};
}

hit_area hit_area_at(const hit_areas& areas, int x, int y) {
  const POINT point{x, y};
  if (PtInRect(&areas.about, point)) return hit_area::about;
  if (PtInRect(&areas.help, point)) return hit_area::help;
  if (PtInRect(&areas.options, point)) return hit_area::options;
  return hit_area::none;
}

}  // namespace tessarel
