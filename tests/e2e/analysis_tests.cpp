// Analysis: C and D checked and analysed; the map follows the engine from
// volume to volume and the analysis report set is handed over once.
#include <gtest/gtest.h>

#include "driver/e2e_files.h"
#include "driver/engine_cells.h"
#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "scenario.h"

namespace tessarel::e2e {
namespace {

TEST(Analysis, OfCAndDColoursTheMapsAsTheEngineAndOpensReportSetOne) {
  started_program program;
  start_program(L"analysis", L"", program);
  if (HasFatalFailure()) return;
  const main_window& main = *program.main;
  ASSERT_TRUE(main.click_row(1));
  ASSERT_TRUE(main.click_row(2));
  ASSERT_TRUE(main.wait_idle(dialog_timeout_ms));
  ASSERT_TRUE(main.press(main_button::analyse));
  // The simulated volumes analyse in a fraction of a second: the job has
  // ended once its report set is handed over and the buttons are back.
  ASSERT_TRUE(wait_until([&] { return !opened_reports(*program.run).empty() && main.idle(); },
                         job_timeout_ms));
  save_checkpoint(main.handle(), L"analysis_done_d");

  const auto engine = engine_cell_codes("CD");
  ASSERT_EQ(engine.size(), 3u);
  // D was the current row when the job ended.
  EXPECT_EQ(shown_volume_codes(program), engine.at('D'));
  ASSERT_TRUE(main.click_row(1));
  ASSERT_TRUE(wait_until([&] { return shown_volume_codes(program) == engine.at('C'); }, 5000));
  save_checkpoint(main.handle(), L"analysis_done_c");
  EXPECT_NE(engine.at('C'), engine.at('D'));

  const auto reports = opened_reports(*program.run);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "C:\\e2e\\analysis\\analysisreport.html");
  // One page per volume, with the volume's own figures.
  struct page {
    const wchar_t* file;
    const char* volume;
    const char* clusters;
  } pages[] = {{L"analysisreport1.html", "C:\\", "300000"},
               {L"analysisreport2.html", "D:\\", "120000"}};
  for (const page& expected : pages) {
    SCOPED_TRACE(expected.volume);
    EXPECT_EQ(report_item(*program.run, expected.file, "Target volume"), expected.volume);
    EXPECT_EQ(report_item(*program.run, expected.file, "Total clusters"), expected.clusters);
    EXPECT_EQ(report_item(*program.run, expected.file, "Byte per cluster"), "4096");
  }
  EXPECT_EQ(close_program(program), 0);
}

}  // namespace
}  // namespace tessarel::e2e
