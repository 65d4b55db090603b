#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "files/defrag_date_file.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

constexpr std::time_t hour = 3600;

defrag_date date_at(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return {static_cast<uint16_t>(local.tm_year + 1900),
          static_cast<uint16_t>(local.tm_mon + 1),
          0,
          static_cast<uint16_t>(local.tm_mday),
          static_cast<uint16_t>(local.tm_hour),
          static_cast<uint16_t>(local.tm_min),
          static_cast<uint16_t>(local.tm_sec),
          0};
}

std::vector<uint8_t> record_bytes(const defrag_date& d) {
  std::vector<uint8_t> bytes;
  for (uint16_t field : {d.year, d.month, d.day_of_week, d.day, d.hour, d.minute, d.second,
                         d.milliseconds}) {
    bytes.push_back(static_cast<uint8_t>(field));
    bytes.push_back(static_cast<uint8_t>(field >> 8));
  }
  return bytes;
}

// A fixed instant in the middle of a month, away from daylight-saving changes.
const std::time_t now = 1718452800;  // 2024-06-15 12:00 UTC

struct age_case {
  const char* name;
  std::time_t age;
  int32_t recency;
};

class RecencyByAge : public ::testing::TestWithParam<age_case> {};

// Catches days counted with rounding, or by calendar dates, instead of whole
// 24-hour periods, and a future date taken as old.
TEST_P(RecencyByAge, TwoWholeDaysMakeADefragmentationOld) {
  EXPECT_EQ(recency_of_date(date_at(now - GetParam().age), now), GetParam().recency);
}

INSTANTIATE_TEST_SUITE_P(
    Ages, RecencyByAge,
    ::testing::Values(age_case{"JustNow", 0, 1}, age_case{"Hours47", 47 * hour, 1},
                      age_case{"Hours48Less1s", 48 * hour - 1, 1},
                      age_case{"Hours48", 48 * hour, 2}, age_case{"Days400", 400 * 24 * hour, 2},
                      age_case{"InTheFuture", -30 * 24 * hour, 1}),
    [](const ::testing::TestParamInfo<age_case>& info) { return info.param.name; });

// Catches an exception, an undefined time or a normalised date for a record
// that is no date: it means no date is known.
TEST(RecencyOfBadRecords, GiveUnknown) {
  const defrag_date good = date_at(now - 5 * 24 * hour);
  ASSERT_EQ(recency_of_date(good, now), 2);
  const struct {
    const char* name;
    void (*spoil)(defrag_date&);
  } cases[] = {
      {"year 0 (never written)", [](defrag_date& d) { d.year = 0; }},
      {"year 1969", [](defrag_date& d) { d.year = 1969; }},
      {"month 0", [](defrag_date& d) { d.month = 0; }},
      {"month 13", [](defrag_date& d) { d.month = 13; }},
      {"day 0", [](defrag_date& d) { d.day = 0; }},
      {"day 32", [](defrag_date& d) { d.day = 32; }},
      {"hour 24", [](defrag_date& d) { d.hour = 24; }},
      {"minute 60", [](defrag_date& d) { d.minute = 60; }},
      {"second 60", [](defrag_date& d) { d.second = 60; }},
      {"all bits set", [](defrag_date& d) { d = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                                                 0xFFFF, 0xFFFF, 0xFFFF}; }},
  };
  for (const auto& c : cases) {
    defrag_date spoilt = good;
    c.spoil(spoilt);
    EXPECT_EQ(recency_of_date(spoilt, now), 0) << c.name;
  }
}

// Catches a record read from the wrong offset or a short file read as a date.
TEST(DefragDateFile, ReadsTheSlotsRecord) {
  scratch_folder folder;
  std::vector<uint8_t> file(16 * 26, 0);
  const std::vector<uint8_t> recent = record_bytes(date_at(now - 10 * hour));
  const std::vector<uint8_t> old = record_bytes(date_at(now - 100 * hour));
  std::copy(recent.begin(), recent.end(), file.begin() + 3 * 16);
  std::copy(old.begin(), old.end(), file.begin() + 4 * 16);
  folder.write("defragdate", file);
  const std::string path = folder.file("defragdate");

  EXPECT_EQ(read_recency_state(path, 3, now), 1);
  EXPECT_EQ(read_recency_state(path, 4, now), 2);
  EXPECT_EQ(read_recency_state(path, 0, now), 0);  // never written: year 0
}

TEST(DefragDateFile, MissingEmptyOrShortFilesGiveUnknown) {
  scratch_folder folder;
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 0, now), 0);

  folder.write("defragdate", {});
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 0, now), 0);

  // slot 1's record is cut after 15 bytes
  std::vector<uint8_t> file = record_bytes(date_at(now - hour));
  const std::vector<uint8_t> second = record_bytes(date_at(now - hour));
  file.insert(file.end(), second.begin(), second.end() - 1);
  folder.write("defragdate", file);
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 0, now), 1);
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 1, now), 0);
}

// Catches a writer that creates the file, truncates it or writes elsewhere.
TEST(DefragDateFile, WriteUpdatesOnlyTheSlotOfAnExistingFile) {
  scratch_folder folder;
  EXPECT_FALSE(write_defrag_date(folder.file("defragdate"), 2, now));
  EXPECT_FALSE(folder.exists("defragdate"));

  std::vector<uint8_t> file(16 * 26, 0xEE);
  folder.write("defragdate", file);
  ASSERT_TRUE(write_defrag_date(folder.file("defragdate"), 2, now - hour));
  const std::vector<uint8_t> written = folder.read_bytes("defragdate");
  ASSERT_EQ(written.size(), file.size());
  defrag_date expected = date_at(now - hour);
  EXPECT_EQ(std::vector<uint8_t>(written.begin() + 32, written.begin() + 48),
            record_bytes(expected));
  EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + 32),
            std::vector<uint8_t>(32, 0xEE));
  EXPECT_EQ(std::vector<uint8_t>(written.begin() + 48, written.end()),
            std::vector<uint8_t>(file.size() - 48, 0xEE));
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 2, now), 1);
}

}  // namespace
}  // namespace dravik::testing
