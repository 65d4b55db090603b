#include "reports/html_escape.h"

namespace dravik {

void append_html_escaped(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
        break;
    }
  }
}

std::string html_escaped(std::string_view text) {
  std::string out;
  append_html_escaped(out, text);
  return out;
}

}  // namespace dravik
