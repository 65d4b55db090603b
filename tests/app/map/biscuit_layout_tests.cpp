// The map's geometry: the same 25 rings of 2565 blocks at every size, block
// placement around 12 o'clock, codes kept over a new layout, the hit test.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "map/biscuit_layout.h"
#include "map/map_test_support.h"

namespace tessarel::testing {
namespace {

const std::vector<int> ring_counts{161, 156, 151, 146, 141, 136, 132, 127, 122,
                                   117, 112, 107, 103, 98,  93,  88,  83,  78,
                                   74,  69,  64,  59,  54,  49,  45};
const std::vector<int> first_indexes{0,    161,  317,  468,  614,  755,  891,  1023, 1150,
                                     1272, 1389, 1501, 1608, 1711, 1809, 1902, 1990, 2073,
                                     2151, 2225, 2294, 2358, 2417, 2471, 2520};

biscuit_layout arranged(const view_rect& rect) {
  biscuit_layout layout;
  layout.arrange(rect);
  return layout;
}

TEST(BiscuitLayout, EverySizeYieldsTheSameRingsAndBlocks) {
  // A count that drifted with the size would shift every code onto the
  // wrong block.
  const view_rect rects[] = {{0, 0, 10, 10},     {0, 0, 11, 10},      {0, 0, 10, 37},
                             {194, 42, 794, 612}, {0, 0, 804, 632},   {0, 0, 333, 777},
                             {5.5, 7.25, 1005, 1200}, {0, 0, 4000, 3000}, {-50, -50, 61, 73}};
  for (const view_rect& rect : rects) {
    SCOPED_TRACE(::testing::Message() << rect.right - rect.left << " x " << rect.bottom - rect.top);
    const biscuit_layout layout = arranged(rect);
    EXPECT_EQ(layout.blocks_per_ring(), ring_counts);
    ASSERT_EQ(layout.blocks().size(), map_block_count);
    std::vector<int> firsts(ring_counts.size());
    std::exclusive_scan(layout.blocks_per_ring().begin(), layout.blocks_per_ring().end(),
                        firsts.begin(), 0);
    EXPECT_EQ(firsts, first_indexes);
  }
}

TEST(BiscuitLayout, BlocksStartAtTwelveOClockAndRunCounterClockwise) {
  const biscuit_layout layout = arranged({0, 0, 600, 600});
  const std::vector<map_block>& blocks = layout.blocks();
  EXPECT_DOUBLE_EQ(layout.outer_radius(), 300);
  EXPECT_DOUBLE_EQ(layout.inner_radius(), 75);
  EXPECT_DOUBLE_EQ(layout.ring_width(), 9);
  // The outer corner of block 0 is exactly the top of the circle.
  EXPECT_FLOAT_EQ(blocks[0].corners[0].x, 300);
  EXPECT_FLOAT_EQ(blocks[0].corners[0].y, 0);
  EXPECT_FLOAT_EQ(blocks[161].corners[0].x, 300);
  EXPECT_FLOAT_EQ(blocks[161].corners[0].y, 9);
  // Block 0 just left of the vertical, block 1 further left, block 160 right.
  EXPECT_LT(block_centre(blocks[0]).x, 300);
  EXPECT_LT(block_centre(blocks[1]).x, block_centre(blocks[0]).x);
  EXPECT_GT(block_centre(blocks[160]).x, 300);
  // Block 160 closes the ring on block 0.
  EXPECT_FLOAT_EQ(blocks[160].corners[0].x, blocks[0].corners[0].x);
  EXPECT_FLOAT_EQ(blocks[160].corners[1].y, blocks[0].corners[3].y);
  // Bottom and sides of ring 0: blocks 80, 40 and 120.
  EXPECT_GT(block_centre(blocks[80]).y, 590);
  EXPECT_LT(block_centre(blocks[40]).x, 10);
  EXPECT_GT(block_centre(blocks[120]).x, 590);
}

TEST(BiscuitLayout, ANewLayoutMovesBlocksAndKeepsTheirCodes) {
  biscuit_layout layout;
  layout.arrange({0, 0, 600, 600});
  for (std::size_t i = 0; i < layout.blocks().size(); ++i) {
    layout.blocks()[i].colour_code = static_cast<int>(i % 6);
  }
  layout.arrange({100, 50, 500, 450});
  ASSERT_EQ(layout.blocks().size(), map_block_count);
  EXPECT_FLOAT_EQ(layout.blocks()[0].corners[0].x, 300);
  EXPECT_FLOAT_EQ(layout.blocks()[0].corners[0].y, 50);
  for (std::size_t i = 0; i < layout.blocks().size(); ++i) {
    ASSERT_EQ(layout.blocks()[i].colour_code, static_cast<int>(i % 6)) << i;
  }
}

TEST(BiscuitLayout, ARectangleWithoutAreaMakesNoBlocksAndHitsNothing) {
  biscuit_layout layout = arranged({10, 10, 10, 50});
  EXPECT_TRUE(layout.blocks().empty());
  std::uint32_t index = 7;
  EXPECT_FALSE(layout.hit_test({10, 30}, index));
  layout.arrange({0, 0, 100, 100});
  EXPECT_EQ(layout.blocks().size(), map_block_count);
}

struct hit_case {
  const char* what;
  point_d point;
  bool hit;
  std::uint32_t index;
};

TEST(BiscuitLayout, HitTestFindsTheBlockUnderAPoint) {
  // 600 x 600: centre (300, 300), R 300, r 75, ring width 9.
  const biscuit_layout layout = arranged({0, 0, 600, 600});
  const hit_case cases[] = {
      {"straight above, ring 0", {300, 5}, true, 160},
      {"a little left of straight above", {297, 5}, true, 0},
      {"straight below", {300, 595}, true, 80},
      {"straight right", {595, 300}, true, 120},
      {"straight left", {5, 300}, true, 40},
      {"on the outer circle", {300, 0}, true, 160},
      {"straight above, ring 1", {300, 12}, true, 161 + 155},
      {"inner circle, above: ring 24, last block", {300, 225}, true, 2564},
      {"inner circle, below: ring 24", {300, 375}, true, 2520 + 22},
      {"just inside the inner circle", {299, 224.5}, true, 2520},
      {"outside the outer circle", {300, -0.5}, false, 0},
      {"corner of the rectangle", {0, 0}, false, 0},
      {"in the hole", {300, 226}, false, 0},
      {"the centre", {300, 300}, false, 0},
  };
  for (const hit_case& c : cases) {
    std::uint32_t index = 0;
    EXPECT_EQ(layout.hit_test(c.point, index), c.hit) << c.what;
    if (c.hit) {
      EXPECT_EQ(index, c.index) << c.what;
    }
  }
}

TEST(BiscuitLayout, HitTestNeverGivesAnIndexPastTheLastBlock) {
  // Every point of the inner circle of many sizes: ring 25 would read past
  // the ring list and index blocks that do not exist.
  for (const double side : {10.0, 40.0, 600.0, 1234.5}) {
    const biscuit_layout layout = arranged({0, 0, side, side});
    const double c = side / 2, r = layout.inner_radius();
    for (int step = 0; step < 360; ++step) {
      const double angle = step * map_two_pi / 360;
      std::uint32_t index = 0;
      if (layout.hit_test({c + r * std::cos(angle), c - r * std::sin(angle)}, index)) {
        ASSERT_GE(index, 2520u) << side << " " << step;
        ASSERT_LT(index, map_block_count) << side << " " << step;
      }
    }
  }
}

TEST(BiscuitLayout, HitTestBeforeTheFirstLayoutHitsNothing) {
  const biscuit_layout layout;
  std::uint32_t index = 0;
  EXPECT_FALSE(layout.hit_test({0, 0}, index));
}

}  // namespace
}  // namespace tessarel::testing
