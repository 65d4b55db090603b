#pragma once
// "Setting": the four option flags in bytes 9 to 12. Bytes 0 to 8 belong to
// nobody here and are never read or written. The engine never creates the
// file.

#include <string>

namespace dravik {

// The engine's four flags (32-bit, 0 or 1; only the low byte is stored).
struct option_flag_refs {
  int& auto_run;       // byte 9: run the program at Windows start-up
  int& logout;         // byte 10: shut down after defragmentation
  int& restart;        // byte 11: restart after defragmentation
  int& companion_run;  // byte 12: companion at log-on
};

constexpr long option_flags_offset = 9;

// Reads bytes 9 to 12 into the flags, in that order, any non-zero byte as 1;
// a byte the file lacks leaves its flag as it is. false (flags untouched) when the
// file does not open.
bool read_option_flags_file(const std::string& path, const option_flag_refs& flags);

// Writes the low bytes of the flags into bytes 9 to 12 of an existing file
// without truncating it. false (nothing written) when the file does not
// exist or cannot be opened; false also when the write fails.
bool write_option_flags_file(const std::string& path, const option_flag_refs& flags);

}  // namespace dravik
