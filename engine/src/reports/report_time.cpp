#include "reports/report_time.h"

#include <cstdio>
#include <ctime>

namespace dravik {

std::int64_t report_clock_now() { return _time64(nullptr); }

std::string format_report_time(std::int64_t seconds) {
  const __time64_t instant = seconds;
  std::tm local{};
  if (_localtime64_s(&local, &instant) != 0) return {};
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, "%H:%M:%S %Y-%m-%d", &local);
  if (length == 0) return {};
  return std::string(text, length);
}

std::string format_used_time(std::int64_t span) {
  // A clock set back during the run would give a negative span and texts such
  // as "-1:-5:-3"; such a run took no measurable time.
  if (span < 0) span = 0;
  const long long hours = span / 3600 - 24 * (span / 86400);
  const long long minutes = span / 60 - 60 * (span / 3600);
  const long long seconds = span - 60 * (span / 60);
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hours, minutes, seconds);
  return text;
}

void mark_start_time(report_strings& strings, std::int64_t now) {
  strings.start_instant = now;
  strings.start_time_text = format_report_time(now);
}

void mark_finish_time(report_strings& strings, std::int64_t now) {
  strings.finish_instant = now;
  strings.finish_time_text = format_report_time(now);
  strings.used_time_text = format_used_time(strings.finish_instant - strings.start_instant);
}

}  // namespace dravik
