#pragma once
// Runs the registry workers over fake categories: each phase reports the
// items a test gave its category, the deleters refuse the listed keys, and
// every record and report hand-over is journaled. A test "presses stop"
// while a chosen item or deletion is in hand.

#include <gtest/gtest.h>

#include <atomic>
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
  int mode;
  std::size_t groups, open_issues, deleted_before;
};

struct fake_registry {
  std::map<std::uint32_t, std::vector<found_item>> items;  // per category
  std::atomic<bool>* stop_flag = nullptr;  // set after stop_item of stop_category
  std::uint32_t stop_category = 99;
  std::size_t stop_item = 0;
  std::set<std::wstring> refused;  // the deleters answer -1
  std::wstring stop_on_delete;     // sets stop_flag once deleted

  std::vector<std::uint32_t> phases_run;
  std::vector<std::wstring> deleted, delete_calls;
  std::vector<scan_progress> records;
  std::vector<report_call> reports;
};

class RegistryScan : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::size_t steps() const;  // step records of types 0 and 1
  std::size_t count_of_type(std::uint32_t type) const;
  std::vector<scan_progress> records_of_type(std::uint32_t type) const;

  fake_registry fake;

 private:
  category_table previous_table_{};
};

}  // namespace regscan::testing
