// The status area's texts and geometry from plain values: the lines each
// engine state shows and their texts, the move counter, the volume facts,
// the line positions and strips, and engine texts read only within their
// fields.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "status/ansi_field_text.h"
#include "status/status_layout.h"
#include "status/status_lines.h"
#include "status/volume_info_lines.h"

namespace tessarel::testing {
namespace {

// Catches a line shown in the wrong phase or state (a registry phase that
// follows the engine state, an analysis with a move line) and changed texts:
// the optimising text's leading blank, the cleaning text's trailing blank.
TEST(StatusLines, ChoiceAndActivityTextPerPhaseAndState) {
  const struct {
    int32_t phase, state, activity;
    char volume;
    status_line_set lines;
    const wchar_t* text;
  } cases[] = {
      {0, 1, 1, 'C', {}, L""},
      {3, 2, 2, 'C', {}, L""},
      {2, 0, 2, 'C', {}, L""},
      {2, 4, 1, 'C', {}, L""},
      {2, 1, 1, 'C', {true, false, true}, L"正在分析卷 C"},
      {2, 2, 2, 'D', {true, true, true}, L"正在整理卷 D"},
      {2, 3, 3, 'E', {true, true, true}, L" 正在优化卷 E"},
      {1, 0, 1, 0, {true, false, true}, L"正在分析注册表"},
      {1, 0, 2, 0, {true, false, true}, L"正在整理注册表 "},
      {1, 3, 3, 'C', {}, L""},
      {1, 1, 0, 'C', {}, L""},
  };
  for (const auto& c : cases) {
    status_snapshot s;
    s.phase = c.phase;
    s.state = c.state;
    s.activity = c.activity;
    s.volume = c.volume;
    EXPECT_TRUE(lines_to_draw(s) == c.lines) << c.phase << c.state << c.activity;
    EXPECT_EQ(activity_line_text(s), c.text);
  }
}

// Catches a counter that restarts or counts while a move is shown, and
// numbers shown unsigned.
TEST(StatusLines, MoveLineShowsBothNumbersOrCountsIdleRepaints) {
  uint32_t counter = 1000;
  const struct {
    uint64_t from, to;
    const wchar_t* text;
  } steps[] = {
      {0, 0, L"检查中 1000"},
      {0, 0, L"检查中 1001"},
      {5, 9, L"移动 5 到 9"},
      {0, 7, L"移动 0 到 7"},
      {uint64_t{1} << 63, ~uint64_t{0}, L"移动 -9223372036854775808 到 -1"},
      {0, 0, L"检查中 1002"},
  };
  for (const auto& s : steps) EXPECT_EQ(move_line_text(s.from, s.to, counter), s.text);
  EXPECT_EQ(counter, 1003u);
}

// Catches lines off their anchor, and an item strip that starts below the
// item line's top, which leaves a band of a longer old name on screen.
TEST(StatusLayout, LinesAndStripsAtTheMainWindowsSizes) {
  const struct {
    int height;
    LONG item, move, activity;
    RECT item_strip, move_strip, activity_strip;
  } cases[] = {
      {600, 585, 557, 544, {0, 585, 794, 600}, {594, 557, 794, 570}, {644, 544, 794, 557}},
      {632, 617, 589, 576, {0, 617, 794, 632}, {594, 589, 794, 602}, {644, 576, 794, 589}},
  };
  for (const auto& c : cases) {
    const status_layout l = lay_out_status(804 - 10, c.height, 13);
    EXPECT_EQ(l.item_pos.y, c.item);
    EXPECT_EQ(l.move_pos.y, c.move);
    EXPECT_EQ(l.activity_pos.y, c.activity);
    EXPECT_TRUE(EqualRect(&l.item_strip, &c.item_strip)) << c.height;
    EXPECT_TRUE(EqualRect(&l.move_strip, &c.move_strip)) << c.height;
    EXPECT_TRUE(EqualRect(&l.activity_strip, &c.activity_strip)) << c.height;
  }
}

// Catches a read past a field without a NUL: the field ends where the
// process may not read, so one byte too far crashes.
TEST(AnsiFieldText, StopsAtTheFieldsEndWithoutReadingPastIt) {
  const DWORD page = 4096;
  auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  char* field = pages + page - 507;
  std::memset(field, 'n', 507);
  EXPECT_EQ(ansi_field_text(field, 507), std::wstring(507, L'n'));
  std::memcpy(field, "\xD5\xFD\xD4\xDA\0", 5);  // code page 936
  EXPECT_EQ(ansi_field_text(field, 507), L"正在");
  VirtualFree(pages, 0, MEM_RELEASE);
}

// Catches lines out of order, counts grouped or of the wrong sign, texts
// read into the next field, a letter taken from the wrong byte, and a
// failure that keeps numbers.
TEST(VolumeInfoLines, EightLinesFromTheRecordOrTheFailureLine) {
  VolumeInfo v{};
  std::memcpy(v.fileSystem, "ABCDEFGHIJ", 10);  // no NUL: totalSizeText follows
  std::strcpy(v.totalSizeText, "465.7 GB");
  std::strcpy(v.usedSizeText, "120.25 GB");
  v.clustersPerCell = 30523;
  v.freeClusters = 90598131;
  v.usedClusters = uint64_t{1} << 63;
  v.bytesPerCluster = 0xFFFFFFFFu;
  const std::vector<std::wstring> expected = {
      L"4294967295 每簇字节数", L"30523 每块簇数", L"可用簇:90598131",
      L"已用簇:-9223372036854775808", L"大小:465.7 GB", L"已用:120.25 GB",
      L"文件系统:ABCDEFGHIJ", L"卷:E",
  };
  EXPECT_EQ(volume_info_lines(&v, static_cast<wchar_t>(0x0145)), expected);
  EXPECT_EQ(volume_info_lines(&v, static_cast<wchar_t>(0xC3))[7],
            std::wstring(L"卷:") + static_cast<wchar_t>(0xFFC3));
  EXPECT_EQ(volume_info_lines(nullptr, L'C'), std::vector<std::wstring>{L"打开卷失败."});
}

}  // namespace
}  // namespace tessarel::testing
