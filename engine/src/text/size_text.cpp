#include "text/size_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dravik {

std::string size_text(uint64_t bytes) {
  // Formatting with six decimals and then cutting the text (rather than
  // formatting with one) is what keeps 0.99 GiB at "0.9 GB".
  char formatted[64];
  std::snprintf(formatted, sizeof formatted, "%lf",
                static_cast<double>(bytes) / static_cast<double>(uint64_t{1} << 30));
  const char* point = std::strchr(formatted, '.');
  std::string text;
  if (point != nullptr) {
    const size_t kept = static_cast<size_t>(point - formatted) + 2;
    text.assign(formatted, std::min(kept, std::strlen(formatted)));
  } else {
    text.assign(formatted, formatted[0] != '\0' ? 1 : 0);
  }
  text += " GB";
  return text;
}

}  // namespace dravik
