#include "files/defrag_date_file.h"

#include "files/stdio_file.h"

namespace dravik {

namespace {

constexpr long record_bytes = sizeof(defrag_date);

bool is_date(const defrag_date& d) noexcept {
  return d.year >= 1970 && d.year <= 3000 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= 31 && d.hour <= 23 && d.minute <= 59 && d.second <= 59;
}

uint16_t load_le16(const unsigned char* p) noexcept {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

int32_t recency_of_date(const defrag_date& date, std::time_t now) noexcept {
  // Out-of-range fields would otherwise be silently normalised (or rejected
  // with an exception by a stricter date class); they mean no date is known.
  if (!is_date(date)) return recency_unknown;
  std::tm local{};
  local.tm_year = date.year - 1900;
  local.tm_mon = date.month - 1;
  local.tm_mday = date.day;
  local.tm_hour = date.hour;
  local.tm_min = date.minute;
  local.tm_sec = date.second;
  local.tm_isdst = -1;  // whether daylight saving applied is the system's to say
  const std::time_t then = std::mktime(&local);
  if (then == static_cast<std::time_t>(-1)) return recency_unknown;
  const int64_t days = (static_cast<int64_t>(now) - static_cast<int64_t>(then)) / 86400;
  return days > 1 ? recency_old : recency_recent;
}

int32_t read_recency_state(const std::string& path, int slot, std::time_t now) {
  stdio_file file = open_stdio_file(path, "rb");
  if (!file) return recency_unknown;
  unsigned char bytes[record_bytes];
  if (std::fseek(file.get(), slot * record_bytes, SEEK_SET) != 0 ||
      std::fread(bytes, 1, sizeof bytes, file.get()) != sizeof bytes) {
    return recency_unknown;  // an empty or short file holds no record for the slot
  }
  defrag_date date;
  uint16_t* fields[] = {&date.year,   &date.month,  &date.day_of_week, &date.day,
                        &date.hour,   &date.minute, &date.second,      &date.milliseconds};
  for (size_t i = 0; i < 8; ++i) *fields[i] = load_le16(bytes + 2 * i);
  return recency_of_date(date, now);
}

bool write_defrag_date(const std::string& path, int slot, std::time_t when) {
  std::tm local{};
  if (localtime_s(&local, &when) != 0) return false;
  const uint16_t fields[] = {static_cast<uint16_t>(local.tm_year + 1900),
                             static_cast<uint16_t>(local.tm_mon + 1),
                             0,
                             static_cast<uint16_t>(local.tm_mday),
                             static_cast<uint16_t>(local.tm_hour),
                             static_cast<uint16_t>(local.tm_min),
                             static_cast<uint16_t>(local.tm_sec),
                             0};
  unsigned char bytes[record_bytes];
  for (size_t i = 0; i < 8; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(fields[i]);
    bytes[2 * i + 1] = static_cast<unsigned char>(fields[i] >> 8);
  }
  stdio_file file = open_stdio_file(path, "r+b");
  if (!file) return false;
  return std::fseek(file.get(), slot * record_bytes, SEEK_SET) == 0 &&
         std::fwrite(bytes, 1, sizeof bytes, file.get()) == sizeof bytes;
}

}  // namespace dravik
