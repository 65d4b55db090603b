// Jobs run through the main window over the stand-in engine and the
// registry scanner in its sandbox: the threads, the map, the buttons, the
// progress bar and the reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_wnd_fixture.h"
#include "modal_answerer.h"
#include "regscan/cell_states.h"
#include "startup/program_texts.h"

namespace tessarel::testing {
namespace {

std::pair<int, int> progress_range(HWND bar) {
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  return {range.iLow, range.iHigh};
}

using MainWindowJobs = MainWindowTest;

// Catches an export called per letter or on the user interface thread, a
// map that does not follow the engine's letter, and a missing report.
TEST_F(MainWindowJobs, AnalyseCAndDFollowsTheEngineThenReports) {
  std::vector<int32_t> codes(1000, 1);
  codes[0] = 3;
  stand_in_set_colours(codes.data());
  open();
  click_row(1);
  click_row(2);
  stand_in_hold_runs();
  press(button_analyze_start);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000));
  EXPECT_TRUE(shown(button_analyze_stop));
  EXPECT_FALSE(shown(button_analyze_start));

  WorkingStatus status{};
  status.state = 1;
  status.volume = 'D';
  status.totalUnits = 1000;
  status.doneUnits = 10;
  stand_in_set_status(&status);
  ASSERT_TRUE(pump_until([&] { return main->panel().current_letter() == L'D'; }));
  ASSERT_TRUE(pump_until([&] { return IsWindowVisible(main->progress().handle()) != FALSE; }));
  EXPECT_EQ(progress_range(main->progress().handle()), std::make_pair(0, 1000));
  EXPECT_EQ(main->map_layout().blocks()[0].colour_code, 3);
  const auto tables = journal("DLL_GetVolumeColorTable");
  ASSERT_FALSE(tables.empty());
  EXPECT_EQ(tables.back().first, 'D');
  EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_analysing.png"));

  stand_in_release_runs();
  ASSERT_TRUE(wait_idle());
  const auto runs = journal("DLL_AnalyseVolume");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_STREQ(runs[0].text, "CD");
  EXPECT_NE(runs[0].thread_id, GetCurrentThreadId());
  ASSERT_EQ(reports().size(), 1u);
  EXPECT_EQ(reports()[0].first, 1);
  EXPECT_TRUE(shown(button_analyze_start));
  EXPECT_FALSE(IsWindowVisible(main->progress().handle()));
}

// The registry first (bar 0..7, its report handed to the engine), then the
// volume with the map back on it.
TEST_F(MainWindowJobs, RegistryThenC) {
  open();
  click_row(1);
  click_row(0);
  EXPECT_FALSE(main->volume_view());
  // Before the sandbox: the screenshot's encoder is looked up in the registry.
  EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_registry.png"));
  use_registry_sandbox();
  stand_in_hold_runs();
  press(button_analyze_start);
  // The scanner's records wait until this thread dispatches them.
  ASSERT_TRUE(pump_until([&] { return !journal("DLL_AnalyseVolume").empty(); }, 10000));
  EXPECT_TRUE(main->volume_view());
  EXPECT_EQ(progress_range(main->progress().handle()), std::make_pair(0, 7));
  EXPECT_EQ(SendMessageW(main->progress().handle(), PBM_GETPOS, 0, 0), 7);
  EXPECT_STREQ(journal("DLL_AnalyseVolume")[0].text, "C");
  const auto saved = journal("DLL_SaveRegistryReport");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].first, 1);
  EXPECT_EQ(saved[0].second, static_cast<int>(regscan::registry_cell_count));
  stand_in_release_runs();
  ASSERT_TRUE(wait_idle());
  ASSERT_EQ(reports().size(), 1u);
  EXPECT_EQ(reports()[0].first, 1);
}

// The menu's plain button: one defragmentation of both letters, the fresh
// analysis, report 2. Esc pressed in the menu closes it and runs nothing.
TEST_F(MainWindowJobs, PlainDefragmentationThroughTheMenu) {
  const struct {
    const char* what;
    modal_answerer::step in_menu;
    std::size_t runs;
  } cases[] = {
      {"plain button", click_child(1), 1},
      {"Esc",
       [](HWND menu) {
         if (GetForegroundWindow() == menu) return press_key(VK_ESCAPE);
         ADD_FAILURE() << "the key would go to another window";
         click_child(0)(menu);
       },
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    stand_in_reset();
    open();
    click_row(1);
    click_row(2);
    {
      modal_answerer menu({c.in_menu});
      press(button_defragment_start);
      ASSERT_EQ(menu.modals.size(), 1u);
    }
    ASSERT_TRUE(wait_idle());
    const auto defrag = journal("DLL_DefragVolume");
    const auto analysis = journal("DLL_AnalyseVolume");
    ASSERT_EQ(defrag.size(), c.runs);
    ASSERT_EQ(analysis.size(), c.runs);
    ASSERT_EQ(reports().size(), c.runs);
    if (c.runs) {
      EXPECT_STREQ(defrag[0].text, "CD");
      EXPECT_STREQ(analysis[0].text, "CD");
      EXPECT_EQ(reports()[0].first, 2);
    } else {
      EXPECT_TRUE(journal("DLL_OptimizedDefragVolume").empty());
      EXPECT_TRUE(shown(button_defragment_start));
      EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_after_menu_esc.png"));
    }
    close();
  }
}

// Two volumes optimised: the confirmation (owned by the window, caption
// "Tessarel"); No starts nothing.
TEST_F(MainWindowJobs, OptimisedTwoVolumesAsksFirst) {
  const struct {
    int answer;
    std::size_t runs;
  } cases[] = {{IDYES, 1}, {IDNO, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    stand_in_reset();
    open();
    click_row(1);
    click_row(2);
    modal_answerer box({answer(c.answer)});
    command(defrag_optimized_command);
    ASSERT_TRUE(wait_idle());
    ASSERT_EQ(box.modals.size(), 1u);
    EXPECT_EQ(box.modals[0].text, msg_confirm_multi_volume);
    EXPECT_EQ(box.modals[0].caption, product_name);
    EXPECT_EQ(box.modals[0].owner, hwnd());
    EXPECT_EQ(journal("DLL_OptimizedDefragVolume").size(), c.runs);
    EXPECT_EQ(reports().size(), c.runs);
    close();
  }
}

// A stop in any phase ends the job without report and without the phases
// still due.
TEST_F(MainWindowJobs, StopInEachPhaseOpensNoReport) {
  const struct {
    const char* name;
    bool registry;
    int start;  // 0 analyse, else the defragmentation command
    const char* wait_for;
    const char* never;
  } cases[] = {
      {"scan", true, 0, nullptr, "DLL_AnalyseVolume"},
      {"analysis", false, 0, "DLL_AnalyseVolume", nullptr},
      {"clean", true, defrag_plain_command, nullptr, "DLL_DefragVolume"},
      {"defragmentation", false, defrag_plain_command, "DLL_DefragVolume", "DLL_AnalyseVolume"},
  };
  use_registry_sandbox();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    stand_in_reset();
    open();
    click_row(1);
    if (c.registry) click_row(0);
    stand_in_hold_runs();
    // Pressed and stopped without dispatching in between: the worker's
    // first record waits until the stop has been asked.
    if (c.start == 0) {
      press(button_analyze_start);
    } else {
      command(c.start);
    }
    if (c.wait_for) {
      ASSERT_TRUE(stand_in_wait_for_calls(c.wait_for, 1, 5000));
    }
    press(c.start == 0 ? button_analyze_stop : button_defragment_stop);
    ASSERT_TRUE(wait_idle());
    EXPECT_TRUE(reports().empty());
    if (c.never) {
      EXPECT_TRUE(journal(c.never).empty());
    }
    EXPECT_TRUE(shown(button_analyze_start));
    EXPECT_TRUE(shown(button_defragment_start));
    close();
  }
}

// The fresh analysis after a defragmentation stopped in its turn.
TEST_F(MainWindowJobs, StopDuringTheFreshAnalysis) {
  open();
  click_row(1);
  stand_in_hold_runs();
  command(defrag_plain_command);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_DefragVolume", 1, 5000));
  stand_in_release_runs();
  // The completion waits in the queue until this thread dispatches it.
  while (main->binding().job_threads().any_running()) Sleep(5);
  stand_in_hold_runs();
  ASSERT_TRUE(pump_until([&] { return !journal("DLL_AnalyseVolume").empty(); }));
  press(button_defragment_stop);
  ASSERT_TRUE(wait_idle());
  EXPECT_TRUE(reports().empty());
}

// A completion that cannot be posted (its window is gone) ends the job as
// stopped at the next tick: the buttons come back, no report opens, and the
// window closes when asked. Catches a window busy for ever.
TEST_F(MainWindowJobs, LostCompletionEndsTheJobAsStopped) {
  open();
  click_row(1);
  stand_in_hold_runs();
  press(button_analyze_start);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000));
  DestroyWindow(main->binding().completion().window());
  stand_in_release_runs();
  ASSERT_TRUE(wait_idle());
  EXPECT_TRUE(shown(button_analyze_start));
  EXPECT_FALSE(shown(button_analyze_stop));
  EXPECT_FALSE(IsWindowVisible(main->progress().handle()));
  EXPECT_TRUE(reports().empty());
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(main->handle(), nullptr);
}

using MainWindowClose = MainWindowTest;

// Cancel keeps the job; OK stops it and the window goes once it has ended,
// without a report and without blocking this thread.
TEST_F(MainWindowClose, WhileBusyCancelKeepsOkClosesAfterTheJob) {
  open();
  click_row(1);
  stand_in_hold_runs();
  press(button_analyze_start);
  ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000));
  {
    modal_answerer box({answer(IDCANCEL)});
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(box.modals.size(), 1u);
    EXPECT_EQ(box.modals[0].text, std::wstring(L"程序正在工作中.\n您确定停止并退出?"));
    EXPECT_EQ(box.modals[0].owner, hwnd());
  }
  EXPECT_TRUE(IsWindow(hwnd()));
  EXPECT_TRUE(journal("DLL_WorkingStop").empty());
  {
    modal_answerer box({answer(IDOK)});
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(box.modals.size(), 1u);
  }
  EXPECT_FALSE(journal("DLL_WorkingStop").empty());
  ASSERT_TRUE(pump_until([&] { return main->handle() == nullptr; }, 5000));
  EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace tessarel::testing
