#pragma once
// The three clickable areas of the skin's upper right corner. Plain values,
// any thread.

#include <windows.h>

namespace tessarel {

enum class hit_area { none, about, help, options };

struct hit_areas {
  RECT about{};
  RECT help{};
  RECT options{};
};

// The areas of a laid-out main window.
hit_areas main_hit_areas();

// The area under (x, y) by PtInRect's rule (left and top inside, right and
// bottom outside); none before the first layout (all areas empty).
hit_area hit_area_at(const hit_areas& areas, int x, int y);

}  // namespace tessarel
