#pragma once
// A fixture that runs the registry workers over fake categories: each phase
// reports the items a test gave its category, the deleters answer from a
// list, and every progress record and report hand-over is journaled. A test
// presses "stop" at a chosen item, as the user would while it is in hand.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "regscan/category_table.h"
#include "regscan/found_item.h"
#include "regscan/scan_progress.h"

namespace regscan::testing {

found_item problem_item(const std::wstring& key_path, const std::wstring& problem = L"缺少启动键值");
found_item fine_item(const std::wstring& key_path);

struct report_call {
  int mode = 0;
  std::size_t groups = 0;       // groups handed over
  std::size_t open_issues = 0;  // issues with fixed 0 at the hand-over
  std::size_t deleted_before = 0;
};

struct fake_registry {
  std::map<std::uint32_t, std::vector<found_item>> items;  // per category
  // Sets stop_flag once the item at stop_item of stop_category is reported.
  std::atomic<bool>* stop_flag = nullptr;
  std::uint32_t stop_category = 99;
  std::size_t stop_item = 0;
  // Deleters refuse these key paths (-1); a delete of stop_on_delete sets
  // stop_flag after it succeeds.
  std::set<std::wstring> refused;
  std::wstring stop_on_delete;

  std::vector<std::uint32_t> phases_run;
  std::vector<std::wstring> deleted;
  std::vector<std::wstring> delete_calls;
  std::vector<scan_progress> records;
  std::vector<report_call> reports;
};

class RegistryScan : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Steps (step 1 of types 0 and 1) and records of a type among the records.
  std::size_t steps() const;
  std::size_t count_of_type(std::uint32_t type) const;

  fake_registry fake;

 private:
  category_table previous_table_{};
};

}  // namespace regscan::testing
