// Times the main window's 500 ms timer tick over the stand-in engine, beside
// a full paint of the window: a tick while idle, a tick during an analysis
// that changes nothing (status and colours as before), and one that changes
// ten cells and the progress; each includes the repaint it causes. Goal: a
// tick that changes nothing costs under a tenth of a full paint.
//
// Options: --repeat N (default 20): each figure is the median of 5 batches of N runs
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "gui_test_support/scripted_dialog.h"
#include "map/block_palette.h"
#include "median_time.h"
#include "map/gdiplus_api.h"
#include "stand_in_engine/stand_in_control.h"
#include "vemo/dialog_items.h"
#include "vemo/program_instance.h"
#include "vemo/settings.h"
#include "window/main_window_start.h"
#include "window/main_wnd.h"

namespace {

using namespace tessarel;
using bench::time_ms;

std::wstring stand_in_engine_folder() {
  std::wstring folder = TESSAREL_BENCH_STAND_IN_DIR;
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
  }
  vemo::program_instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  vemo::open_settings(L"zq.ini");
  vemo::load_dialog_items();
  build_block_palette();
  stand_in_reset();
  {
    main_wnd main(stand_in_engine_folder());
    if (!create_main_window(main)) {
      std::fprintf(stderr, "no main window\n");
      return 1;
    }
    const HWND hwnd = main.handle();
    testing::pump_messages();
    auto paint = [&] { UpdateWindow(hwnd); };
    // The tick repaints what it changed itself (UpdateWindow); another
    // UpdateWindow here would only add Wine's walk over the child windows.
    auto tick = [&] { SendMessageW(hwnd, WM_TIMER, 1, 0); };

    const double full = time_ms(repeat, [&](int) {
      InvalidateRect(hwnd, nullptr, TRUE);
      paint();
    });
    const double idle = time_ms(repeat, [&](int) { tick(); });
    const double strip = time_ms(repeat, [&](int) {
      InvalidateRgn(hwnd, main.panel().update_region(), TRUE);
      paint();
    });

    // An analysis of C held open by the stand-in, its status and map steady.
    std::vector<int32_t> a(1000), b(1000);
    for (int i = 0; i < 1000; ++i) a[i] = b[i] = 1 + i % 5;
    for (int k = 0; k < 10; ++k) b[k * 100] = 5 - a[k * 100] % 5;
    stand_in_set_colours(a.data());
    WorkingStatus status{};
    status.state = 1;
    status.volume = 'C';
    status.totalUnits = 100000;
    status.doneUnits = 10;
    stand_in_set_status(&status);
    testing::click_at(main.volume_list().handle(), 40, 50);
    testing::pump_messages();
    stand_in_hold_runs();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(0, 0),
                 reinterpret_cast<LPARAM>(main.button(button_analyze_start).handle()));
    if (!stand_in_wait_for_calls("DLL_AnalyseVolume", 1, 5000)) {
      std::fprintf(stderr, "the analysis did not start\n");
      return 1;
    }
    tick();
    tick();
    const double steady = time_ms(repeat, [&](int) { tick(); });
    const double changing = time_ms(repeat, [&](int i) {
      stand_in_set_colours(i % 2 ? a.data() : b.data());
      status.doneUnits = 20 + i;
      stand_in_set_status(&status);
      tick();
    });
    stand_in_release_runs();
    testing::pump_until([&] { return !main.busy(); });

    std::printf("main window at 804 x 632 over the stand-in engine, %d runs\n", repeat);
    std::printf("  full window paint                      %8.3f ms\n", full);
    std::printf("  status strip repaint alone             %8.3f ms   (%.3f of a full paint)\n",
                strip, strip / full);
    std::printf("  timer tick, idle                       %8.3f ms   (%.3f of a full paint)\n",
                idle, idle / full);
    std::printf("  timer tick, analysing, nothing changed %8.3f ms   (%.3f of a full paint)\n",
                steady, steady / full);
    std::printf("  timer tick, analysing, 10 cells, progress %8.3f ms   (%.3f of a full paint)\n",
                changing, changing / full);
    DestroyWindow(hwnd);
    testing::pump_messages();
  }
  release_block_palette();
  vemo::free_dialog_items();
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
