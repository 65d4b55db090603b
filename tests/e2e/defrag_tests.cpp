// Defragmentation through the menu: plain on C, optimised on C and E with
// the confirmation, and D's free-space message. What moved is read from the
// simulated engine's summary once the program has closed.
#include <gtest/gtest.h>

#include "driver/program_dialogs.h"
#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "scenario.h"

namespace tessarel::e2e {
namespace {

using dravik::sim::volume_summary;

// Checks the rows, presses Defragment and picks choice in the menu.
void defragment(const started_program& program, std::initializer_list<int> rows,
                menu_choice choice, const wchar_t* checkpoint) {
  for (const int row : rows) ASSERT_TRUE(program.main->click_row(row));
  ASSERT_TRUE(program.main->press(main_button::defragment));
  const HWND menu = wait_for_defrag_menu(program.run->process_id(), dialog_timeout_ms);
  ASSERT_NE(menu, nullptr) << "no defragmentation menu";
  if (checkpoint) save_checkpoint(program.main->handle(), checkpoint);
  ASSERT_TRUE(choose(menu, choice));
}

bool report_then_idle(const started_program& program) {
  return wait_until(
      [&] { return !opened_reports(*program.run).empty() && program.main->idle(); },
      job_timeout_ms);
}

// Catches a plain run that leaves a movable file of C in pieces, touches a
// volume it was not given, or ends without report set 2.
TEST(Defragmentation, PlainOfCLeavesNoMovableFileFragmented) {
  started_program program;
  start_program(L"defrag_plain", L"", program);
  if (HasFatalFailure()) return;
  defragment(program, {1}, menu_choice::plain, L"defrag_menu");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(report_then_idle(program));
  save_checkpoint(program.main->handle(), L"defrag_plain_done");
  EXPECT_EQ(opened_reports(*program.run),
            std::vector<std::string>{"C:\\e2e\\defrag_plain\\defragreport.html"});
  ASSERT_EQ(close_program(program), 0);

  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  const auto before = untouched_volumes();
  EXPECT_EQ(volumes[0].fragmented_files, volumes[0].unmovable_fragmented_files);
  EXPECT_LT(volumes[0].fragmented_files, before[0].fragmented_files);
  EXPECT_EQ(volumes[1], before[1]);
  EXPECT_EQ(volumes[2], before[2]);
}

// Catches an optimised run of several volumes that starts without asking,
// or a Yes that starts nothing.
TEST(Defragmentation, OptimisedOfCAndEAsksFirstThenDefragmentsBoth) {
  started_program program;
  start_program(L"defrag_optimised", L"", program);
  if (HasFatalFailure()) return;
  defragment(program, {1, 3}, menu_choice::optimised, nullptr);
  if (HasFatalFailure()) return;
  const HWND box = wait_for_message_box(program.run->process_id(), dialog_timeout_ms);
  ASSERT_NE(box, nullptr) << "no confirmation";
  save_checkpoint(program.main->handle(), L"defrag_optimised_confirmation");
  EXPECT_TRUE(program.main->idle()) << "started before the answer";
  ASSERT_TRUE(answer_message_box(box, IDYES));
  ASSERT_TRUE(report_then_idle(program));
  save_checkpoint(program.main->handle(), L"defrag_optimised_done");
  EXPECT_EQ(opened_reports(*program.run).size(), 1u);
  ASSERT_EQ(close_program(program), 0);

  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  const auto before = untouched_volumes();
  for (const size_t i : {size_t{0}, size_t{2}}) {
    SCOPED_TRACE(volumes[i].letter);
    EXPECT_EQ(volumes[i].fragmented_files, volumes[i].unmovable_fragmented_files);
    EXPECT_EQ(volumes[i].files, before[i].files);
  }
  EXPECT_EQ(volumes[1], before[1]);
}

// Catches D defragmented although too full, or the message not shown.
TEST(Defragmentation, OfNearlyFullDExplainsAndMovesNothing) {
  started_program program;
  start_program(L"defrag_full", L"", program);
  if (HasFatalFailure()) return;
  defragment(program, {2}, menu_choice::plain, nullptr);
  if (HasFatalFailure()) return;
  const HWND box = wait_for_message_box(program.run->process_id(), job_timeout_ms);
  ASSERT_NE(box, nullptr) << "no free-space message";
  const std::wstring text = message_box_text(box);
  EXPECT_NE(text.find(L"没有足够空间"), std::wstring::npos) << "text: " << text.size();
  EXPECT_NE(text.find(L"D"), std::wstring::npos);
  save_checkpoint(program.main->handle(), L"defrag_full_message");
  ASSERT_TRUE(answer_message_box(box, IDOK));
  ASSERT_TRUE(report_then_idle(program));
  ASSERT_EQ(close_program(program), 0);

  std::vector<volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  EXPECT_EQ(volumes[1], untouched_volumes()[1]);
}

}  // namespace
}  // namespace tessarel::e2e
