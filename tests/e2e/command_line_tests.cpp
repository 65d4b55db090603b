// The command line: drive letters start a plain defragmentation of them at
// once; anything else starts nothing.
#include <gtest/gtest.h>

#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "scenario.h"

namespace tessarel::e2e {
namespace {

using dravik::sim::volume_summary;

TEST(CommandLine, CAndEDefragmentsBothAtStart) {
  started_program program;
  start_program(L"command_line_ce", L"C E", program);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(wait_until(
      [&] { return !opened_reports(*program.run).empty() && program.main->idle(); },
      job_timeout_ms));
  save_checkpoint(program.main->handle(), L"command_line_ce_done");
  ASSERT_EQ(close_program(program), 0);
  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  const auto before = untouched_volumes();
  EXPECT_EQ(volumes[0].fragmented_files, volumes[0].unmovable_fragmented_files);
  EXPECT_EQ(volumes[1], before[1]);
  EXPECT_EQ(volumes[2].fragmented_files, volumes[2].unmovable_fragmented_files);
}

// Catches junk read as letters ("-help" holds an E).
TEST(CommandLine, JunkStartsNothing) {
  started_program program;
  start_program(L"command_line_junk", L"-help", program);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(program.main->wait_idle(dialog_timeout_ms));
  save_checkpoint(program.main->handle(), L"command_line_junk");
  ASSERT_EQ(close_program(program), 0);
  EXPECT_TRUE(opened_reports(*program.run).empty());
  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  EXPECT_EQ(volumes, untouched_volumes());
}

}  // namespace
}  // namespace tessarel::e2e
