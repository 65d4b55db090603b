#pragma once
// Start, finish and used-time texts of a volume run.

#include <cstdint>
#include <string>

#include "reports/report_strings.h"

namespace dravik {

// Now, in seconds since 1970 (UTC): the instant the workers pass to the marks.
std::int64_t report_clock_now();

// Local time of the instant as "%H:%M:%S %Y-%m-%d" (14:05:09 2026-12-08);
// the empty text when the instant cannot be converted or formatted.
std::string format_report_time(std::int64_t seconds);

// A span of seconds as hours within the day, minutes and seconds, two digits
// each ("01:03:04" for 25 h 3 min 4 s): whole days are dropped.
std::string format_used_time(std::int64_t span);

// start instant := now, and its text.
void mark_start_time(report_strings& strings, std::int64_t now);

// finish instant := now, its text, and the used time since the start.
void mark_finish_time(report_strings& strings, std::int64_t now);

}  // namespace dravik
