#include "reports/report_percentage.h"

#include <cstdio>

namespace dravik {

std::string fragmentation_percentage(int fragmentation_cells) {
  // Six printed decimals first, then cut after the second: a quotient that
  // lands a hair below its decimal value still prints as that value.
  char text[64];
  std::snprintf(text, sizeof text, "%f", fragmentation_cells / 1000.0 * 100.0);
  std::string percentage = text;
  const std::string::size_type point = percentage.find('.');
  if (point != std::string::npos && percentage.size() > point + 3) {
    percentage.resize(point + 3);
  }
  return percentage + "%";
}

}  // namespace dravik
