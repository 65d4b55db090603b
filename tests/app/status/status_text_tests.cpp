// The status area's texts and geometry from plain values: which lines each
// engine state shows and what they say, the move counter, the volume facts,
// the line positions and repaint strips, and engine texts read only within
// their fields.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "status/ansi_field_text.h"
#include "status/status_layout.h"
#include "status/status_lines.h"
#include "status/volume_info_lines.h"

namespace tessarel::testing {
namespace {

// Catches a line shown in the wrong phase or state (a registry phase that
// follows the engine's state, an analysis that shows a move line) and a
// changed text: the optimising text's leading blank, the cleaning text's
// trailing blank.
TEST(StatusLines, ChoiceAndActivityTextPerPhaseAndState) {
  const struct {
    int32_t phase, state, activity;
    char volume;
    status_line_set lines;
    const wchar_t* activity_text;
  } cases[] = {
      {0, 1, 1, 'C', {}, L""},
      {3, 2, 2, 'C', {}, L""},
      {2, 0, 2, 'C', {}, L""},
      {2, 4, 1, 'C', {}, L""},
      {2, 1, 1, 'C', {true, false, true}, L"正在分析卷 C"},
      {2, 2, 2, 'D', {true, true, true}, L"正在整理卷 D"},
      {2, 3, 3, 'E', {true, true, true}, L" 正在优化卷 E"},
      {2, 1, 0, 'c', {true, false, true}, L"正在分析卷 c"},
      {1, 0, 1, 0, {true, false, true}, L"正在分析注册表"},
      {1, 0, 2, 0, {true, false, true}, L"正在整理注册表 "},
      {1, 3, 3, 'C', {}, L""},
      {1, 1, 0, 'C', {}, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "phase " << c.phase << " state " << c.state
                                    << " activity " << c.activity);
    status_snapshot s;
    s.phase = c.phase;
    s.state = c.state;
    s.activity = c.activity;
    s.volume = c.volume;
    s.move_from = 5;
    const status_line_set lines = lines_to_draw(s);
    EXPECT_EQ(lines.activity, c.lines.activity);
    EXPECT_EQ(lines.move, c.lines.move);
    EXPECT_EQ(lines.item, c.lines.item);
    EXPECT_EQ(activity_line_text(s), c.activity_text);
  }
}

// Catches a counter that restarts, counts while a move is shown, or numbers
// shown unsigned or grouped.
TEST(StatusLines, MoveLineShowsBothNumbersOrCountsIdleRepaints) {
  uint32_t counter = 1000;
  const struct {
    uint64_t from, to;
    const wchar_t* text;
    uint32_t counter_after;
  } steps[] = {
      {0, 0, L"检查中 1000", 1001},
      {0, 0, L"检查中 1001", 1002},
      {5, 9, L"移动 5 到 9", 1002},
      {0, 7, L"移动 0 到 7", 1002},
      {1234567, 0, L"移动 1234567 到 0", 1002},
      {uint64_t{1} << 63, ~uint64_t{0}, L"移动 -9223372036854775808 到 -1", 1002},
      {0, 0, L"检查中 1002", 1003},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(move_line_text(s.from, s.to, counter), s.text);
    EXPECT_EQ(counter, s.counter_after);
  }
  counter = 0xFFFFFFFFu;
  EXPECT_EQ(move_line_text(0, 0, counter), L"检查中 4294967295");
  EXPECT_EQ(move_line_text(0, 0, counter), L"检查中 0");
}

bool same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Catches lines placed off their anchor, and an item strip that starts below
// the item line's top (a band of the old name would stay on screen).
TEST(StatusLayout, LinesAndStripsAtTheMainWindowsSizes) {
  const struct {
    int width, height, h;
    POINT item, move, activity;
    RECT item_strip, move_strip, activity_strip;
  } cases[] = {
      {804, 600, 13, {794, 585}, {794, 557}, {794, 544},
       {0, 585, 794, 600}, {594, 557, 794, 570}, {644, 544, 794, 557}},
      {804, 632, 13, {794, 617}, {794, 589}, {794, 576},
       {0, 617, 794, 632}, {594, 589, 794, 602}, {644, 576, 794, 589}},
      {804, 632, 16, {794, 614}, {794, 583}, {794, 567},
       {0, 614, 794, 632}, {594, 583, 794, 599}, {644, 567, 794, 583}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << ", h " << c.h);
    const status_layout l = lay_out_status(c.width - 10, c.height, c.h);
    EXPECT_EQ(l.item_pos.x, c.item.x);
    EXPECT_EQ(l.item_pos.y, c.item.y);
    EXPECT_EQ(l.move_pos.x, c.move.x);
    EXPECT_EQ(l.move_pos.y, c.move.y);
    EXPECT_EQ(l.activity_pos.x, c.activity.x);
    EXPECT_EQ(l.activity_pos.y, c.activity.y);
    EXPECT_TRUE(same(l.item_strip, c.item_strip));
    EXPECT_TRUE(same(l.move_strip, c.move_strip));
    EXPECT_TRUE(same(l.activity_strip, c.activity_strip));
    // Every line's text cell lies inside its strip.
    EXPECT_LE(l.item_strip.top, l.item_pos.y);
    EXPECT_GE(l.item_strip.bottom, l.item_pos.y + c.h);
  }
}

// Catches a read that runs past a field without a NUL: the field ends at a
// page the process may not read, so reading one byte too far crashes.
TEST(AnsiFieldText, StopsAtTheFieldsEndWithoutReadingPastIt) {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  const DWORD page = system.dwPageSize;
  auto* pages = static_cast<char*>(
      VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  const std::size_t size = 507;
  char* field = pages + page - size;
  std::memset(field, 'n', size);
  EXPECT_EQ(ansi_field_text(field, size), std::wstring(size, L'n'));
  field[size - 1] = '\0';
  EXPECT_EQ(ansi_field_text(field, size), std::wstring(size - 1, L'n'));
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST(AnsiFieldText, ConvertsTheAnsiCodePageUpToTheFirstNul) {
  const struct {
    const char* bytes;
    std::size_t size;
    const wchar_t* text;
  } cases[] = {
      {"abc\0xyz", 7, L"abc"},
      {"\0abc", 4, L""},
      {"abcdef", 3, L"abc"},
      {"\xD5\xFD\xD4\xDA.txt", 8, L"正在.txt"},  // code page 936
      {nullptr, 5, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(ansi_field_text(c.bytes, c.size), c.text) << c.size;
}

VolumeInfo sample_volume() {
  VolumeInfo v{};
  std::strcpy(v.fileSystem, "NTFS");
  std::strcpy(v.totalSizeText, "465.7 GB");
  std::strcpy(v.usedSizeText, "120.25 GB");
  v.clustersPerCell = 30523;
  v.freeClusters = 90598131;
  v.usedClusters = 31523469;
  v.bytesPerCluster = 4096;
  return v;
}

// Catches lines out of order, grouped or unsigned counts, a cluster size
// shown signed, and a letter that is not the one asked for.
TEST(VolumeInfoLines, EightLinesInOrderFromTheRecord) {
  const VolumeInfo v = sample_volume();
  const std::vector<std::wstring> expected = {
      L"4096 每簇字节数", L"30523 每块簇数",    L"可用簇:90598131", L"已用簇:31523469",
      L"大小:465.7 GB",   L"已用:120.25 GB", L"文件系统:NTFS",   L"卷:D",
  };
  EXPECT_EQ(volume_info_lines(&v, L'D'), expected);

  VolumeInfo extreme = v;
  extreme.bytesPerCluster = 0xFFFFFFFFu;
  extreme.clustersPerCell = 0;
  extreme.freeClusters = ~uint64_t{0};
  extreme.usedClusters = uint64_t{1} << 63;
  const auto lines = volume_info_lines(&extreme, L'C');
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], L"4294967295 每簇字节数");
  EXPECT_EQ(lines[1], L"0 每块簇数");
  EXPECT_EQ(lines[2], L"可用簇:-1");
  EXPECT_EQ(lines[3], L"已用簇:-9223372036854775808");
}

// Catches texts read into the next field when the engine filled one to its
// last byte, and a letter taken from the wrong byte or widened unsigned.
TEST(VolumeInfoLines, TextsStopAtTheirFieldsAndTheLetterIsItsLowByte) {
  VolumeInfo v = sample_volume();
  std::memcpy(v.fileSystem, "ABCDEFGHIJ", 10);  // no NUL: totalSizeText follows
  std::memset(v.usedSizeText, '9', sizeof v.usedSizeText);
  const auto lines = volume_info_lines(&v, static_cast<wchar_t>(0x0145));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4], L"大小:465.7 GB");
  EXPECT_EQ(lines[5], L"已用:" + std::wstring(100, L'9'));
  EXPECT_EQ(lines[6], L"文件系统:ABCDEFGHIJ");
  EXPECT_EQ(lines[7], L"卷:E");
  EXPECT_EQ(volume_info_lines(&v, static_cast<wchar_t>(0xC3))[7],
            std::wstring(L"卷:") + static_cast<wchar_t>(0xFFC3));
}

TEST(VolumeInfoLines, NoRecordGivesTheOneFailureLine) {
  EXPECT_EQ(volume_info_lines(nullptr, L'C'), std::vector<std::wstring>{L"打开卷失败."});
}

}  // namespace
}  // namespace tessarel::testing
