#pragma once
// The stand-in engine as the program's tests use it: its folders, a fresh
// script per test, and its journal.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stand_in_engine/stand_in_control.h"

namespace tessarel::testing {

// A build folder as a Windows path: forward slashes become backslashes.
inline std::wstring windows_path(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

// The folder of a stand-in variant: "full", "without_status",
// "without_optimize".
inline std::wstring stand_in_folder(const wchar_t* variant) {
  return windows_path(std::wstring(TESSAREL_TEST_STAND_IN_DIR) + variant);
}

// The calls of the stand-in's journal, optionally of one export only.
inline std::vector<stand_in_call> journal(const std::string& export_name = "") {
  std::vector<stand_in_call> calls;
  const int count = stand_in_call_count();
  for (int i = 0; i < count; ++i) {
    stand_in_call call{};
    if (stand_in_read_call(i, &call) && (export_name.empty() || export_name == call.export_name)) {
      calls.push_back(call);
    }
  }
  return calls;
}

// Every test starts from a fresh script and leaves runs released, so that no
// thread of a failed test stays blocked.
class StandInEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { stand_in_reset(); }
  void TearDown() override { stand_in_release_runs(); }
};

}  // namespace tessarel::testing
