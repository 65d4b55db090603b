// Clicks on the map and on the skin's areas, idle and while a job runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_wnd_fixture.h"
#include "map/map_test_support.h"
#include "modal_answerer.h"
#include "startup/program_texts.h"

namespace tessarel::testing {
namespace {

using MainWindowClicks = MainWindowTest;

class block_clicks : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    std::vector<int32_t> codes(1000);
    for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<int32_t>(i % 5);
    stand_in_set_colours(codes.data());
    paths = {"C:\\data\\first.bin", "C:\\data\\second.bin"};
    files = {paths[0].data(), paths[1].data()};
    stand_in_set_file_list(&files);
    open();
  }
  void TearDown() override {
    close();
    stand_in_set_file_list(nullptr);
    MainWindowTest::TearDown();
  }
  void click_block(std::uint32_t index) {
    const POINT centre = block_centre(main->map_layout().blocks()[index]);
    click_at(hwnd(), centre.x, centre.y);
  }
  int code(std::uint32_t index) { return main->map_layout().blocks()[index].colour_code; }
  std::size_t file_queries() { return journal("DLL_GetVolumeSectorFilesList").size(); }

  std::vector<std::string> paths;
  CellFileList files;
};

// Two clicks in a row: the first block gets its own colour back, the second
// is drawn in the highlight colour and its files are listed.
TEST_F(block_clicks, SecondClickRestoresTheFirstBlock) {
  const int highlight = static_cast<int>(block_palette_size()) - 1;
  click_block(1);
  click_block(2);
  EXPECT_EQ(main->highlighted_block(), 2);
  EXPECT_EQ(code(1), 1);
  EXPECT_EQ(code(2), highlight);
  const POINT centre = block_centre(main->map_layout().blocks()[2]);
  EXPECT_EQ(client_pixel(hwnd(), centre.x, centre.y), to_colorref(block_colour(highlight)));
  const auto queries = journal("DLL_GetVolumeSectorFilesList");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[1].first, 'C');
  EXPECT_EQ(queries[1].second, 2);
  EXPECT_EQ(main->detail_list().lines().size(), 2u);

  // A line of the list opens the popup with that file's details.
  click_at(main->detail_list().handle(), 20, 5);
  EXPECT_TRUE(IsWindowVisible(main->block_popup().handle()));
  EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_block_details.png"));
}

// Blocks past the volume's 1000 cells, and any block while a job runs, do
// nothing at all; a switch to the registry view forgets the highlight.
TEST_F(block_clicks, IgnoredClicksAndViewSwitch) {
  click_block(1500);
  EXPECT_EQ(main->highlighted_block(), -1);
  EXPECT_EQ(file_queries(), 0u);

  click_block(3);
  click_row(0);
  EXPECT_EQ(main->highlighted_block(), -1);
  click_row(0);  // unchecked again
  click_row(1);
  EXPECT_TRUE(main->volume_view());

  stand_in_hold_runs();
  press(button_analyze_start);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000));
  const std::size_t before = file_queries();
  click_block(4);
  EXPECT_EQ(main->highlighted_block(), -1);
  EXPECT_EQ(file_queries(), before);
}

// The details follow the view: when the map goes to another volume or to
// the registry grid, by a job's phase or by a click, the detail list and the
// file popup are emptied, so no file of one volume is listed (or opens its
// popup) over another volume's map.
TEST_F(block_clicks, DetailsAreEmptiedWhenTheViewSwitches) {
  const struct {
    const char* name;
    bool registry;    // the Registry row is checked for the job
    bool job;         // the switch comes from a running job
    int clicked_row;  // without a job: the row clicked
  } cases[] = {
      {"engine moves on to D", false, true, 0},
      {"registry phase starts", true, true, 0},
      {"click on the Registry row", false, false, 0},
      {"click on D", false, false, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    close();
    stand_in_reset();
    stand_in_set_file_list(&files);
    open();
    // C is the current row; the job also covers the Registry row or D.
    if (c.registry) {
      use_registry_sandbox();
      click_row(0);
    } else if (c.job) {
      click_row(2);
    }
    click_row(1);
    click_block(3);
    ASSERT_EQ(main->detail_list().lines().size(), 2u);
    click_at(main->detail_list().handle(), 20, 5);
    ASSERT_TRUE(IsWindowVisible(main->block_popup().handle()));

    if (c.job) {
      stand_in_hold_runs();
      WorkingStatus status{};
      status.state = 1;
      status.volume = 'D';
      stand_in_set_status(&status);
      press(button_analyze_start);
      if (c.registry) {
        ASSERT_TRUE(pump_until([&] { return !main->volume_view(); }));
      } else {
        ASSERT_TRUE(pump_until([&] { return main->panel().current_letter() == L'D'; }));
      }
    } else {
      click_row(c.clicked_row);
    }
    EXPECT_TRUE(main->detail_list().lines().empty());
    EXPECT_EQ(SendMessageW(main->detail_list().list().handle(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(IsWindowVisible(main->block_popup().handle()));
    EXPECT_TRUE(main->block_popup().lines().empty());
    if (c.job && !c.registry) {
      EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_details_after_view_switch.png"));
    }
    close();
    sandbox.reset();
  }
}

// A row click refused while a job runs changes nothing: no box toggles, the
// current row stays, and the job's end shows the volume it showed before
// (no jump to the clicked row). The busy message still explains the refusal.
TEST_F(MainWindowClicks, RefusedRowClickChangesNothing) {
  const int rows_clicked[] = {0, 2, 1};
  open();
  click_row(1);
  stand_in_hold_runs();
  press(button_analyze_start);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000));
  WorkingStatus status{};
  status.state = 1;
  status.volume = 'C';
  stand_in_set_status(&status);
  ASSERT_TRUE(pump_until([&] { return main->panel().activity() == 1; }));
  const std::vector<int> checked_before{0, 1, 0};
  for (const int row : rows_clicked) {
    SCOPED_TRACE(row);
    modal_answerer box;
    click_row(row);
    ASSERT_EQ(box.modals.size(), 1u);
    EXPECT_EQ(box.modals[0].text, msg_busy_analysing);
    std::vector<int> checked;
    for (const auto& list_row : main->volume_list().rows()) checked.push_back(list_row.checked);
    EXPECT_EQ(checked, checked_before);
    EXPECT_EQ(main->volume_list().current_row(), 1);
  }
  EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_busy_row_refused.png"));
  stand_in_release_runs();
  ASSERT_TRUE(wait_idle());
  EXPECT_TRUE(main->volume_view());
  EXPECT_EQ(main->panel().current_letter(), L'C');
  EXPECT_EQ(main->volume_list().current_row(), 1);
}

// While busy, the commands that need an idle window are refused: with the
// activity's message while analysing or defragmenting, silently while
// optimising. None of them reaches the engine or the shell.
TEST_F(MainWindowClicks, BusyRefusals) {
  const struct {
    int start;  // 0 analyse, else the defragmentation command
    int32_t engine_state;
    const wchar_t* message;
  } jobs[] = {{0, 1, msg_busy_analysing},
              {defrag_plain_command, 2, msg_busy_defragmenting},
              {defrag_plain_command, 3, nullptr}};
  for (const auto& job : jobs) {
    SCOPED_TRACE(job.engine_state);
    stand_in_reset();
    open();
    click_row(1);
    stand_in_hold_runs();
    if (job.start == 0) {
      press(button_analyze_start);
    } else {
      command(job.start);
    }
    ASSERT_TRUE(main->busy());
    WorkingStatus status{};
    status.state = job.engine_state;
    status.volume = 'C';
    stand_in_set_status(&status);
    ASSERT_TRUE(pump_until([&] { return main->panel().activity() == job.engine_state; }));

    recording_opener opener;
    modal_answerer boxes;
    press(button_analyze_start);
    press(button_defragment_start);
    press(button_advanced);
    for (const RECT& area : {main->areas().about, main->areas().help, main->areas().options})
      click_at(hwnd(), area.left + 2, area.top + 2);
    click_row(2);

    const std::size_t expected = job.message ? 7u : 0u;
    ASSERT_EQ(boxes.modals.size(), expected);
    for (const auto& box : boxes.modals) {
      EXPECT_EQ(box.text, job.message);
      EXPECT_EQ(box.owner, hwnd());
    }
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(journal("DLL_Options").empty());
    EXPECT_TRUE(journal("DLL_Advance").empty());
    close();
  }
}

// Idle: help opens the help file through the shell's seam; options runs
// the engine's dialog and reads its flags without arming the exit action.
TEST_F(MainWindowClicks, HelpAndOptionsWhileIdle) {
  stand_in_set_flags(true, false, false);
  open();
  recording_opener opener;
  click_at(hwnd(), main->areas().help.left + 2, main->areas().help.top + 2);
  click_at(hwnd(), main->areas().options.left + 2, main->areas().options.top + 2);
  ASSERT_EQ(opener.opened.size(), 1u);
  EXPECT_EQ(opener.opened[0], test_folder() + L"\\help.chm");
  EXPECT_EQ(journal("DLL_Options").size(), 1u);
  EXPECT_EQ(journal("DLL_GetLogout").size(), 1u);
  EXPECT_EQ(journal("DLL_GetRestart").size(), 1u);
  EXPECT_EQ(exit_action, exit_action_none);
}

// The options dialog after a defragmentation armed the exit action: the
// action follows the flags as the dialog left them (off disarms it, restart
// switched to shut-down follows), and an unarmed action is never armed.
// Catches a forced shut-down the user turned off.
TEST_F(MainWindowClicks, OptionsRecomputeAnArmedExitAction) {
  const struct {
    int armed;
    bool logout;
    bool restart;
    int after;
  } cases[] = {
      {exit_action_shut_down, false, false, exit_action_none},
      {exit_action_shut_down, false, true, exit_action_restart},
      {exit_action_shut_down, true, true, exit_action_shut_down},
      {exit_action_restart, false, false, exit_action_none},
      {exit_action_restart, true, false, exit_action_shut_down},
      {exit_action_restart, false, true, exit_action_restart},
      {exit_action_none, true, false, exit_action_none},
      {exit_action_none, false, true, exit_action_none},
  };
  open();
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.armed << " " << c.logout << c.restart);
    exit_action = c.armed;
    stand_in_set_flags(c.logout, c.restart, false);
    click_at(hwnd(), main->areas().options.left + 2, main->areas().options.top + 2);
    EXPECT_EQ(exit_action, c.after);
  }
  EXPECT_EQ(journal("DLL_Options").size(), std::size(cases));
}

}  // namespace
}  // namespace tessarel::testing
