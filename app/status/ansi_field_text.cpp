#include "status/ansi_field_text.h"

#include <cstring>

#include "vemo/text_conversion.h"

namespace tessarel {

std::wstring ansi_field_text(const char* field, std::size_t size) {
  if (!field) return {};
  // A record read while a worker rewrites it may hold no NUL at all: the
  // length stops at the field's end instead of the next record's bytes.
  const std::size_t length = strnlen(field, size);
  return vemo::wide_text(std::string(field, length));
}

}  // namespace tessarel
