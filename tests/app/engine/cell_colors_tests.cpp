// The map's colours from the engine: the volume selected only when asked,
// then all 1000 codes in cell order.
#include "engine/cell_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "stand_in_engine_support.h"

namespace tessarel::testing {
namespace {

using CellColors = StandInEngineTest;

// Catches a volume switched when only a refresh was asked (the colours
// would follow another volume's recency), a short or reordered copy, and
// codes that replace the caller's instead of following them.
TEST_F(CellColors, SelectsTheVolumeOnlyWhenAskedThenAppendsItsThousandCodes) {
  std::vector<int32_t> table(1000);
  for (int cell = 0; cell < 1000; ++cell) table[cell] = (cell * 7) % 6;
  stand_in_set_colours(table.data());
  engine_binding binding(stand_in_folder(L"full"), {});

  for (const bool set_current : {true, false}) {
    SCOPED_TRACE(set_current);
    const std::size_t before = journal().size();
    std::vector<int32_t> codes{9, 9};
    collect_cell_colors(L'D', binding, codes, set_current);

    ASSERT_EQ(codes.size(), 1002u);
    EXPECT_EQ(codes[0], 9);
    EXPECT_EQ(codes[1], 9);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), codes.begin() + 2));

    const auto calls = journal();
    std::vector<std::string> names;
    for (std::size_t i = before; i < calls.size(); ++i) {
      names.push_back(calls[i].export_name);
      EXPECT_EQ(calls[i].first, 'D');
    }
    if (set_current) {
      EXPECT_EQ(names, (std::vector<std::string>{"DLL_SetCurrentVolume",
                                                 "DLL_GetVolumeColorTable"}));
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"DLL_GetVolumeColorTable"}));
    }
  }
}

// Catches a null table read as 1000 codes.
TEST_F(CellColors, NoTableFromTheEngineGivesThousandFreeCells) {
  stand_in_set_colours(nullptr);
  engine_binding binding(stand_in_folder(L"full"), {});
  std::vector<int32_t> codes;
  collect_cell_colors(L'C', binding, codes, false);
  EXPECT_EQ(codes, std::vector<int32_t>(1000, 0));
}

}  // namespace
}  // namespace tessarel::testing
