// The volume information lines: built through the engine binding for the
// letter asked, replaced whole on the next build, and drawn one line height
// apart from their origin.
#include "status/volume_info_panel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/engine_binding.h"
#include "engine/stand_in_engine_support.h"
#include "status/volume_info_lines.h"
#include "status_test_window.h"

namespace tessarel::testing {
namespace {

class VolumeInfoPanel : public status_window_test {
 protected:
  void SetUp() override {
    stand_in_reset();
    status_window_test::SetUp();
  }
};

VolumeInfo stand_in_volume() {
  VolumeInfo v{};
  std::strcpy(v.fileSystem, "FAT32");
  std::strcpy(v.totalSizeText, "29.8 GB");
  std::strcpy(v.usedSizeText, "7.5 GB");
  v.clustersPerCell = 977;
  v.freeClusters = 732001;
  v.usedClusters = 245110;
  v.bytesPerCluster = 32768;
  return v;
}

// Catches the wrong letter passed to the engine, lines of the previous
// volume left behind, and a failure that keeps numbers.
TEST_F(VolumeInfoPanel, BuildAsksTheEngineAndReplacesEveryLine) {
  engine_binding binding(stand_in_folder(L"full"), {});
  const VolumeInfo v = stand_in_volume();
  stand_in_set_volume_info(&v);
  volume_info_panel& panel = window.volume_lines;
  build_volume_info_lines(POINT{184, 47}, panel, L'D', binding);
  const std::vector<std::wstring> expected = {
      L"32768 每簇字节数", L"977 每块簇数",   L"可用簇:732001",   L"已用簇:245110",
      L"大小:29.8 GB",     L"已用:7.5 GB", L"文件系统:FAT32", L"卷:D",
  };
  EXPECT_EQ(panel.lines(), expected);
  EXPECT_EQ(panel.origin().x, 184);
  EXPECT_EQ(panel.origin().y, 47);
  const auto calls = journal("DLL_GetVolumeInfo");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].first, 'D');

  stand_in_set_volume_info(nullptr);
  build_volume_info_lines(POINT{190, 50}, panel, L'E', binding);
  EXPECT_EQ(panel.lines(), std::vector<std::wstring>{L"打开卷失败."});
  EXPECT_EQ(panel.origin().x, 190);
}

// Catches lines drawn over each other, off their origin, or on from the
// previous volume: each line's band holds ink, the band after the last none.
TEST_F(VolumeInfoPanel, LinesAreDrawnOneLineHeightApart) {
  volume_info_panel& panel = window.volume_lines;
  const int h = panel.line_height();
  ASSERT_GT(h, 0);
  TEXTMETRICW metrics = window.panel.font().metrics();
  EXPECT_EQ(h, metrics.tmHeight);
  const VolumeInfo v = stand_in_volume();
  panel.set_lines(POINT{184, 47}, volume_info_lines(&v, L'C'));
  repaint_all();
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(has_ink(RECT{184, 47 + i * h, 400, 47 + (i + 1) * h})) << i;
  }
  EXPECT_FALSE(has_ink(RECT{184, 47 + 8 * h, 400, 47 + 12 * h}));
  EXPECT_FALSE(has_ink(RECT{0, 0, 183, 632}));
  EXPECT_TRUE(save_screenshot(window.handle(), L"volume_info_lines.png"));

  panel.set_lines(POINT{184, 47}, volume_info_lines(nullptr, L'C'));
  repaint_all();
  EXPECT_TRUE(has_ink(RECT{184, 47, 400, 47 + h}));
  EXPECT_FALSE(has_ink(RECT{184, 47 + h, 400, 47 + 8 * h}));
  EXPECT_TRUE(save_screenshot(window.handle(), L"volume_info_failure.png"));
}

// The main window's view during a defragmentation: the facts and the panel.
TEST_F(VolumeInfoPanel, TogetherWithTheStatusPanel) {
  const VolumeInfo v = stand_in_volume();
  window.volume_lines.set_lines(POINT{184, 47}, volume_info_lines(&v, L'C'));
  volume_job job;
  job.letters = L"C";
  job.phase = 2;
  window.panel.set_job(job);
  WorkingStatus s{};
  s.state = 2;
  s.volume = 'C';
  std::strcpy(s.itemName, "\xCB\xE9\xC6\xAC\xD5\xFB\xC0\xED.log");
  s.moveFrom = 120034;
  s.moveTo = 5512;
  window.panel.set_status(&s);
  repaint_all();
  EXPECT_TRUE(save_screenshot(window.handle(), L"status_area_defragmenting.png"));
}

}  // namespace
}  // namespace tessarel::testing
