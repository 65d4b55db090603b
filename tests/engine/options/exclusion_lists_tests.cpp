#include "options/exclusion_lists.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace dravik::testing {
namespace {

using dravik::add_file_exclusion;
using dravik::add_folder_exclusion;
using dravik::file_exclusion_kind;
using dravik::file_exclusions;
using dravik::file_name_excluded;
using dravik::folder_exclusions;
using dravik::folder_name_contains_exclusion;
using dravik::folder_name_excluded;

// Two GBK characters whose second bytes are 'A' (0x41) and 'a' (0x61).
const char* const gbk_with_upper_a = "\x81\x41";
const char* const gbk_with_lower_a = "\x81\x61";

struct name_case {
  const char* name;
  bool excluded;
};

TEST(ExclusionMatching, RunsUnderTheChineseAnsiCodePage) { ASSERT_EQ(GetACP(), 936u); }

// The analysis walk skips a directory whose whole name equals an entry in
// any letter case; a name that merely contains an entry is walked.
TEST(ExclusionMatching, FolderWholeNameIgnoresCaseButNotParts) {
  const folder_exclusions folders = {"Temp", "\xCF\xB5\xCD\xB3" /* 系统 */};
  const name_case cases[] = {
      {"Temp", true},   {"tEMP", true},    {"MyTemp", false},
      {"Temp2", false}, {"\xCF\xB5\xCD\xB3", true}, {"\xCF\xB5\xCD\xB3" "1", false},
  };
  for (const name_case& c : cases)
    EXPECT_EQ(folder_name_excluded(folders, c.name), c.excluded) << c.name;
}

// The defragmentation walk skips a directory whose name contains an entry,
// in the same letter case.
TEST(ExclusionMatching, FolderContainsTestIsCaseSensitive) {
  const folder_exclusions folders = {"Temp"};
  const name_case cases[] = {
      {"Temp", true}, {"MyTempFiles", true}, {"temp", false}, {"Tem", false},
  };
  for (const name_case& c : cases)
    EXPECT_EQ(folder_name_contains_exclusion(folders, c.name), c.excluded) << c.name;
}

// An empty entry (from ";;" or an empty line) would be contained in every
// name and silently drop the whole volume from the defragmentation walk.
TEST(ExclusionMatching, EmptyEntriesNeverExcludeAnything) {
  const folder_exclusions folders = {""};
  file_exclusions files;
  add_file_exclusion(files, "", file_exclusion_kind::file);
  add_file_exclusion(files, "", file_exclusion_kind::type);
  for (const char* name : {"Windows", "a", "name.", "", "."}) {
    EXPECT_FALSE(folder_name_excluded(folders, name)) << name;
    EXPECT_FALSE(folder_name_contains_exclusion(folders, name)) << name;
    EXPECT_FALSE(file_name_excluded(files, name)) << name;
  }
}

// File entries are whole names; type entries are extensions, so "exe" keeps
// out every .exe file (as the dialog's example promises), not only a file
// named "exe".
TEST(ExclusionMatching, FileEntriesMatchWholeNamesAndTypeEntriesExtensions) {
  file_exclusions files;
  add_file_exclusion(files, "Thumbs.db", file_exclusion_kind::file);
  add_file_exclusion(files, "setup", file_exclusion_kind::file);
  add_file_exclusion(files, "exe", file_exclusion_kind::type);
  add_file_exclusion(files, "RAR", file_exclusion_kind::type);
  const name_case cases[] = {
      {"Thumbs.db", true},
      {"THUMBS.DB", true},
      {"Thumbs.db.bak", false},
      {"setup", true},
      {"setup.msi", false},
      {"setup.exe", true},
      {"SETUP.EXE", true},
      {"archive.rar", true},
      {"exe", false},
      {"a.exes", false},
      {"exe.txt", false},
      {"backup.exe.txt", false},
      {".exe", true},
      {"\xB1\xA8\xB8\xE6.Exe" /* 报告.Exe */, true},
  };
  for (const name_case& c : cases) EXPECT_EQ(file_name_excluded(files, c.name), c.excluded) << c.name;
}

// Byte-wise letter folding would take the second byte of a double-byte
// character for a letter and call two different Chinese names equal.
TEST(ExclusionMatching, SecondBytesOfChineseCharactersAreNoLetters) {
  const folder_exclusions folders = {gbk_with_upper_a};
  EXPECT_TRUE(folder_name_excluded(folders, gbk_with_upper_a));
  EXPECT_FALSE(folder_name_excluded(folders, gbk_with_lower_a));

  const folder_exclusions letter = {"A"};
  EXPECT_FALSE(folder_name_contains_exclusion(letter, gbk_with_upper_a));
  EXPECT_TRUE(folder_name_contains_exclusion(letter, "x" "\x81\x41" "A"));

  file_exclusions files;
  add_file_exclusion(files, std::string("x.") + gbk_with_upper_a, file_exclusion_kind::file);
  EXPECT_FALSE(file_name_excluded(files, (std::string("x.") + gbk_with_lower_a).c_str()));
}

// Entries must fit a 256-byte name buffer; a longer one is refused rather
// than cut, since a cut entry could match names nobody typed.
TEST(ExclusionLists, EntriesLongerThan255BytesAreNotListed) {
  folder_exclusions folders;
  EXPECT_TRUE(add_folder_exclusion(folders, std::string(255, 'f')));
  EXPECT_FALSE(add_folder_exclusion(folders, std::string(256, 'f')));
  file_exclusions files;
  EXPECT_TRUE(add_file_exclusion(files, std::string(255, 'x'), file_exclusion_kind::type));
  EXPECT_FALSE(add_file_exclusion(files, std::string(256, 'x'), file_exclusion_kind::file));
  EXPECT_EQ(folders.size(), 1u);
  EXPECT_EQ(files.size(), 1u);
}

}  // namespace
}  // namespace dravik::testing
