// The status panel: the status record copied (the item name within its
// field), hand-overs from other threads, and the panel in a window of the
// main window's size: which strips each state inks, the update region that
// wipes an old longer name, the idle move counter, and a screenshot per state.
#include "status/status_panel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "status_test_window.h"

namespace tessarel::testing {
namespace {

WorkingStatus make_status(int32_t state, char volume, const char* item) {
  WorkingStatus s{};
  s.state = state;
  s.volume = volume;
  std::strncpy(s.itemName, item, sizeof s.itemName - 1);
  s.totalUnits = 1000;
  s.doneUnits = 250;
  return s;
}

// Catches fields copied from the wrong place, the activity overwritten by
// an idle state, and a letter widened without its sign.
TEST(StatusPanelRecord, SetStatusCopiesTheRecordAndFollowsBusyStates) {
  status_panel panel;
  panel.set_activity(2);
  const struct {
    int32_t state;
    char volume;
    int32_t activity_after;
    wchar_t letter_after;
  } cases[] = {
      {1, 'C', 1, L'C'}, {0, 'D', 1, L'D'}, {3, 'E', 3, L'E'},
      {7, 'F', 3, L'F'}, {2, 0, 2, 0},      {0, '\xC3', 2, static_cast<wchar_t>(0xFFC3)},
  };
  for (const auto& c : cases) {
    WorkingStatus s = make_status(c.state, c.volume, "pagefile.sys");
    s.moveFrom = 11;
    s.moveTo = 22;
    panel.set_status(&s);
    SCOPED_TRACE(c.state);
    EXPECT_EQ(panel.engine_state(), c.state);
    EXPECT_EQ(panel.activity(), c.activity_after);
    EXPECT_EQ(panel.current_letter(), c.letter_after);
    const status_snapshot snap = panel.snapshot();
    EXPECT_EQ(snap.volume, c.volume);
    EXPECT_EQ(snap.move_from, 11u);
    EXPECT_EQ(snap.move_to, 22u);
    EXPECT_EQ(snap.item_text, L"pagefile.sys");
    EXPECT_EQ(panel.progress().total_units, 1000u);
    EXPECT_EQ(panel.progress().done_units, 250u);
  }
  panel.set_status(nullptr);
  EXPECT_EQ(panel.item_text(), L"pagefile.sys");
}

// Catches a name read past its 507 bytes into the progress numbers that
// follow it in the record when the engine left it unterminated.
TEST(StatusPanelRecord, AnUnterminatedItemNameIsCutAtItsField) {
  WorkingStatus s = make_status(1, 'C', "");
  std::memset(s.itemName, 'x', sizeof s.itemName);
  s.totalUnits = 0x4141414141414141u;  // "AAAAAAAA" right behind the name
  status_panel panel;
  panel.set_status(&s);
  EXPECT_EQ(panel.item_text(), std::wstring(507, L'x'));

  const WorkingStatus chinese = make_status(1, 'C', "\xCB\xE9\xC6\xAC.dat");  // 936
  panel.set_status(&chinese);
  EXPECT_EQ(panel.item_text(), L"碎片.dat");
}

// Catches a hand-over that is not copied whole: the user interface thread
// must only ever see one of the texts the worker handed over.
TEST(StatusPanelRecord, TextsHandedOverByAnotherThreadArriveWhole) {
  status_panel panel;
  const std::wstring a(300, L'a'), b = L"HKEY_CLASSES_ROOT\\CLSID";
  panel.set_item_text(a);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) {
      panel.set_item_text(i % 2 ? a : b);
      panel.set_activity(i % 2 ? 1 : 2);
    }
    done = true;
  });
  int torn = 0;
  while (!done) {
    const status_snapshot s = panel.snapshot();
    if (s.item_text != a && s.item_text != b) ++torn;
    if (s.activity != 1 && s.activity != 2 && s.activity != 0) ++torn;
  }
  worker.join();
  EXPECT_EQ(torn, 0);
}

// One state of the panel as the job machine leaves it.
struct panel_state {
  const wchar_t* name;
  int32_t phase;
  int32_t state;
  int32_t activity;
  uint64_t move_from, move_to;
  const char* item;
  bool activity_line, move_line, item_line;
};

const panel_state states[] = {
    {L"idle", 2, 0, 0, 0, 0, "ntuser.dat", false, false, false},
    {L"done", 3, 2, 0, 0, 0, "ntuser.dat", false, false, false},
    {L"analysing", 2, 1, 1, 0, 0, "System Volume Information", true, false, true},
    {L"defragmenting", 2, 2, 2, 0, 0, "hiberfil.sys", true, true, true},
    {L"defragmenting_move", 2, 2, 2, 184467, 902211, "pagefile.sys", true, true, true},
    {L"optimising_move", 2, 3, 3, 77001, 1203, "\xCB\xE9\xC6\xAC.dat", true, true, true},
    {L"registry_scan", 1, 0, 1, 0, 0, "HKEY_CLASSES_ROOT\\CLSID\\{0000}", true, false, true},
    {L"registry_clean", 1, 0, 2, 0, 0, "HKEY_CURRENT_USER\\Software\\Old", true, false, true},
};

void apply(status_panel& panel, const panel_state& s) {
  volume_job job;
  job.letters = L"C";
  job.phase = s.phase;
  panel.set_job(job);
  WorkingStatus record = make_status(s.state, 'C', s.item);
  record.moveFrom = s.move_from;
  record.moveTo = s.move_to;
  panel.set_status(&record);
  panel.set_activity(s.activity);
}

using StatusPanelWindow = status_window_test;

// Catches a line drawn in a state that should show none (the idle panel
// between jobs) or left out where it belongs, and lines off their strips.
TEST_F(StatusPanelWindow, EachStateInksExactlyItsLinesStrips) {
  const status_layout& l = window.panel.line_layout();
  for (const panel_state& s : states) {
    SCOPED_TRACE(s.name);
    apply(window.panel, s);
    repaint_all();
    EXPECT_EQ(has_ink(l.activity_strip), s.activity_line);
    EXPECT_EQ(has_ink(l.move_strip), s.move_line);
    EXPECT_EQ(has_ink(l.item_strip), s.item_line);
    // Nothing above the panel's strips.
    EXPECT_FALSE(has_ink(RECT{0, 0, 804, l.activity_strip.top}));
    EXPECT_TRUE(save_screenshot(window.handle(), std::wstring(L"status_panel_") + s.name + L".png"));
  }
}

// Catches an update region that leaves part of an old, longer item name on
// screen: after a region repaint the line must look as a full repaint draws it.
TEST_F(StatusPanelWindow, RegionRepaintLeavesNothingOfALongerOldName) {
  apply(window.panel, states[2]);
  window.panel.set_item_text(L"ÅÉÍÓÚ_a_very_long_directory_entry_name_{ABCDEF}_ÄÖÜ_碎片整理.dat");
  repaint_all();
  const RECT band{0, window.panel.line_layout().item_pos.y - 20, 804, 632};
  const std::vector<COLORREF> long_name = capture(band);

  window.panel.set_item_text(L"a.txt");
  InvalidateRgn(window.handle(), window.panel.update_region(), TRUE);
  UpdateWindow(window.handle());
  const std::vector<COLORREF> by_region = capture(band);
  repaint_all();
  const std::vector<COLORREF> full = capture(band);
  EXPECT_NE(long_name, full);
  EXPECT_EQ(by_region, full);

  // The region holds the whole text cell of a name as wide as the line.
  window.panel.set_item_text(L"ÅÉÍÓÚ_a_very_long_directory_entry_name_{ABCDEF}_ÄÖÜ_碎片整理.dat");
  EXPECT_TRUE(region_covers(text_cell(window.panel.line_layout().item_pos,
                                      window.panel.item_text())));
}

// Catches strips too narrow for the texts they repaint: the longest
// activity text and a move between two ten-digit clusters.
TEST_F(StatusPanelWindow, TheStripsHoldTheirLongestTexts) {
  const status_layout& l = window.panel.line_layout();
  for (const wchar_t* text : {L" 正在优化卷 W", L"正在分析卷 W", L"正在整理注册表 "}) {
    EXPECT_TRUE(region_covers(text_cell(l.activity_pos, text))) << text;
  }
  EXPECT_TRUE(region_covers(text_cell(l.move_pos, L"移动 4294967295 到 4294967295")));
  EXPECT_TRUE(region_covers(text_cell(l.move_pos, L"检查中 4294967295")));
}

// Catches a counter that does not advance per repaint, restarts, or
// advances while a move is shown or no move line is drawn.
TEST_F(StatusPanelWindow, IdleMoveLineCountsOnePerRepaint) {
  apply(window.panel, states[3]);
  const uint32_t first = idle_move_number();
  EXPECT_GE(first, 1000u);
  repaint_all();
  repaint_all();
  EXPECT_EQ(idle_move_number(), first + 2);
  apply(window.panel, states[4]);
  repaint_all();
  apply(window.panel, states[2]);
  repaint_all();
  EXPECT_EQ(idle_move_number(), first + 2);
  apply(window.panel, states[3]);
  repaint_all();
  EXPECT_EQ(idle_move_number(), first + 3);
}

// Catches a layout that ignores the window's size or the font's height.
TEST_F(StatusPanelWindow, LayoutAtTheMainWindowsSize) {
  const int h = window.panel.font().metrics().tmHeight;
  ASSERT_GT(h, 0);
  const status_layout expected = lay_out_status(794, 632, h);
  const status_layout& l = window.panel.line_layout();
  EXPECT_EQ(l.item_pos.x, 794);
  EXPECT_EQ(l.item_pos.y, expected.item_pos.y);
  EXPECT_EQ(l.activity_pos.y, expected.activity_pos.y);
  RECT box{};
  EXPECT_EQ(GetRgnBox(window.panel.update_region(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, expected.activity_strip.top);
  EXPECT_EQ(box.right, 794);
  EXPECT_EQ(box.bottom, 632);
}

}  // namespace
}  // namespace tessarel::testing
