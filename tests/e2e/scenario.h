#pragma once
// What the scenarios share: a started program with its main window, the
// volume map read off the screen, and the files the run leaves behind.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "driver/main_window.h"
#include "driver/program_run.h"
#include "simulated_engine/volume_summary.h"

namespace dravik::sim {
// GoogleTest prints a summary as its line of the summary file.
void PrintTo(const volume_summary& volume, std::ostream* out);
}  // namespace dravik::sim

namespace tessarel::e2e {

// How long a job of the simulated volumes may take before a test gives up.
inline constexpr DWORD job_timeout_ms = 120000;
inline constexpr DWORD dialog_timeout_ms = 20000;

struct started_program {
  std::unique_ptr<program_run> run;
  std::unique_ptr<main_window> main;
};

// A fresh copy named name, the program started in it with arguments, and
// its main window; a fatal failure when it does not come up.
void start_program(const std::wstring& name, const std::wstring& arguments,
                   started_program& started);

// The codes of the map's first 1000 blocks as the window shows them.
std::vector<int> shown_volume_codes(const started_program& started);

// The report addresses the engine handed over, one per line.
std::vector<std::string> opened_reports(const program_run& run);

// The value of a report page's item ("Total clusters"): the text after
// "item :" up to the next blank, tags removed; "" when the page or the item
// is missing.
std::string report_item(const program_run& run, const std::wstring& page, const std::string& item);

// The volumes' summary the simulated engine wrote when the program let it
// go; a fatal failure when it is missing or unreadable.
void read_summary(const program_run& run, std::vector<dravik::sim::volume_summary>& volumes);
// The scenario's volumes as they are before any job.
std::vector<dravik::sim::volume_summary> untouched_volumes();

// Closes the program with its close button and returns its exit code (-1
// when it did not end). A job whose end is still on its way is waited for.
long close_program(const started_program& started);

}  // namespace tessarel::e2e
