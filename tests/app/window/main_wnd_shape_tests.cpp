// The main window as the program shows it, and the plain rules its layout,
// skin and command line follow.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "main_wnd_fixture.h"
#include "map/gdiplus_api.h"
#include "startup/program_texts.h"
#include "vemo/gdi_handles.h"
#include "window/command_line_job.h"
#include "window/hit_areas.h"

namespace tessarel::testing {
namespace {

RECT child_rect(HWND parent, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

using MainWindowShape = MainWindowTest;

// The settings file's bytes without the lines of key.
std::string settings_without(const std::string& key) {
  std::string all;
  if (FILE* file = _wfopen((test_folder() + L"\\zq.ini").c_str(), L"rb")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
      all.append(buffer, got);
    std::fclose(file);
  }
  std::string kept;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\n', start);
    end = end == std::string::npos ? all.size() : end + 1;
    const std::string line = all.substr(start, end - start);
    if (line.compare(0, key.size() + 1, key + ' ') != 0) kept += line;
    start = end;
  }
  return kept;
}

// Every skin key of the main window is read before the engine is loaded: a
// missing one fails the construction with cfg_error even where no engine
// can be loaded at all, so it never costs an engine start-up and shut-down
// (which would rewrite the engine's state files).
TEST_F(MainWindowShape, MissingSkinKeyFailsBeforeTheEngineLoads) {
  std::vector<std::string> keys{"logo_img", "biscuit_view_background_img"};
  for (int index = 0; index < 28; ++index) keys.push_back(button_image_key(index));
  struct settings_back {
    ~settings_back() {
      vemo::close_settings();
      vemo::open_settings(L"zq.ini");
    }
  } restore;
  const std::wstring no_engine = test_folder() + L"\\no_engine_here";
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    const scoped_file settings(L"zq_without_key.ini", settings_without(key));
    vemo::close_settings();
    vemo::open_settings(settings.name());
    ASSERT_NE(vemo::settings(), nullptr);
    try {
      main_wnd window(no_engine);
      ADD_FAILURE() << "constructed without the key";
    } catch (const vemo::cfg_error& error) {
      EXPECT_NE(std::string(error.what()).find(key), std::string::npos) << error.what();
    } catch (const std::exception& error) {
      ADD_FAILURE() << "the engine was loaded first: " << error.what();
    }
  }
}

// Catches a misplaced or wrongly shown child, a caption left on, or a
// window of the wrong class or size.
TEST_F(MainWindowShape, ClassSizeNoCaptionAndChildren) {
  open();
  wchar_t name[64] = {};
  GetClassNameW(hwnd(), name, 64);
  EXPECT_STREQ(name, main_window_class_name);
  RECT window{};
  GetWindowRect(hwnd(), &window);
  EXPECT_EQ(window.right - window.left, 804);
  EXPECT_EQ(window.bottom - window.top, 632);
  EXPECT_EQ(GetWindowLongW(hwnd(), GWL_STYLE) & WS_CAPTION, 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  EXPECT_EQ(client.right, 804);
  EXPECT_EQ(client.bottom, 632);

  const struct {
    const char* name;
    HWND child;
    RECT rect;
    bool visible;
  } children[] = {
      {"volume list", main->volume_list().handle(), {37, 78, 145, 203}, true},
      {"analyse", main->button(button_analyze_start).handle(), {27, 227, 157, 261}, true},
      {"analyse stop", main->button(button_analyze_stop).handle(), {27, 227, 157, 261}, false},
      {"defragment", main->button(button_defragment_start).handle(), {27, 265, 157, 299}, true},
      {"defragment stop", main->button(button_defragment_stop).handle(), {27, 265, 157, 299},
       false},
      {"advanced", main->button(button_advanced).handle(), {27, 303, 157, 337}, true},
      {"detail list", main->detail_list().handle(), {37, 378, 145, 586}, true},
      {"popup", main->block_popup().handle(), {184, 232, 384, 432}, false},
  };
  for (const auto& c : children) {
    SCOPED_TRACE(c.name);
    const RECT rect = child_rect(hwnd(), c.child);
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.right, c.rect.right);
    EXPECT_EQ(rect.bottom, c.rect.bottom);
    EXPECT_EQ(IsWindowVisible(c.child) != FALSE, c.visible);
  }
  // Minimise and close side by side from (734, 1), each its image's size.
  const RECT minimize = child_rect(hwnd(), main->button(button_minimize).handle());
  const RECT close = child_rect(hwnd(), main->button(button_close).handle());
  EXPECT_EQ(minimize.left, 734);
  EXPECT_EQ(minimize.top, 1);
  EXPECT_EQ(close.left, minimize.right);
  EXPECT_GT(close.right, close.left);
  EXPECT_FALSE(IsWindowVisible(main->progress().handle()));
  EXPECT_FALSE(main->logo().empty());
  EXPECT_FALSE(main->background().empty());
  EXPECT_TRUE(save_screenshot(hwnd(), L"main_window_idle.png"));
}

// An unreadable file draws nothing; a readable one is stretched over the
// whole target.
TEST(MainWindowSkin, SkinImageDecodesOrStaysEmpty) {
  EXPECT_TRUE(skin_image(test_folder() + L"\\no such image.png").empty());
  const scoped_file red(L"skin_image_test.bmp", bmp_file(2, 2, [](int, int) {
                          return RGB(200, 0, 0);
                        }));
  const skin_image image(red.path());
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(image.size().cx, 2);

  const vemo::created_dc dc(CreateCompatibleDC(nullptr));
  const vemo::window_dc screen(nullptr);
  const vemo::gdi_object<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), 20, 20));
  const vemo::selected_object selected(dc.get(), bitmap.get());
  PatBlt(dc.get(), 0, 0, 20, 20, WHITENESS);
  image.draw(dc.get(), RECT{0, 0, 20, 20});
  EXPECT_EQ(GetPixel(dc.get(), 10, 10), RGB(200, 0, 0));
  skin_image().draw(dc.get(), RECT{0, 0, 20, 20});
}

// Catches an area that is off by one at its edges (PtInRect: right and
// bottom are outside) or a hit before the first layout.
TEST(MainWindowAreas, HitAreasByPtInRect) {
  const hit_areas areas = main_hit_areas();
  const struct {
    int x, y;
    hit_area expected;
  } cases[] = {{716, 47, hit_area::about},   {756, 50, hit_area::none},
               {790, 60, hit_area::help},    {798, 106, hit_area::options},
               {799, 106, hit_area::none},   {400, 300, hit_area::none}};
  for (const auto& c : cases) EXPECT_EQ(hit_area_at(areas, c.x, c.y), c.expected) << c.x << c.y;
  EXPECT_EQ(hit_area_at(hit_areas{}, 0, 0), hit_area::none);
}

// A screen smaller than the window gives a negative corner, rounded toward
// zero as signed division does.
TEST(MainWindowStart, CentredOriginDividesSigned) {
  EXPECT_EQ(centred_origin(1024, 768, 804, 632).x, 110);
  EXPECT_EQ(centred_origin(1024, 768, 804, 632).y, 68);
  EXPECT_EQ(centred_origin(800, 600, 804, 632).x, -2);
  EXPECT_EQ(centred_origin(800, 600, 804, 632).y, -16);
  EXPECT_EQ(centred_origin(803, 631, 804, 632).x, 0) << "-1 / 2 is 0, not -1";
}

// Catches a command line that defragments what it does not name: only
// letters of listed fixed drives, either case, each once, in order.
TEST(CommandLineJob, KeepsOnlyListedFixedDrivesOnce) {
  const std::vector<wchar_t> fixed = {L'C', L'D'};
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"CD", L"CD"}, {L"dc", L"DC"},   {L"CcDd", L"CD"}, {L"-help", L""},
      {L"X", L""},    {L"C,E;D", L"CD"}, {L"\tC", L"C"},   {L"", L""},
      {L"\u0421", L""}};  // a Cyrillic letter that looks like C
  for (const auto& c : cases)
    EXPECT_EQ(command_line_job_letters(c.first, fixed), c.second) << ::testing::PrintToString(c.first);
}

// Catches a word read letter by letter: "-help" on a machine with E: must
// not defragment E.
TEST(CommandLineJob, AWordThatIsNotAllDrivesNamesNone) {
  const std::vector<wchar_t> fixed = {L'C', L'D', L'E'};
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"-help", L""}, {L"/e", L"E"}, {L"C E", L"CE"}, {L"ced", L"CED"}, {L"C: exe", L"C"}};
  for (const auto& c : cases)
    EXPECT_EQ(command_line_job_letters(c.first, fixed), c.second) << ::testing::PrintToString(c.first);
}

using MainWindowCommandLine = MainWindowTest;

// The command line runs once, at the first layout, as a plain
// defragmentation of its filtered letters; nothing left starts nothing.
TEST_F(MainWindowCommandLine, FilteredLettersStartOneDefragmentation) {
  const std::pair<const wchar_t*, const char*> cases[] = {{L"d c d", "DC"}, {L"-help", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    stand_in_reset();
    store_command_line(c.first);
    open();
    ASSERT_TRUE(wait_idle());
    MoveWindow(hwnd(), 0, 0, 804, 632, TRUE);  // a later layout starts nothing
    ASSERT_TRUE(wait_idle());
    const auto runs = journal("DLL_DefragVolume");
    ASSERT_EQ(runs.size(), *c.second ? 1u : 0u);
    if (!runs.empty()) {
      EXPECT_STREQ(runs[0].text, c.second);
    }
    close();
  }
}

}  // namespace
}  // namespace tessarel::testing
