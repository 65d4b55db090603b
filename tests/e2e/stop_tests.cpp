// Stops and closes while a job runs: no report set is handed over, the
// volumes stay sound, a stopped clean's report stays out of the next job's
// set, and a close asks first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/e2e_files.h"
#include "driver/process_handles.h"
#include "driver/program_dialogs.h"
#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "scenario.h"

namespace tessarel::e2e {
namespace {

using dravik::sim::volume_summary;

// The simulated engine holds its moves while this file lies beside it.
const std::wstring hold_file = L"simulated-hold-moves";
const std::wstring held_file = L"simulated-moves-held";

// Starts a plain defragmentation of C and waits until its first move is
// held: the job is then inside the defragmentation phase.
void defragment_c_until_held(const started_program& program) {
  ASSERT_TRUE(write_file(program.run->file(hold_file), ""));
  ASSERT_TRUE(program.main->click_row(1));
  ASSERT_TRUE(program.main->press(main_button::defragment));
  const HWND menu = wait_for_defrag_menu(program.run->process_id(), dialog_timeout_ms);
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(choose(menu, menu_choice::plain));
  ASSERT_TRUE(wait_until([&] { return file_exists(program.run->file(held_file)); },
                         job_timeout_ms))
      << "no move was made";
}

void let_moves_go(const started_program& program) {
  DeleteFileW(program.run->file(hold_file).c_str());
}

// Catches a stop that is lost in one of the phases (the job then runs on
// and hands over its report set), or that leaves a volume unsound.
TEST(Stop, InEachPhaseEndsTheJobWithoutReport) {
  struct phase {
    const wchar_t* name;
    int row;
    main_button button;
  } phases[] = {
      {L"stop_analysis_volume", 1, main_button::analyse},
      {L"stop_analysis_registry", 0, main_button::analyse},
      {L"stop_clean_registry", 0, main_button::defragment},
  };
  for (const phase& stopped : phases) {
    SCOPED_TRACE(testing::Message() << std::string(stopped.name, stopped.name + wcslen(stopped.name)));
    started_program program;
    start_program(stopped.name, L"", program);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(program.main->click_row(stopped.row));
    ASSERT_TRUE(program.main->press_start_then_stop(stopped.button));
    ASSERT_TRUE(program.main->wait_idle(job_timeout_ms));
    EXPECT_TRUE(opened_reports(*program.run).empty());
    ASSERT_EQ(close_program(program), 0);
  }

  started_program program;
  start_program(L"stop_defrag_volume", L"", program);
  if (HasFatalFailure()) return;
  defragment_c_until_held(program);
  if (HasFatalFailure()) return;
  save_checkpoint(program.main->handle(), L"stop_defrag_running");
  ASSERT_TRUE(program.main->press(main_button::defragment));  // its Stop
  let_moves_go(program);
  ASSERT_TRUE(program.main->wait_idle(job_timeout_ms));
  EXPECT_TRUE(opened_reports(*program.run).empty());
  ASSERT_EQ(close_program(program), 0);
  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  EXPECT_GT(volumes[0].fragmented_files, volumes[0].unmovable_fragmented_files)
      << "the stop came too late to matter";
}

// The name of the page an address opens, without its folder.
std::string page_name(const std::string& address) {
  return address.substr(address.find_last_of("/\\") + 1);
}

// Catches a clean ended by a stop whose registry report comes back into the
// next job's report set: an analysis of C alone would then open the
// registry variant, its index page with a Registry cell.
TEST(Stop, DuringTheCleanLeavesNoRegistryPageInTheNextSet) {
  started_program program;
  start_program(L"stop_clean_then_analyse_c", L"", program);
  if (HasFatalFailure()) return;
  const main_window& main = *program.main;
  ASSERT_TRUE(main.click_row(0));
  ASSERT_TRUE(main.press(main_button::defragment));
  // Past the seven category steps the clean is deleting.
  ASSERT_TRUE(wait_until([&] { return main.progress_shown() && main.progress_position() > 20; },
                         job_timeout_ms));
  ASSERT_TRUE(main.press(main_button::defragment));  // its Stop
  ASSERT_TRUE(main.wait_idle(job_timeout_ms));
  EXPECT_TRUE(opened_reports(*program.run).empty()) << "the clean ended before the stop";

  ASSERT_TRUE(main.click_row(0));
  ASSERT_TRUE(main.click_row(1));
  ASSERT_TRUE(main.wait_idle(dialog_timeout_ms));
  ASSERT_TRUE(main.press(main_button::analyse));
  ASSERT_TRUE(wait_until([&] { return !opened_reports(*program.run).empty() && main.idle(); },
                         job_timeout_ms));
  save_checkpoint(main.handle(), L"stop_clean_then_analyse_c");
  std::vector<std::string> pages;
  for (const std::string& address : opened_reports(*program.run))
    pages.push_back(page_name(address));
  EXPECT_EQ(pages, std::vector<std::string>{"analysisreport.html"});
  const std::string index = program.run->read(L"analysisreporttop.html");
  EXPECT_NE(index.find("analysisreport1.html"), std::string::npos) << index;
  EXPECT_EQ(index.find("registryreport.html"), std::string::npos) << "a Registry cell: " << index;
  EXPECT_EQ(close_program(program), 0);
}

// Catches a close that ends a running job without asking, a Cancel that
// stops it anyway, or an OK that leaves the program running.
TEST(Close, WhileBusyAsksCancelKeepsTheJobOkEndsIt) {
  started_program program;
  start_program(L"close_busy", L"", program);
  if (HasFatalFailure()) return;
  defragment_c_until_held(program);
  if (HasFatalFailure()) return;
  const DWORD pid = program.run->process_id();

  ASSERT_TRUE(program.main->press(main_button::close));
  HWND box = wait_for_message_box(pid, dialog_timeout_ms);
  ASSERT_NE(box, nullptr) << "closed without asking";
  save_checkpoint(program.main->handle(), L"close_busy_question");
  ASSERT_TRUE(answer_message_box(box, IDCANCEL));
  ASSERT_TRUE(wait_until([&] { return window_gone(box); }, dialog_timeout_ms));
  EXPECT_FALSE(program.main->idle()) << "Cancel stopped the job";
  EXPECT_FALSE(program.run->wait_for_exit(0));

  ASSERT_TRUE(program.main->press(main_button::close));
  box = wait_for_message_box(pid, dialog_timeout_ms);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(answer_message_box(box, IDOK));
  let_moves_go(program);
  EXPECT_EQ(program.run->wait_for_exit(job_timeout_ms), std::optional<DWORD>(0));
  EXPECT_TRUE(opened_reports(*program.run).empty());
}

// Catches handles the program keeps from every analysis it starts and
// stops: the count after 100 cycles is, but for a few opened once, the
// count after the first ten.
TEST(Stop, HundredAnalyseAndStopCyclesKeepTheHandleCount) {
  started_program program;
  start_program(L"cycles", L"", program);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(program.main->click_row(1));
  std::vector<unsigned long> counts;
  for (int cycle = 1; cycle <= 100; ++cycle) {
    ASSERT_TRUE(program.main->wait_idle(job_timeout_ms));
    ASSERT_TRUE(program.main->press_start_then_stop(main_button::analyse)) << cycle;
    ASSERT_TRUE(program.main->wait_idle(job_timeout_ms)) << cycle;
    if (cycle == 1 || cycle % 10 == 0) {
      const auto count = process_handle_count(program.run->process_id());
      ASSERT_TRUE(count);
      counts.push_back(*count);
    }
  }
  std::string line;
  for (const unsigned long count : counts) line += std::to_string(count) + " ";
  RecordProperty("handle_counts", line);
  std::printf("handle counts (cycle 1, 10, 20 ... 100): %s\n", line.c_str());
  // A few handles are opened once, late and lazily (the system's and the
  // engine's); a leak of one a cycle would add 90.
  constexpr unsigned long once_opened = 5;
  EXPECT_LE(counts.back(), counts[1] + once_opened) << line;
  EXPECT_TRUE(opened_reports(*program.run).empty());
  EXPECT_EQ(close_program(program), 0);
}

}  // namespace
}  // namespace tessarel::e2e
