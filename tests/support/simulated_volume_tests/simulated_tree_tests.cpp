// Directory searches and path resolution of the simulator, against the
// answers FindFirstFileA, FindNextFileA and CreateFileA give on Windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

// GBK texts: a character whose trail byte is '\', and two characters that
// differ only in a trail byte that looks like 'A' or 'a'.
const std::string trail_backslash = "\x81\x5C";  // U+4E57
const std::string trail_upper_a = "\x81\x41";
const std::string trail_lower_a = "\x81\x61";

class SimulatedTree : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.add_volume('C', small_ntfs(1000));
    sim.add_directory("C:\\Windows\\System32");
    sim.add_file("C:\\Windows\\System32\\kernel32.dll", 10000, {{200, 3}});
    sim.add_file("C:\\Windows\\notepad.exe", 5000, {{210, 2}}, FILE_ATTRIBUTE_READONLY);
    sim.add_file("C:\\b.txt", 10, {}, 0);
    sim.add_file("C:\\A.txt", 10, {});
    sim.add_file("C:\\c.TXT", 10, {});
    sim.add_file("C:\\README", 10, {});
    sim.add_directory("C:\\Documents and Settings",
                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT);
    sim.add_directory("C:\\Links", FILE_ATTRIBUTE_REPARSE_POINT);
    sim.set_junction_target("C:\\Links", "C:\\Windows");
    sim.add_file("C:\\" + trail_backslash + "\\inside.txt", 1, {});
    sim.add_file("C:\\" + trail_upper_a, 1, {});
    sim.add_file("C:\\" + trail_lower_a, 1, {});
    sim.add_volume('D', small_fat(1000));
    sim.add_file("D:\\zeta", 1, {{10, 1}});
    sim.add_file("D:\\alpha", 1, {{11, 1}});
    sim.add_file("D:\\Mid", 1, {{12, 1}});
    sim.add_drive('E', DRIVE_CDROM);
  }

  void TearDown() override {
    EXPECT_EQ(sim.open_handle_count(), 0u);
    EXPECT_TRUE(sim.misuse().empty());
  }

  // Every name a search returns, in order.
  std::vector<std::string> list(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE search = sim.find_first_file(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      names.emplace_back(data.cFileName);
    } while (sim.find_next_file(search, &data));
    EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_NO_MORE_FILES});
    sim.find_close(search);
    return names;
  }

  DWORD search_error(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    const HANDLE search = sim.find_first_file(pattern.c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
      sim.find_close(search);
      return 0;
    }
    return sim.get_last_error();
  }

  DWORD open_error(const std::string& name, DWORD access = 0, DWORD disposition = OPEN_EXISTING,
                   DWORD flags = 0) {
    const HANDLE handle = sim.create_file(name.c_str(), access, 0, disposition, flags);
    if (handle != INVALID_HANDLE_VALUE) {
      sim.close_handle(handle);
      return 0;
    }
    return sim.get_last_error();
  }

  simulated_volume sim;
};

using strings = std::vector<std::string>;

TEST_F(SimulatedTree, RootListsNoDotEntriesAndSortsLikeNtfs) {
  EXPECT_EQ(list("C:\\*"),
            (strings{"A.txt", "b.txt", "c.TXT", "Documents and Settings", "Links", "README",
                     "Windows", trail_upper_a, trail_backslash, trail_lower_a}));
}

TEST_F(SimulatedTree, SubdirectoriesListThemselvesAndTheirParentFirst) {
  EXPECT_EQ(list("C:\\Windows\\*"), (strings{".", "..", "notepad.exe", "System32"}));
}

TEST_F(SimulatedTree, FatListsEntriesInTheOrderTheyWereMade) {
  EXPECT_EQ(list("D:\\*"), (strings{"zeta", "alpha", "Mid"}));
}

TEST_F(SimulatedTree, PatternsMatchWithoutRegardToCase) {
  EXPECT_EQ(list("C:\\*.txt"), (strings{"A.txt", "b.txt", "c.TXT"}));
  EXPECT_EQ(list("C:\\?.TXT"), (strings{"A.txt", "b.txt", "c.TXT"}));
  EXPECT_EQ(list("C:\\*.*").size(), 10u) << "*.* also matches names without a dot";
  EXPECT_EQ(list("C:\\Windows\\.*"), (strings{".", ".."}));
  EXPECT_EQ(list("C:\\windows\\SYSTEM32"), (strings{"System32"}))
      << "a name without wildcards finds the entry itself, in its own case";
}

TEST_F(SimulatedTree, SearchFailuresCarryWin32Errors) {
  struct row {
    std::string pattern;
    DWORD error;
  } rows[] = {
      {"C:\\nothing\\*", ERROR_PATH_NOT_FOUND},
      {"C:\\Windows\\notepad.exe\\*", ERROR_DIRECTORY},
      {"C:\\Windows\\notepad.exe\\x\\*", ERROR_PATH_NOT_FOUND},
      {"C:\\zz*", ERROR_FILE_NOT_FOUND},
      {"C:\\Windows\\", ERROR_FILE_NOT_FOUND},
      {"C:\\", ERROR_FILE_NOT_FOUND},
      {"Q:\\*", ERROR_PATH_NOT_FOUND},
      {"E:\\*", ERROR_NOT_READY},
      {"C:\\Documents and Settings\\*", ERROR_ACCESS_DENIED},
      {"C:\\Windows\\Sys*\\*", ERROR_INVALID_NAME},
      {"C:\\" + std::string(300, 'x') + "\\*", ERROR_FILENAME_EXCED_RANGE},
      {"relative\\*", ERROR_PATH_NOT_FOUND},
  };
  for (const row& r : rows) EXPECT_EQ(search_error(r.pattern), r.error) << r.pattern;
}

TEST_F(SimulatedTree, PathLimitCountsCharactersNotBytes) {
  // 129 double-byte characters make 258 bytes but only 129 characters, far
  // below MAX_PATH; the ANSI calls limit characters.
  std::string name;
  for (int i = 0; i < 120; ++i) name += "\xD0\xC2";  // 新
  sim.add_file("C:\\" + name, 1, {});
  EXPECT_EQ(list("C:\\" + name), (strings{name}));
}

TEST_F(SimulatedTree, ASearchPastItsEndKeepsSayingNoMoreFiles) {
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\README", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(sim.find_next_file(search, &data));
    EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_NO_MORE_FILES});
  }
  sim.find_close(search);
}

TEST_F(SimulatedTree, FindDataDescribesTheEntry) {
  sim.add_file("C:\\big.bin", 0x123456789ull, {}, FILE_ATTRIBUTE_ARCHIVE, 0x01D7000012345678ull);
  WIN32_FIND_DATAA data;
  HANDLE search = sim.find_first_file("C:\\big.bin", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  sim.find_close(search);
  EXPECT_EQ(data.nFileSizeHigh, 1u);
  EXPECT_EQ(data.nFileSizeLow, 0x23456789u);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, 0x01D70000u);
  EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, 0x12345678u);

  search = sim.find_first_file("C:\\b.txt", &data);
  sim.find_close(search);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_NORMAL}) << "a file without attributes";

  search = sim.find_first_file("C:\\Windows", &data);
  sim.find_close(search);
  EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(data.nFileSizeLow, 0u);

  search = sim.find_first_file("C:\\Documents and Settings", &data);
  sim.find_close(search);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(data.dwReserved0, DWORD{IO_REPARSE_TAG_MOUNT_POINT});
}

TEST_F(SimulatedTree, EntriesRemovedDuringASearchAreNotListed) {
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\*.txt", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "A.txt");
  sim.remove("C:\\b.txt");
  ASSERT_TRUE(sim.find_next_file(search, &data));
  EXPECT_STREQ(data.cFileName, "c.TXT");
  EXPECT_FALSE(sim.find_next_file(search, &data));
  sim.find_close(search);
}

TEST_F(SimulatedTree, NamesResolveAsWin32NormalisesThem) {
  for (const char* name :
       {"C:\\windows\\SYSTEM32\\KERNEL32.DLL", "C:/Windows/System32/kernel32.dll",
        "C:\\\\Windows\\\\System32\\kernel32.dll",
        "C:\\Windows\\.\\Temp\\..\\System32\\kernel32.dll", "C:\\Windows\\System32\\kernel32.dll. ",
        "\\\\?\\C:\\Windows\\System32\\kernel32.dll", "\\\\.\\C:\\Windows\\System32\\kernel32.dll",
        "C:\\Links\\System32\\kernel32.dll"}) {
    EXPECT_EQ(open_error(name), 0u) << name;
  }
  EXPECT_EQ(open_error("\\\\?\\C:/Windows/System32/kernel32.dll"), DWORD{ERROR_PATH_NOT_FOUND})
      << "\\\\?\\ names are taken literally";
}

TEST_F(SimulatedTree, OpenFailuresCarryWin32Errors) {
  struct row {
    std::string name;
    DWORD access, disposition, flags;
    DWORD error;
  } rows[] = {
      {"C:\\missing.txt", 0, OPEN_EXISTING, 0, ERROR_FILE_NOT_FOUND},
      {"C:\\missing\\a.txt", 0, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {"C:\\README\\a.txt", 0, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {"C:\\README\\", 0, OPEN_EXISTING, 0, ERROR_INVALID_NAME},
      {"C:\\Windows", 0, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {"C:\\Windows\\*.exe", 0, OPEN_EXISTING, 0, ERROR_INVALID_NAME},
      {"C:\\Documents and Settings\\x", 0, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {"C:\\Windows\\notepad.exe", GENERIC_WRITE, OPEN_EXISTING, 0, ERROR_ACCESS_DENIED},
      {"C:\\README", 0, CREATE_NEW, 0, ERROR_FILE_EXISTS},
      {"C:\\README", 0, 0, 0, ERROR_INVALID_PARAMETER},
      {"C:\\new.txt", GENERIC_WRITE, CREATE_ALWAYS, 0, ERROR_WRITE_PROTECT},
      {"README", 0, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {"Q:\\README", 0, OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND},
      {"E:\\README", 0, OPEN_EXISTING, 0, ERROR_NOT_READY},
  };
  for (const row& r : rows) {
    EXPECT_EQ(open_error(r.name, r.access, r.disposition, r.flags), r.error) << r.name;
  }
}

TEST_F(SimulatedTree, DirectoriesOpenWithBackupSemantics) {
  EXPECT_EQ(open_error("C:\\Windows\\", 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS), 0u);
  EXPECT_EQ(open_error("C:\\", 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS), 0u);
  EXPECT_EQ(open_error("C:\\Documents and Settings", 0, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT),
            0u)
      << "the junction itself opens; only following it is denied";
}

TEST_F(SimulatedTree, DoubleByteNamesKeepTheirTrailBytes) {
  EXPECT_EQ(list("C:\\" + trail_backslash + "\\*"), (strings{".", "..", "inside.txt"}))
      << "a trail byte 0x5C is no separator";
  EXPECT_EQ(open_error("C:\\" + trail_backslash + "\\inside.txt"), 0u);
  EXPECT_EQ(list("C:\\" + trail_upper_a), (strings{trail_upper_a}))
      << "trail bytes are compared as they are, never case-folded";
  EXPECT_THROW(sim.add_file("C:\\readme", 1, {}), std::invalid_argument)
      << "ASCII names collide regardless of case";
}

TEST_F(SimulatedTree, JunctionsWithATargetAreFollowed) {
  EXPECT_EQ(list("C:\\Links\\*"), (strings{".", "..", "notepad.exe", "System32"}));
}

}  // namespace
}  // namespace dravik::sim::testing
