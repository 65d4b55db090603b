// Start-up: the program comes up over the simulated volumes showing C's map
// as the engine colours it, and closes with exit code 0.
#include <gtest/gtest.h>

#include "driver/e2e_files.h"
#include "driver/engine_cells.h"
#include "driver/main_window.h"
#include "driver/map_colours.h"
#include "driver/program_run.h"
#include "driver/program_windows.h"
#include "driver/window_picture.h"

namespace tessarel::e2e {
namespace {

TEST(Startup, ShowsCsMapAsTheEngineColoursIt) {
  program_run run(L"startup");
  ASSERT_TRUE(run.start());
  const HWND hwnd = run.wait_for_main_window();
  ASSERT_NE(hwnd, nullptr);
  main_window main(hwnd, run.process_id());

  const auto engine = engine_cell_codes("");
  ASSERT_EQ(engine.count('C'), 1u);
  const window_picture picture(hwnd);
  const auto palette = palette_colours(run.file(L"zq.ini"));
  ASSERT_EQ(palette.size(), 7u);
  const auto shown = shown_codes(picture, block_centres(client_size(hwnd)), palette);
  ASSERT_EQ(shown.size(), 2565u);
  std::vector<int> first(shown.begin(), shown.begin() + 1000);
  EXPECT_EQ(first, engine.at('C'));
  // Once the map has been read off the window: it has been painted by then
  // (the program paints late under emulation).
  save_checkpoint(hwnd, L"startup");

  ASSERT_TRUE(main.press(main_button::close));
  EXPECT_EQ(run.wait_for_exit(20000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace tessarel::e2e
