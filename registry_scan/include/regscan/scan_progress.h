#pragma once
// The progress records a registry worker hands to its owner. Built by the
// worker and passed by pointer; valid only during the call.

#include <cstdint>
#include <string>

namespace regscan {

enum progress_type : std::uint32_t {
  progress_scan = 0,       // an item or a phase of the scan part
  progress_clean = 1,      // an issue or a group of the clean loop
  progress_scan_end = 2,   // a scan-only run ended, complete or stopped
  progress_clean_end = 3,  // a scan-and-clean run ended, complete or stopped
};

struct scan_progress {
  std::uint32_t type = progress_scan;
  // Types 0 and 1: 1 advances the owner's progress bar by one step. A
  // complete scan-only run sends 7 steps, a complete scan-and-clean run
  // 7 + 2565. Not used by the end records.
  std::uint8_t step = 0;
  std::wstring text;  // the key path to show as the current item; may be empty
};

}  // namespace regscan
