#include "options/option_flags_file.h"

#include "scratch_folder/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace dravik::testing {
namespace {

using dravik::option_flag_refs;
using dravik::read_option_flags_file;
using dravik::write_option_flags_file;
using tessarel::testing::scratch_folder;

struct flags {
  int auto_run = 0;
  int logout = 0;
  int restart = 0;
  int companion_run = 0;
  option_flag_refs refs() { return {auto_run, logout, restart, companion_run}; }
};

// Nine bytes nobody here owns, then the four flags.
const std::string header = "ABCDEFGHI";

TEST(SettingFile, ReadsBytesNineToTwelveInOrder) {
  const scratch_folder folder;
  folder.write("Setting", header + std::string("\x01\x00\x01\x01", 4));
  flags f;
  ASSERT_TRUE(read_option_flags_file(folder.path() + "Setting", f.refs()));
  EXPECT_EQ(f.auto_run, 1);
  EXPECT_EQ(f.logout, 0);
  EXPECT_EQ(f.restart, 1);
  EXPECT_EQ(f.companion_run, 1);
}

// A short file sets the flags it has bytes for and leaves the rest alone.
TEST(SettingFile, ShortFileLeavesTheMissingFlagsAsTheyWere) {
  const scratch_folder folder;
  folder.write("Setting", header + "\x01");
  flags f;
  f.restart = 1;
  ASSERT_TRUE(read_option_flags_file(folder.path() + "Setting", f.refs()));
  EXPECT_EQ(f.auto_run, 1);
  EXPECT_EQ(f.logout, 0);
  EXPECT_EQ(f.restart, 1);
}

TEST(SettingFile, MissingFileLeavesTheFlagsAndIsNeverCreated) {
  const scratch_folder folder;
  flags f;
  f.logout = 1;
  EXPECT_FALSE(read_option_flags_file(folder.path() + "Setting", f.refs()));
  EXPECT_EQ(f.logout, 1);
  EXPECT_FALSE(write_option_flags_file(folder.path() + "Setting", f.refs()));
  EXPECT_FALSE(folder.exists("Setting"));
}

// The write touches bytes 9 to 12 only: the first nine and anything after
// the flags keep what the file held.
TEST(SettingFile, WriteChangesOnlyTheFlagBytes) {
  const scratch_folder folder;
  folder.write("Setting", header + std::string(4, '\x00') + "tail");
  flags f;
  f.auto_run = 1;
  f.companion_run = 1;
  ASSERT_TRUE(write_option_flags_file(folder.path() + "Setting", f.refs()));
  EXPECT_EQ(folder.read("Setting"), header + std::string("\x01\x00\x00\x01", 4) + "tail");
}

}  // namespace
}  // namespace dravik::testing
