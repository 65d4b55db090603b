#pragma once
// The settings that make a copy of the simulated build the run command's:
// files beside the library, read once when it is loaded. The tests and the
// end-to-end driver leave both out, so their volumes answer at full speed
// and their report sets are only recorded.

#include <optional>
#include <string>

#include "simulated_engine/paced_volume_io.h"

namespace dravik::sim {

// While this file lies beside the library, report sets go to the shell as
// in the shipped build instead of into "opened-reports.txt".
inline constexpr const wchar_t* open_reports_file_name = L"simulated-open-reports";

struct run_settings {
  std::optional<volume_pace> pace;  // from "simulated-pace.txt"; none: full speed
  bool open_reports = false;
};

// folder ends with a backslash. A pace file that cannot be read or does not
// parse (parse_volume_pace) paces nothing.
run_settings read_run_settings(const std::wstring& folder);

}  // namespace dravik::sim
