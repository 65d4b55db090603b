// The map view in a real window: the surface's colours at block centres,
// code changes that repaint what changed and nothing else, layouts that keep
// codes, clicks, and a screenshot of every palette colour with the legend.
#include <gtest/gtest.h>

#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "map/biscuit_view.h"
#include "map/map_legend.h"
#include "map/map_surface.h"
#include "map/map_test_support.h"

namespace tessarel::testing {
namespace {

class map_view_test : public ::testing::Test {
 protected:
  void SetUp() override {
    build_sample_palette();
    ASSERT_NE(view.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 600, 600}, nullptr, nullptr),
              nullptr);
    ASSERT_EQ(view.map_layout().blocks().size(), map_block_count);
  }

  std::vector<map_block>& blocks() { return view.map_layout().blocks(); }

  // Every block whose surface colour at its centre is not its code's.
  std::vector<std::size_t> wrong_blocks() {
    std::vector<std::size_t> wrong;
    for (std::size_t i = 0; i < blocks().size(); ++i) {
      const POINT c = block_centre(blocks()[i]);
      if (map_surface_pixel(c.x, c.y) != block_colour(blocks()[i].colour_code)) {
        wrong.push_back(i);
      }
    }
    return wrong;
  }

  biscuit_view view{nullptr};
};

TEST_F(map_view_test, TheSurfaceShowsEveryBlockInItsCodesColour) {
  const SIZE size = map_surface_size();
  EXPECT_EQ(size.cx, 600);
  EXPECT_EQ(size.cy, 600);
  EXPECT_EQ(wrong_blocks(), std::vector<std::size_t>{});
  // Outside the rings and in the hole the surface stays transparent.
  EXPECT_EQ(map_surface_pixel(3, 3), 0u);
  EXPECT_EQ(map_surface_pixel(300, 300), 0u);
}

TEST_F(map_view_test, SetBlockColorsChangesOnlyThePositionsGiven) {
  std::vector<int> all(map_block_count);
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i % 6);
  view.set_block_colors(all);
  // A volume's 1000 cells: blocks 1000 to 2564 keep their codes and colours.
  view.set_block_colors(std::vector<int>(1000, 6));
  for (std::size_t i = 0; i < map_block_count; ++i) {
    ASSERT_EQ(blocks()[i].colour_code, i < 1000 ? 6 : static_cast<int>(i % 6)) << i;
  }
  EXPECT_EQ(wrong_blocks(), std::vector<std::size_t>{});
  // The window shows the surface.
  for (const std::size_t i : {0u, 999u, 1000u, 2564u}) {
    const POINT c = block_centre(blocks()[i]);
    const COLORREF expected = to_colorref(block_colour(blocks()[i].colour_code));
    EXPECT_EQ(client_pixel(view.handle(), c.x, c.y), expected) << i;
  }
}

TEST_F(map_view_test, IdenticalCodesRepaintAndInvalidateNothing) {
  std::vector<int> codes(map_block_count, 3);
  view.set_block_colors(codes);
  const std::size_t painted = map_blocks_painted();
  ValidateRect(view.handle(), nullptr);
  view.set_block_colors(codes);
  EXPECT_EQ(map_blocks_painted(), painted);
  EXPECT_FALSE(GetUpdateRect(view.handle(), nullptr, FALSE));

  // One changed code paints one block.
  codes[1500] = 4;
  view.set_block_colors(codes);
  EXPECT_EQ(map_blocks_painted(), painted + 1);
}

TEST_F(map_view_test, ARefreshedBlockInvalidatesOnlyItsBoundingBox) {
  UpdateWindow(view.handle());
  ValidateRect(view.handle(), nullptr);
  blocks()[500].colour_code = 5;
  view.refresh_block(500);
  RECT expected{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (const map_point& p : blocks()[500].corners) {
    expected.left = std::min<LONG>(expected.left, static_cast<LONG>(p.x) - 2);
    expected.top = std::min<LONG>(expected.top, static_cast<LONG>(p.y) - 2);
    expected.right = std::max<LONG>(expected.right, static_cast<LONG>(p.x) + 2);
    expected.bottom = std::max<LONG>(expected.bottom, static_cast<LONG>(p.y) + 2);
  }
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(view.handle(), &update, FALSE));
  EXPECT_EQ(update.left, expected.left);
  EXPECT_EQ(update.top, expected.top);
  EXPECT_EQ(update.right, expected.right);
  EXPECT_EQ(update.bottom, expected.bottom);
  const POINT c = block_centre(blocks()[500]);
  EXPECT_EQ(map_surface_pixel(c.x, c.y), block_colour(5));

  // An index past the list is ignored.
  ValidateRect(view.handle(), nullptr);
  view.repaint_block(2565);
  EXPECT_FALSE(GetUpdateRect(view.handle(), nullptr, FALSE));
}

TEST_F(map_view_test, ACodeOutsideThePaletteDrawsTheFallbackColour) {
  std::vector<int> codes{7, -1, 1000, 2};
  view.set_block_colors(codes);
  for (std::size_t i = 0; i < 3; ++i) {
    const POINT c = block_centre(blocks()[i]);
    EXPECT_EQ(map_surface_pixel(c.x, c.y), fallback_block_colour) << i;
  }
}

TEST_F(map_view_test, ResizingKeepsCodesAndTinyOrMinimisedSizesChangeNothing) {
  view.set_block_colors(std::vector<int>(map_block_count, 2));
  MoveWindow(view.handle(), 0, 0, 400, 300, TRUE);
  EXPECT_DOUBLE_EQ(view.map_layout().outer_radius(), 150);
  EXPECT_EQ(map_surface_size().cx, 400);
  for (const map_block& block : blocks()) ASSERT_EQ(block.colour_code, 2);
  EXPECT_EQ(wrong_blocks(), std::vector<std::size_t>{});

  MoveWindow(view.handle(), 0, 0, 9, 300, TRUE);
  SendMessageW(view.handle(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(500, 500));
  EXPECT_DOUBLE_EQ(view.map_layout().outer_radius(), 150);
  EXPECT_EQ(map_surface_size().cx, 400);
}

std::vector<std::uint32_t> clicked;
void record_click(std::uint32_t block) { clicked.push_back(block); }

TEST_F(map_view_test, AClickOnABlockReachesTheCallbackAndStartsNoDrag) {
  clicked.clear();
  SendMessageW(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 5));
  EXPECT_TRUE(clicked.empty());  // no callback set
  view.block_click_callback = record_click;
  SendMessageW(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 5));
  SendMessageW(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
  SendMessageW(view.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 300));
  EXPECT_EQ(clicked, (std::vector<std::uint32_t>{160, 40}));
  EXPECT_FALSE(view.dragging());
}

// The map as the main window places it, over a background, with the legend.
class legend_view : public biscuit_view {
 public:
  legend_view() : biscuit_view(nullptr) {}

 protected:
  void on_size(WPARAM, int width, int height) override {
    map_layout().layout({194, 42, double(width - 10), double(height - 20)}, width, height);
    height_ = height;
  }
  void on_paint(HDC dc, PAINTSTRUCT& paint) override {
    const vemo::gdi_object<HBRUSH> background(CreateSolidBrush(RGB(40, 48, 64)));
    FillRect(dc, &paint.rcPaint, background.get());
    copy_surface(dc);
    SetTextColor(dc, RGB(255, 255, 255));
    draw_legend(dc, POINT{184, height_ - 25});
  }

 private:
  int height_ = 0;
};

TEST(MapScreenshot, EveryPaletteColourAndTheLegend) {
  build_sample_palette();
  legend_view view;
  ASSERT_NE(view.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 804, 632}, nullptr, nullptr),
            nullptr);
  // Ring by ring through the palette, with a spoke of every colour.
  std::vector<int> codes(map_block_count);
  const std::size_t entries = block_palette_size();
  for (std::size_t ring = 0, first = 0; ring < 25; ++ring) {
    const std::size_t n = static_cast<std::size_t>(view.map_layout().blocks_per_ring()[ring]);
    for (std::size_t j = 0; j < n; ++j) {
      codes[first + j] = static_cast<int>(j < 2 * entries ? j / 2 : ring % entries);
    }
    first += n;
  }
  view.set_block_colors(codes);
  EXPECT_TRUE(save_screenshot(view.handle(), L"map_view_palette.png"));
  for (const std::size_t i : {0u, 13u, 161u, 900u, 2564u}) {
    const POINT c = block_centre(view.map_layout().blocks()[i]);
    EXPECT_EQ(client_pixel(view.handle(), c.x, c.y), to_colorref(block_colour(codes[i]))) << i;
  }
}

}  // namespace
}  // namespace tessarel::testing
