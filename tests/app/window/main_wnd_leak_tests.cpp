// A long session leaves nothing behind: analyse-and-stop cycles of the main
// window over the stand-in engine, with a timer tick in each, keep the GDI
// objects (counted by the program's GDI holders, since Wine's
// GetGuiResources always answers 0) and the process's handles (counted by
// probing, since Wine's GetProcessHandleCount answers 0 too) level; the
// window's end gives back every GDI object it made.
#include <gtest/gtest.h>

#include "main_wnd_fixture.h"
#include "map/map_surface.h"
#include "tessarel/unique_handle.h"

namespace tessarel::testing {
namespace {

using MainWindowLeaks = MainWindowTest;

TEST_F(MainWindowLeaks, HundredAnalyseAndStopCyclesLeaveNothing) {
  const long gdi_before_window = live_gdi_objects;
  WorkingStatus status{};
  status.state = 1;
  status.volume = 'C';
  status.totalUnits = 1000;
  status.doneUnits = 500;
  stand_in_set_status(&status);
  open();
  click_row(1);

  int runs = 0;
  auto cycle = [&] {
    stand_in_hold_runs();
    press(button_analyze_start);
    ASSERT_TRUE(stand_in_wait_for_calls("DLL_AnalyseVolume", ++runs, 5000));
    SendMessageW(hwnd(), WM_TIMER, 1, 0);
    press(button_analyze_stop);
    ASSERT_TRUE(wait_idle());
  };
  for (int i = 0; i < 5; ++i) cycle();  // first-use allocations settle
  const long gdi_before = live_gdi_objects;
  const DWORD handles_before = open_handle_count();
  for (int i = 0; i < 100; ++i) {
    cycle();
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(live_gdi_objects, gdi_before);
  // Wine keeps a few handles of its own at times; a leak per cycle is 100.
  EXPECT_LE(open_handle_count(), handles_before + 4);
  EXPECT_TRUE(reports().empty()) << "a stopped job opens no report";
  std::printf("[ cycles   ] 100 analyse-and-stop cycles: GDI objects %ld -> %ld, "
              "handles %lu -> %lu\n",
              gdi_before, static_cast<long>(live_gdi_objects), handles_before, open_handle_count());

  close();
  // The map's picture is the process's, kept for the next window until exit.
  release_map_surface();
  EXPECT_EQ(live_gdi_objects, gdi_before_window);
}

}  // namespace
}  // namespace tessarel::testing
