// The drives the program lists: every logical drive from A up, and of them
// the fixed ones only.
#include <gtest/gtest.h>

#include <vector>

#include "volumes/fake_drives.h"
#include "volumes/fixed_drives.h"

namespace tessarel::testing {
namespace {

TEST(FixedDrives, OnlyFixedDrivesInAscendingOrder) {
  const fake_drives drives(mixed_drives());
  std::vector<wchar_t> logical;
  list_logical_drives(logical);
  EXPECT_EQ(logical, (std::vector<wchar_t>{L'A', L'C', L'D', L'E', L'Z'}));

  std::vector<wchar_t> fixed{L'X'};  // appended to, not replaced
  list_fixed_drives(fixed);
  EXPECT_EQ(fixed, (std::vector<wchar_t>{L'X', L'C', L'E'}));
}

}  // namespace
}  // namespace tessarel::testing
