#pragma once
// Text fields of the engine's records: ANSI bytes in a fixed array that the
// engine means to terminate but the program does not trust to be.

#include <cstddef>
#include <string>

namespace tessarel {

// The bytes of field up to its first NUL or its size, whichever comes first,
// converted from the ANSI code page to UTF-16. Never reads field[size] or
// beyond; a failed conversion gives L"". Any thread.
std::wstring ansi_field_text(const char* field, std::size_t size);

template <std::size_t size>
std::wstring ansi_field_text(const char (&field)[size]) {
  return ansi_field_text(field, size);
}

}  // namespace tessarel
