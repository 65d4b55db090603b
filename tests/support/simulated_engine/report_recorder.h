#pragma once
// The simulated build opens no browser for the tests: each report address
// the engine would hand to the shell is appended as one line to
// "opened-reports.txt" beside the library, for the end-to-end tests to read
// (the run command's copy opens them instead: run_settings.h).

namespace dravik::sim {

inline constexpr const wchar_t* opened_reports_file_name = L"opened-reports.txt";

// Appends address and "\n" to the file (made when missing). A null address,
// or a file that cannot be written, records nothing. Any thread.
void record_report_address(const char* address);

}  // namespace dravik::sim
