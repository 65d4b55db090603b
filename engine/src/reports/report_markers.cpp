#include "reports/report_markers.h"

namespace dravik {

void replace_marker(std::string& text, std::string_view marker, std::string_view value) {
  if (marker.empty()) return;
  std::string::size_type at = text.find(marker);
  if (at == std::string::npos) return;

  std::string result;
  result.reserve(text.size() + value.size());
  std::string::size_type from = 0;
  while (at != std::string::npos) {
    result.append(text, from, at - from);
    result.append(value);
    from = at + marker.size();
    at = text.find(marker, from);
  }
  result.append(text, from, std::string::npos);
  text.swap(result);
}

}  // namespace dravik
