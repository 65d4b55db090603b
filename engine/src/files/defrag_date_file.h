#pragma once
// "defragdate": the local date and time of each slot's last finished
// defragmentation, and the recency state the colours and reports follow.

#include <cstdint>
#include <ctime>
#include <string>

namespace dravik {

// One slot's 16-byte record at slot x 16: eight little-endian u16 in the
// layout of SYSTEMTIME. Day of week and milliseconds carry nothing.
struct defrag_date {
  uint16_t year;
  uint16_t month;
  uint16_t day_of_week;
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

static_assert(sizeof(defrag_date) == 16);

// recency_state values.
constexpr int32_t recency_unknown = 0;  // no date known
constexpr int32_t recency_recent = 1;   // less than two whole days back, or in the future
constexpr int32_t recency_old = 2;

// The recency state of a record at the instant now. A record that is not a
// date (year 0 for a never written one, a year before 1970, month 0 or 13,
// day 0, an hour, minute or second out of range) gives recency_unknown.
int32_t recency_of_date(const defrag_date& date, std::time_t now) noexcept;

// The recency state of slot from the "defragdate" file at path: unknown when
// the file is missing, empty or too short for the slot's record.
int32_t read_recency_state(const std::string& path, int slot, std::time_t now);

// Records the local time of when as slot's record in the "defragdate" file at
// path. The file is never created: returns false when it does not open.
bool write_defrag_date(const std::string& path, int slot, std::time_t when);

}  // namespace dravik
