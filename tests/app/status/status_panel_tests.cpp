// The status panel and the volume lines: the engine's records copied (the
// item name within its field), texts handed over by another thread, and both
// panels in a white window of the main window's size: the strips each state
// inks, a region repaint after a longer name, a screenshot per state.
#include "status/status_panel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "engine/engine_binding.h"
#include "engine/stand_in_engine_support.h"
#include "gui_test_support/gui_test_support.h"
#include "status/volume_info_lines.h"
#include "status/volume_info_panel.h"
#include "vemo/frame.h"

namespace tessarel::testing {
namespace {

WorkingStatus make_status(int32_t state, char volume, uint64_t from, uint64_t to) {
  WorkingStatus s{};
  s.state = state;
  s.volume = volume;
  std::strcpy(s.itemName, "\xCB\xE9\xC6\xAC.dat");  // code page 936
  s.totalUnits = 1000;
  s.doneUnits = 250;
  s.moveFrom = from;
  s.moveTo = to;
  return s;
}

// Catches fields copied from the wrong place, the activity overwritten by
// an idle state, a letter widened without its sign, and a name read past its
// 507 bytes into the progress numbers behind it.
TEST(StatusPanelRecord, SetStatusCopiesTheRecord) {
  status_panel panel;
  panel.set_activity(2);
  const struct {
    int32_t state;
    char volume;
    int32_t activity;
    wchar_t letter;
  } cases[] = {{1, 'C', 1, L'C'}, {0, 'D', 1, L'D'}, {3, 'E', 3, L'E'}, {7, '\xC3', 3, 0xFFC3}};
  for (const auto& c : cases) {
    const WorkingStatus s = make_status(c.state, c.volume, 11, 22);
    panel.set_status(&s);
    EXPECT_EQ(panel.activity(), c.activity);
    EXPECT_EQ(panel.current_letter(), c.letter);
    const status_snapshot snap = panel.snapshot();
    EXPECT_EQ(snap.state + snap.volume, c.state + c.volume);
    EXPECT_EQ(snap.move_from * 100 + snap.move_to, 1122u);
    EXPECT_EQ(snap.item_text, L"碎片.dat");
    EXPECT_EQ(panel.progress().total_units * 1000 + panel.progress().done_units, 1000250u);
  }
  WorkingStatus unterminated = make_status(1, 'C', 0, 0);
  std::memset(unterminated.itemName, 'x', sizeof unterminated.itemName);
  unterminated.totalUnits = 0x4141414141414141u;  // "AAAAAAAA"
  panel.set_status(&unterminated);
  EXPECT_EQ(panel.item_text(), std::wstring(507, L'x'));
}

// Catches a tick that repaints an unchanged status (most of a tick's cost),
// or one that misses a change of any line, or stops the idle move counter.
TEST(StatusPanelRecord, TakeChangeSeesEveryChangeOfTheLinesOnce) {
  status_panel panel;
  panel.set_job(volume_job{L"C", 0, 2});
  panel.set_activity(1);
  WorkingStatus s = make_status(1, 'C', 0, 0);
  panel.set_status(&s);
  EXPECT_TRUE(panel.take_change()) << "first ask";
  EXPECT_FALSE(panel.take_change());
  s.doneUnits = 900;  // the progress bar's, not the lines'
  panel.set_status(&s);
  EXPECT_FALSE(panel.take_change());
  std::strcpy(s.itemName, "other.dat");
  panel.set_status(&s);
  EXPECT_TRUE(panel.take_change());
  EXPECT_FALSE(panel.take_change());
  panel.set_activity(0);
  EXPECT_TRUE(panel.take_change()) << "the job's end clears the lines";
  panel.set_activity(2);
  s = make_status(2, 'C', 0, 0);
  panel.set_status(&s);
  EXPECT_TRUE(panel.take_change());
  EXPECT_TRUE(panel.take_change()) << "the move line's idle counter moves";
}

// Catches a hand-over not copied whole: the reader must only ever see one
// of the texts the worker handed over.
TEST(StatusPanelRecord, TextsHandedOverByAnotherThreadArriveWhole) {
  status_panel panel;
  const std::wstring a(300, L'a'), b = L"HKEY_CLASSES_ROOT\\CLSID";
  panel.set_item_text(a);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) panel.set_item_text(i % 2 ? a : b);
    done = true;
  });
  int torn = 0;
  while (!done) {
    const std::wstring seen = panel.snapshot().item_text;
    torn += seen != a && seen != b;
  }
  worker.join();
  EXPECT_EQ(torn, 0);
}

class status_host : public vemo::frame {
 public:
  status_host()
      : frame(unique_class_name(L"status_host"), 0, nullptr, nullptr,
              static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr) {}
  void on_size(WPARAM, int width, int height) override { panel.layout(width - 10, height); }
  void on_paint(HDC dc, PAINTSTRUCT&) override {
    volume_lines.paint(dc);
    panel.paint(dc);
  }
  status_panel panel;
  volume_info_panel volume_lines;
};

class StatusWindow : public StandInEngineTest {
 protected:
  void SetUp() override {
    StandInEngineTest::SetUp();
    ASSERT_TRUE(host.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 804, 632}, nullptr, nullptr));
  }
  void repaint(HRGN region = nullptr) {
    InvalidateRgn(host.handle(), region, TRUE);
    UpdateWindow(host.handle());
  }
  // The client pixels of r, row by row.
  std::vector<COLORREF> capture(const RECT& r) {
    std::vector<COLORREF> pixels;
    const HDC dc = GetDC(host.handle());
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(host.handle(), dc);
    return pixels;
  }
  bool has_ink(const RECT& r) {
    for (const COLORREF p : capture(r)) {
      if (p != RGB(255, 255, 255)) return true;
    }
    return false;
  }
  status_host host;
};

// Catches a line drawn where the state shows none (the idle panel between
// jobs) or left out where it belongs, and lines off their strips.
TEST_F(StatusWindow, EachStateInksExactlyItsLinesStrips) {
  const struct {
    const wchar_t* name;
    int32_t phase, state, activity;
    uint64_t from, to;
    bool activity_line, move_line;
  } states[] = {
      {L"idle", 2, 0, 0, 0, 0, false, false},
      {L"done", 3, 2, 0, 0, 0, false, false},
      {L"analysing", 2, 1, 1, 0, 0, true, false},
      {L"defragmenting", 2, 2, 2, 0, 0, true, true},
      {L"defragmenting_move", 2, 2, 2, 184467, 902211, true, true},
      {L"optimising_move", 2, 3, 3, 77001, 1203, true, true},
      {L"registry_scan", 1, 0, 1, 0, 0, true, false},
      {L"registry_clean", 1, 0, 2, 0, 0, true, false},
  };
  const status_layout& l = host.panel.line_layout();
  for (const auto& s : states) {
    const WorkingStatus record = make_status(s.state, 'C', s.from, s.to);
    host.panel.set_status(&record);
    host.panel.set_job(volume_job{L"C", 0, s.phase});
    host.panel.set_activity(s.activity);
    repaint();
    EXPECT_EQ(has_ink(l.activity_strip), s.activity_line) << s.name;
    EXPECT_EQ(has_ink(l.move_strip), s.move_line) << s.name;
    EXPECT_EQ(has_ink(l.item_strip), s.activity_line) << s.name;
    EXPECT_FALSE(has_ink(RECT{0, 0, 804, l.activity_strip.top})) << s.name;
    save_screenshot(host.handle(), std::wstring(L"status_panel_") + s.name + L".png");
  }
}

// Catches an update region that leaves part of a longer old item name on
// screen: after a region repaint the line must look as after a full one.
TEST_F(StatusWindow, RegionRepaintLeavesNothingOfALongerOldName) {
  host.panel.set_job(volume_job{L"C", 0, 2});
  host.panel.set_engine_state(1);
  host.panel.set_item_text(L"ÅÉÍÓÚ_a_very_long_directory_entry_name_{ABCDEF}_ÄÖÜ_碎片整理.dat");
  repaint();
  const RECT band{0, host.panel.line_layout().item_pos.y - 4, 804, 632};
  const std::vector<COLORREF> long_name = capture(band);
  host.panel.set_item_text(L"a.txt");
  repaint(host.panel.update_region());
  const std::vector<COLORREF> by_region = capture(band);
  repaint();
  EXPECT_TRUE(long_name != capture(band)) << "the long name never showed";
  EXPECT_TRUE(by_region == capture(band)) << "a band of the old name stayed on screen";
  RECT box{};
  GetRgnBox(host.panel.update_region(), &box);
  const int h = host.panel.font().metrics().tmHeight;
  EXPECT_EQ(box.top, 632 - 3 * h - 17);  // laid out at the window's size
  EXPECT_EQ(box.right, 794);
}

// Catches the wrong letter asked of the engine, lines of the previous
// volume left behind, and lines drawn over each other.
TEST_F(StatusWindow, VolumeLinesAreBuiltThroughTheEngineAndDrawnALineApart) {
  engine_binding binding(stand_in_folder(L"full"), {});
  VolumeInfo v{};
  std::strcpy(v.fileSystem, "FAT32");
  std::strcpy(v.totalSizeText, "29.8 GB");
  v.bytesPerCluster = 32768;
  stand_in_set_volume_info(&v);
  build_volume_info_lines(POINT{184, 47}, host.volume_lines, L'D', binding);
  EXPECT_EQ(host.volume_lines.lines(), volume_info_lines(&v, L'D'));
  ASSERT_EQ(journal("DLL_GetVolumeInfo").size(), 1u);
  EXPECT_EQ(journal("DLL_GetVolumeInfo")[0].first, 'D');
  const int h = host.volume_lines.line_height();
  ASSERT_EQ(h, host.panel.font().metrics().tmHeight);
  repaint();
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(has_ink(RECT{184, 47 + i * h, 300, 47 + (i + 1) * h}));
  save_screenshot(host.handle(), L"volume_info_lines.png");

  stand_in_set_volume_info(nullptr);
  build_volume_info_lines(POINT{184, 47}, host.volume_lines, L'E', binding);
  EXPECT_EQ(host.volume_lines.lines(), std::vector<std::wstring>{L"打开卷失败."});
}

}  // namespace
}  // namespace tessarel::testing
