#include "options/preset_file.h"

#include "files/file_seam.h"
#include "scratch_folder/scratch_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace dravik::testing {
namespace {

using dravik::file_exclusion;
using dravik::file_exclusion_kind;
using dravik::format_presets;
using dravik::parse_presets;
using dravik::preset_contents;
using dravik::split_entries;
using tessarel::testing::scratch_folder;

using strings = std::vector<std::string>;

file_exclusion file(const char* name) { return {name, file_exclusion_kind::file}; }
file_exclusion type(const char* name) { return {name, file_exclusion_kind::type}; }

// The file seam's calls, made for real and journalled: w(rite), f(lush) and
// m(ove), each with the handle or the move flags.
struct seam_call {
  char kind;
  HANDLE file;
  DWORD flags;
};
std::vector<seam_call> seam_calls;

BOOL journalled_write(HANDLE file, const void* data, DWORD size, DWORD* written) {
  seam_calls.push_back({'w', file, 0});
  return dravik::system_file_seam().write_file(file, data, size, written);
}
BOOL journalled_flush(HANDLE file) {
  seam_calls.push_back({'f', file, 0});
  return dravik::system_file_seam().flush_file_buffers(file);
}
BOOL journalled_move(const char* from, const char* to, DWORD flags) {
  seam_calls.push_back({'m', nullptr, flags});
  return dravik::system_file_seam().move_file_ex(from, to, flags);
}

class journalled_file_seam {
 public:
  journalled_file_seam()
      : previous_(dravik::install_file_seam({&journalled_write, &journalled_flush,
                                             &journalled_move})) {
    seam_calls.clear();
  }
  ~journalled_file_seam() { dravik::install_file_seam(previous_); }
  journalled_file_seam(const journalled_file_seam&) = delete;
  journalled_file_seam& operator=(const journalled_file_seam&) = delete;

 private:
  dravik::file_seam previous_;
};

TEST(PresetParsing, FillsTextsAndListsSectionBySection) {
  const preset_contents c =
      parse_presets("[folder]\r\na\r\nb\r\n[file]\r\n[type]\r\nexe");
  EXPECT_EQ(c.folder_text, "a;b;");
  EXPECT_EQ(c.file_text, "");
  EXPECT_EQ(c.type_text, "exe;");
  EXPECT_EQ(c.folders, (strings{"a", "b"}));
  EXPECT_EQ(c.files, (std::vector<file_exclusion>{type("exe")}));
}

// Sections may repeat and come in any order; file and type entries share
// one list in the order of their lines.
TEST(PresetParsing, RepeatedSectionsAppendInLineOrder) {
  const preset_contents c =
      parse_presets("[type]\r\nexe\r\n[file]\r\nx.txt\r\n[folder]\r\nTemp\r\n[type]\r\ndll\r\n");
  EXPECT_EQ(c.type_text, "exe;dll;");
  EXPECT_EQ(c.file_text, "x.txt;");
  EXPECT_EQ(c.files, (std::vector<file_exclusion>{type("exe"), file("x.txt"), type("dll")}));
  EXPECT_EQ(c.folders, (strings{"Temp"}));
}

TEST(PresetParsing, LinesBeforeTheFirstHeaderAreIgnored) {
  const preset_contents c = parse_presets("stray\r\nTemp\r\n[folder]\r\nkept");
  EXPECT_EQ(c.folder_text, "kept;");
  EXPECT_EQ(c.folders, (strings{"kept"}));
}

// Headers are case-sensitive and exact after the cut at the first "]". A
// line is first cut at a NUL byte: one left in an entry reached the dialog
// whole but the walks as the empty text before it, which the defragmentation
// walk found "contained" in every folder name and skipped them all.
TEST(PresetParsing, BracketLinesAreCutAfterTheirFirstBracket) {
  struct bracket_case {
    std::string line;
    const char* folder_text;  // what the line adds to a folder section
  };
  const bracket_case cases[] = {
      {"[Folder]", "[Folder];"},
      {"abc]def", "abc];"},
      {"x]]", "x];"},
      {"[file]trailing", nullptr},  // a header: switches to the file section
      {"plain", "plain;"},
      {std::string("\0Temp", 5), ";"},
      {std::string("ab\0]c", 5), "ab;"},
  };
  for (const bracket_case& c : cases) {
    const preset_contents contents = parse_presets("[folder]\r\n" + c.line + "\r\nz");
    if (c.folder_text) {
      EXPECT_EQ(contents.folder_text, std::string(c.folder_text) + "z;") << c.line;
      ASSERT_EQ(contents.folders.size(), 2u) << c.line;
      EXPECT_EQ(contents.folders[0] + ";", c.folder_text) << "the walks' entry is the dialog's";
    } else {
      EXPECT_EQ(contents.folder_text, "") << c.line;
      EXPECT_EQ(contents.file_text, "z;") << c.line;
    }
  }
}

// In code page 936 the second byte of a character may be 0x5D, the byte of
// "]"; cutting there would corrupt the entry and every later save of it.
TEST(PresetParsing, SecondByteOfAChineseCharacterIsNoBracket) {
  ASSERT_EQ(GetACP(), 936u);
  const std::string name = "\xC2\xBC\x93\x5D" "\xCE\xC4";  // 录 揮 文
  const preset_contents c = parse_presets("[folder]\r\n" + name);
  EXPECT_EQ(c.folders, (strings{name}));
}

// An empty line in a section is an empty entry; it round-trips as ";".
TEST(PresetParsing, EmptyLinesAreEmptyEntries) {
  const preset_contents c = parse_presets("[folder]\r\n\r\nb\r\n\r\n[file]");
  EXPECT_EQ(c.folder_text, ";b;;");
  EXPECT_EQ(c.folders, (strings{"", "b", ""}));
}

TEST(PresetParsing, AcceptsBareLineFeedsAndAFinalLineEnd) {
  EXPECT_EQ(parse_presets("[folder]\na\nb\n").folders, (strings{"a", "b"}));
  EXPECT_EQ(parse_presets("[folder]\r\na\r\n").folder_text, "a;");
}

TEST(PresetParsing, BlanksInTheFileAreKept) {
  EXPECT_EQ(parse_presets("[folder]\r\nLocal Settings").folders, (strings{"Local Settings"}));
}

TEST(PresetParsing, EntriesTooLongForTheListStayInTheText) {
  const std::string long_name(300, 'n');
  const preset_contents c = parse_presets("[file]\r\n" + long_name + "\r\nshort");
  EXPECT_EQ(c.file_text, long_name + ";short;");
  EXPECT_EQ(c.files, (std::vector<file_exclusion>{file("short")}));
}

TEST(PresetEntries, SplitsAtSemicolonsAfterRemovingEveryBlank) {
  struct split_case {
    const char* text;
    strings entries;
  };
  const split_case cases[] = {
      {"Local Settings;Temp", {"LocalSettings", "Temp"}},
      {" a ; b c ;", {"a", "bc"}},
      {"a;;b", {"a", "", "b"}},
      {";a", {"", "a"}},
      {";", {""}},
      {"a;", {"a"}},
      {"", {}},
      {"   ", {}},
      {"exe", {"exe"}},
  };
  for (const split_case& c : cases) EXPECT_EQ(split_entries(c.text), c.entries) << c.text;
}

TEST(PresetFormat, WritesAllHeadersAndNoFinalLineEnd) {
  EXPECT_EQ(format_presets({"a", "b"}, {}, {"exe"}),
            "[folder]\r\na\r\nb\r\n[file]\r\n[type]\r\nexe");
  EXPECT_EQ(format_presets({}, {}, {}), "[folder]\r\n[file]\r\n[type]");
  EXPECT_EQ(format_presets({"", "x"}, {"f.txt"}, {}), "[folder]\r\n\r\nx\r\n[file]\r\nf.txt\r\n[type]");
}

// What the dialog shows after a load, written back unchanged, gives the file
// it was read from.
TEST(PresetFormat, ReadThenWrittenGivesTheSameFile) {
  const std::string files[] = {
      "[folder]\r\na\r\nb\r\n[file]\r\n[type]\r\nexe",
      "[folder]\r\n[file]\r\n[type]",
      "[folder]\r\n\r\nx\r\n[file]\r\nThumbs.db\r\ny.txt\r\n[type]\r\nrar\r\ndll",
  };
  for (const std::string& original : files) {
    const preset_contents c = parse_presets(original);
    EXPECT_EQ(format_presets(split_entries(c.folder_text), split_entries(c.file_text),
                             split_entries(c.type_text)),
              original);
  }
}

// Also catches a rename that can reach the disk before the new bytes do (a
// power cut then leaves an empty "preset.ini"): the temporary file is flushed
// through its own handle after its last write, then renamed written through.
TEST(PresetFile, WriteReplacesTheWholeFile) {
  const scratch_folder folder;
  folder.write("preset.ini", std::string(100, 'x'));
  {
    const journalled_file_seam journal;
    ASSERT_TRUE(dravik::write_preset_file(folder.path() + "preset.ini",
                                          "[folder]\r\n[file]\r\n[type]"));
  }
  std::string kinds;
  for (const seam_call& call : seam_calls) kinds += call.kind;
  ASSERT_EQ(kinds, "wfm");
  EXPECT_EQ(seam_calls[1].file, seam_calls[0].file);
  EXPECT_EQ(seam_calls[2].flags, DWORD{MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH});
  EXPECT_EQ(folder.read("preset.ini"), "[folder]\r\n[file]\r\n[type]");
  std::string bytes;
  ASSERT_TRUE(dravik::read_preset_file(folder.path() + "preset.ini", bytes));
  EXPECT_EQ(bytes, "[folder]\r\n[file]\r\n[type]");
}

// The new file is written whole beside the old one before it replaces it:
// a write that fails (here: its temporary name is taken by a folder) leaves
// the old file byte for byte, as the message to the user says.
TEST(PresetFile, FailedWriteLeavesTheOldFile) {
  const scratch_folder folder;
  folder.write("preset.ini", "[folder]\r\nold");
  ASSERT_TRUE(CreateDirectoryA((folder.path() + "preset.ini.tmp").c_str(), nullptr));
  EXPECT_FALSE(dravik::write_preset_file(folder.path() + "preset.ini", "[folder]\r\nnew"));
  EXPECT_EQ(folder.read("preset.ini"), "[folder]\r\nold");
  RemoveDirectoryA((folder.path() + "preset.ini.tmp").c_str());
}

}  // namespace
}  // namespace dravik::testing
