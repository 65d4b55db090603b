// The detail list's lines through the stand-in engine and the registry
// store: a cell's paths, and each selected line looked up where it came from.
#include <gtest/gtest.h>

#include "details/block_lines.h"
#include "engine/stand_in_engine_support.h"
#include "regscan/issue_store.h"

namespace tessarel::testing {
namespace {

using lines = std::vector<std::wstring>;

class BlockLines : public StandInEngineTest {
 protected:
  void SetUp() override {
    StandInEngineTest::SetUp();
    stand_in_set_file_list(&files);
    // Registry cell 0 holds one issue: a volume line of block 0 would find it
    // if the store were wrongly asked.
    regscan::reset_issue_groups();
    regscan::add_found_item({regscan::item_problem, L"无用的关键值", L"HKEY_CURRENT_USER\\x"});
  }
  void TearDown() override {
    stand_in_set_file_list(nullptr);
    StandInEngineTest::TearDown();
  }

  char first[16] = "C:\\a\\b.txt", second[16] = "C:\\z.sys";
  CellFileList files{first, second};
  engine_binding binding{stand_in_folder(L"full"), {}};
};

// Catches a reordered list, the wrong cell asked, and the engine asked for a
// list past its 1000 (it does not check the index).
TEST_F(BlockLines, AVolumeCellListsTheEnginesPathsAndOnlyCellsBelowAThousand) {
  lines out{L"old"};
  collect_block_lines({detail_kind::volume_files, L'D', 999, 5}, binding, out);
  EXPECT_EQ(out, (lines{L"C:\\a\\b.txt", L"C:\\z.sys"}));
  for (const int block : {1000, 2564, -1}) {
    collect_block_lines({detail_kind::volume_files, L'D', block, 5}, binding, out);
    EXPECT_EQ(out, lines{}) << block;
  }
  const auto calls = journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].first, 'D');
  EXPECT_EQ(calls[0].second, 999);
}

// Catches a selection answered by the view instead of the line's source: a
// registry text sent to the engine as a path, or a volume line answered with
// the registry cell of the same number.
TEST_F(BlockLines, EachLineIsLookedUpWhereItCameFrom) {
  const detail_source registry{detail_kind::registry_issues, 0, 0, -1};
  lines out;
  collect_block_lines(registry, binding, out);
  EXPECT_EQ(out, lines{L"无用的关键值"});
  EXPECT_TRUE(collect_item_lines({L"无用的关键值", 0, registry}, binding, out));
  EXPECT_EQ(out.front(), L"问题: 无用的关键值");
  EXPECT_FALSE(collect_item_lines({L"x", 1, registry}, binding, out));
  EXPECT_FALSE(collect_item_lines({L"x", 0, {}}, binding, out));
  EXPECT_EQ(journal().size(), 0u);

  const FileExtentInfo info{3, 0, 2, 5000};
  stand_in_set_file_info(&info);
  EXPECT_TRUE(collect_item_lines({L"C:\\a\\b.txt", 0, {detail_kind::volume_files, L'C', 0, 1}},
                                 binding, out));
  EXPECT_EQ(out, (lines{L"稀疏文件", L" 簇: 2", L"     大小: 5000", L"文件名: C:\\a\\b.txt"}));
  const auto calls = journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_STREQ(calls[0].export_name, "DLL_GetVolumeSectorFileInfo");
  EXPECT_STREQ(calls[0].text, "C:\\a\\b.txt");
}

}  // namespace
}  // namespace tessarel::testing
