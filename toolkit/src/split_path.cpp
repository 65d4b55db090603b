#include "vemo/split_path.h"

namespace vemo {

namespace {
constexpr std::size_t max_line_length = 50;
}  // namespace

void split_path(const std::wstring& text, std::vector<std::wstring>& lines) {
  std::wstring line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\\', start);
    if (end == std::wstring::npos) end = text.size();
    // An empty component ends the text: what follows it is dropped.
    if (end == start) break;
    const std::wstring component = text.substr(start, end - start);
    if (line.empty()) {
      line = component;
    } else if (line.size() + 1 + component.size() <= max_line_length) {
      line += L'\\';
      line += component;
    } else {
      lines.push_back(line + L'\\');
      line = component;
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
}

}  // namespace vemo
