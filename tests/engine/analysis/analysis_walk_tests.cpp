// The analysis walk over a volume's tree: what it counts, enters, examines
// and passes over, the system-folder flag, exclusions, stops and paths that
// do not fit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "analysis/analysis_walk.h"

namespace dravik::testing {
namespace {

using sim::file_run;

class AnalysisWalk : public AnalysisFixture {};

// The records one analysis walk works with, without a loaded engine.
struct standalone_walk {
  job_control job;
  status_feed status;
  volume_tables volumes;
  walk_state walk;
  cell_cursor cursor;
  extent_buffer extents;
  report_strings reports;
  exclusion_index exclusions;
  const analysis_walk_records records{job,    status,  volumes, walk,
                                      cursor, extents, reports, exclusions};
};

// Catches read-only or sparse directories entered, read-only or sparse files
// examined, a junction followed (here back to the root: the walk would count
// the volume again and again), and names beginning with "." counted.
TEST_F(AnalysisWalk, CountsEveryEntryButEntersAndExaminesOnlyWhatItMay) {
  sim.add_volume('C', test_volume());
  sim.add_directory("C:\\ro", FILE_ATTRIBUTE_READONLY);
  sim.add_file("C:\\ro\\inner.txt", 4096, {{100, 1}});
  sim.add_directory("C:\\sparse", FILE_ATTRIBUTE_SPARSE_FILE);
  sim.add_file("C:\\sparse\\inner.txt", 4096, {{110, 1}});
  sim.add_directory("C:\\loop", FILE_ATTRIBUTE_REPARSE_POINT);
  sim.set_junction_target("C:\\loop", "C:\\");
  sim.add_directory("C:\\.git");
  sim.add_file("C:\\.git\\config", 4096, {{120, 1}});
  sim.add_file("C:\\.profile", 4096, {{130, 1}});
  sim.add_file("C:\\readonly.txt", 4096, {{140, 1}}, FILE_ATTRIBUTE_READONLY);
  sim.add_file("C:\\sparse.bin", 4096, {{150, 1}}, FILE_ATTRIBUTE_SPARSE_FILE);
  sim.add_file("C:\\plain.txt", 4096, {{10, 1}});
  sim.add_file("C:\\docs\\letter.txt", 4096, {{20, 1}});
  load();
  analyse();

  EXPECT_EQ(walk().directories_scanned, 4u) << "ro, sparse, loop and docs";
  EXPECT_EQ(walk().files_scanned, 4u) << "readonly.txt, sparse.bin, plain.txt, letter.txt";
  const std::vector<std::pair<int, cell_counts>> expected = {{9, {1, 0, 0, 0, 1, 0}},
                                                            {19, {1, 0, 0, 0, 1, 0}}};
  EXPECT_EQ(used_cells(), expected);
  EXPECT_EQ(list(19), std::vector<std::string>{"C:\\docs\\letter.txt"});
}

// Catches a flag compared case-sensitively, one set only for the System32
// directory itself and not below it, and one not cleared on the way back out.
TEST_F(AnalysisWalk, SystemFolderFlagFollowsThePathInAnyCase) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\Windows\\sYsTeM32\\a.dll", 4096, {{10, 1}});
  sim.add_file("C:\\Windows\\sYsTeM32\\drivers\\b.sys", 4096, {{20, 1}});
  sim.add_file("C:\\Windows\\zz_after.txt", 4096, {{30, 1}});
  sim.add_file("C:\\root.txt", 4096, {{40, 1}});
  sim.add_file("C:\\OldSYSTEM32Copy\\c.dll", 4096, {{50, 1}});
  sim.add_file("C:\\system\\d.dll", 4096, {{60, 1}});
  load();
  analyse();

  EXPECT_EQ(cell(9).system_count, 1) << "a file directly in System32";
  EXPECT_EQ(cell(19).system_count, 1) << "a file in a directory below it";
  EXPECT_EQ(cell(29).system_count, 0) << "the parent's file, met after coming back out";
  EXPECT_EQ(cell(39).system_count, 0) << "a file at the root";
  EXPECT_EQ(cell(49).system_count, 1) << "a name that contains system32";
  EXPECT_EQ(cell(59).system_count, 0);
  for (int index : {9, 19, 29, 39, 49, 59}) EXPECT_EQ(cell(index).contiguous_count, 1) << index;
}

// Catches folder entries matched as substrings or case-sensitively, excluded
// entries left out of the counts, and built-in folders not excluded.
TEST_F(AnalysisWalk, ExclusionsMatchWholeNamesIgnoringCase) {
  write("preset.ini", "[folder]\r\nTemp\r\n[file]\r\nskip.me\r\n[type]\r\nbak");
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\TEMP\\in_temp.txt", 4096, {{10, 1}});
  sim.add_file("C:\\MyTemp\\in_mytemp.txt", 4096, {{20, 1}});
  sim.add_file("C:\\Temporary\\in_temporary.txt", 4096, {{30, 1}});
  sim.add_file("C:\\System Volume Information\\tracking.log", 4096, {{40, 1}});
  sim.add_file("C:\\a\\SKIP.ME", 4096, {{50, 1}});
  sim.add_file("C:\\a\\skip.me.too", 4096, {{60, 1}});
  sim.add_file("C:\\a\\old.BAK", 4096, {{70, 1}});
  load();
  analyse();

  EXPECT_EQ(walk().directories_scanned, 5u) << "excluded directories still count";
  EXPECT_EQ(walk().files_scanned, 5u) << "excluded files still count; those inside excluded "
                                         "directories are never met";
  EXPECT_EQ(cell(9).in_use, 0) << "TEMP equals Temp ignoring case";
  EXPECT_EQ(cell(19).in_use, 1) << "MyTemp merely contains Temp";
  EXPECT_EQ(cell(29).in_use, 1) << "Temporary merely begins with Temp";
  EXPECT_EQ(cell(39).in_use, 0) << "built-in exclusion";
  EXPECT_EQ(cell(49).in_use, 0) << "file entry, other case";
  EXPECT_EQ(cell(59).in_use, 1) << "a file entry is a whole name";
  EXPECT_EQ(cell(69).in_use, 0) << "type entry";
}

// Catches a stop that is only seen at the next directory, or one that leaks
// the open searches of the levels it unwinds (the fixture checks handles).
TEST_F(AnalysisWalk, StopEndsTheWalkBeforeTheNextEntry) {
  sim.add_volume('C', test_volume());
  sim.add_file("C:\\deep\\er\\a.txt", 4096, {{10, 1}});
  sim.add_file("C:\\deep\\er\\b.txt", 4096, {{20, 1}});
  sim.add_file("C:\\deep\\er\\c.txt", 4096, {{30, 1}});
  sim.add_file("C:\\later\\d.txt", 4096, {{40, 1}});
  sim.add_file("C:\\z.txt", 4096, {{50, 1}});
  load();
  io.on_entry = [this](const char* name) {
    if (std::string(name) == "b.txt") engine().job.stop_requested = 1;
  };
  analyse();

  EXPECT_EQ(walk().files_scanned, 1u);
  EXPECT_EQ(walk().directories_scanned, 2u);
  const std::vector<std::pair<int, cell_counts>> expected = {{9, {1, 0, 0, 0, 1, 0}}};
  EXPECT_EQ(used_cells(), expected);
  EXPECT_TRUE(folder.exists("analysisreport1.html")) << "a stopped walk still gets its page";
}

// A volume_io whose every directory holds one directory and one file with
// names of 200 bytes, however deep the walk goes; files never open. It
// records the path of every file the walk tries to open.
class endless_tree_io final : public volume_io {
 public:
  std::vector<std::string> opened;
  std::vector<std::string> patterns;

  UINT get_drive_type(const char*) override { return DRIVE_FIXED; }
  BOOL get_volume_information(const char*, char*, DWORD, DWORD*, DWORD*, DWORD*, char*,
                              DWORD) override {
    return FALSE;
  }
  BOOL get_disk_free_space(const char*, DWORD*, DWORD*, DWORD*, DWORD*) override { return FALSE; }
  HANDLE create_file(const char* name, DWORD, DWORD, DWORD, DWORD) override {
    opened.emplace_back(name);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) override {
    patterns.emplace_back(pattern);
    entry(data, 0);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x5000 + patterns.size()));
  }
  BOOL find_next_file(HANDLE, WIN32_FIND_DATAA* data) override {
    if (++given_ > 1) {
      given_ = 0;
      return FALSE;
    }
    entry(data, 1);
    return TRUE;
  }
  BOOL find_close(HANDLE) override {
    ++closed;
    return TRUE;
  }
  BOOL device_io_control(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD*) override {
    return FALSE;
  }
  BOOL get_file_size_ex(HANDLE, LARGE_INTEGER*) override { return FALSE; }
  BOOL close_handle(HANDLE) override { return TRUE; }
  DWORD get_last_error() override { return ERROR_FILE_NOT_FOUND; }
  BOOL disable_fs_redirection(void**) override { return FALSE; }
  BOOL revert_fs_redirection(void*) override { return FALSE; }

  int closed = 0;

 private:
  // Each level answers its directory first, then its file; a deeper level
  // starts its own count, as a real search would.
  void entry(WIN32_FIND_DATAA* data, int which) {
    *data = WIN32_FIND_DATAA{};
    std::string name(200, which == 0 ? 'd' : 'f');
    std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
    data->dwFileAttributes = which == 0 ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    data->nFileSizeLow = 4096;
    given_ = which;
  }

  int given_ = 0;
};

// Catches a path built past the walk's 1000-byte buffer: entries whose full
// path does not fit are counted and passed over, the others handed on whole.
TEST(AnalysisWalkPaths, EntriesWhosePathDoesNotFitArePassedOver) {
  endless_tree_io io;
  volume_io* previous = install_volume_io(&io);
  {
    standalone_walk context;
    context.job.stop_requested = 0;
    context.volumes[0].letter_string = "C";
    context.job.working_slot = 0;
    analyse_tree_ntfs(context.records);

    // Directory paths at 3 + 201k bytes: entered while "path\*" fits.
    EXPECT_EQ(context.walk.directories_scanned, 5u);
    ASSERT_EQ(io.patterns.size(), 5u);
    EXPECT_EQ(io.patterns.back().size(), 3u + 4 * 201 + 1);
    EXPECT_EQ(io.closed, 5) << "every search closed";
    EXPECT_EQ(context.walk.files_scanned, 5u);
    ASSERT_EQ(io.opened.size(), 4u) << "the file of the deepest level does not fit";
    for (const std::string& path : io.opened) EXPECT_LT(path.size(), 1000u);
    // Depth first: the deepest file that fits is opened first.
    EXPECT_EQ(io.opened.front(), io.patterns[3].substr(0, io.patterns[3].size() - 1) +
                                     std::string(200, 'f'));
  }
  install_volume_io(previous);
}

}  // namespace
}  // namespace dravik::testing
