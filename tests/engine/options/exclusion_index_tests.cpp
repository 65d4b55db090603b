// The analysis walk's exclusion lookups answer as the ordered lists do.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "options/exclusion_index.h"

namespace dravik::testing {
namespace {

// Catches a lookup that folds the case differently from the lists' tests
// (double-byte characters included), misses type entries, matches empty
// entries, or keeps views into entries that moved while the index was built.
TEST(ExclusionIndex, AnswersAsTheListsDo) {
  folder_exclusions folders = builtin_folder_exclusions();
  file_exclusions files;
  add_folder_exclusion(folders, "Temp");
  add_folder_exclusion(folders, "");
  add_folder_exclusion(folders, "\xCF\xB5\xCD\xB3" /* 系统 */);
  add_folder_exclusion(folders, "\x81\x41");
  add_file_exclusion(files, "Thumbs.db", file_exclusion_kind::file);
  add_file_exclusion(files, "", file_exclusion_kind::file);
  add_file_exclusion(files, "", file_exclusion_kind::type);
  add_file_exclusion(files, "exe", file_exclusion_kind::type);
  add_file_exclusion(files, std::string(255, 'z'), file_exclusion_kind::type);
  for (int i = 0; i < 300; ++i) {
    add_folder_exclusion(folders, "dir" + std::to_string(i));
    add_file_exclusion(files, "f" + std::to_string(i), file_exclusion_kind::file);
    add_file_exclusion(files, "t" + std::to_string(i), file_exclusion_kind::type);
  }
  exclusion_index index;
  index.build(folders, files);

  const std::string long_z_type = "name." + std::string(255, 'Z');
  const std::vector<std::string> names = {
      "Temp", "TEMP", "MyTemp", "Temp2", "", ".", "cache", "CACHE", "Local Settings",
      "\xCF\xB5\xCD\xB3", "\xCF\xB5\xCD\xB3" "1", "\x81\x41", "\x81\x61", "Thumbs.db",
      "thumbs.DB", "Thumbs.db.bak", "setup.exe", "SETUP.EXE", "exe", "a.exes", "name.",
      ".exe", "\xB1\xA8\xB8\xE6.Exe", "dir0", "DIR299", "dir300", "f17", "F17.x", "x.t42",
      "x.T299", "x.t300", long_z_type, std::string(300, 'a'), std::string(300, 'a') + ".exe"};
  for (const std::string& name : names) {
    EXPECT_EQ(index.folder_excluded(name.c_str(), name.size()),
              folder_name_excluded(folders, name.c_str()))
        << name;
    EXPECT_EQ(index.file_excluded(name.c_str(), name.size()),
              file_name_excluded(files, name.c_str()))
        << name;
  }
  EXPECT_TRUE(index.folder_excluded("dir150", 6)) << "entries past the first few count";

  index.build({"Other"}, {});
  EXPECT_FALSE(index.folder_excluded("Temp", 4)) << "a rebuild replaces the entries";
  EXPECT_TRUE(index.folder_excluded("OTHER", 5));
}

}  // namespace
}  // namespace dravik::testing
