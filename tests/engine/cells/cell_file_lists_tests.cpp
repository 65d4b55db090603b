#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cells/cell_file_lists.h"

namespace dravik::testing {
namespace {

std::vector<std::string> texts_of(const CellFileList& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

// Catches lost order, shared buffers and a list that points at the caller's
// text instead of its own copy.
TEST(CellFileLists, AppendsCopiesInOrder) {
  slot_file_lists lists;
  std::string path = "C:\\a\\one.txt";
  lists.append(5, path.c_str());
  path = "C:\\b\\two.txt";
  lists.append(5, path.c_str());
  lists.append(5, "C:\\a\\one.txt");  // appending has no duplicate test
  EXPECT_EQ(texts_of(lists.list(5)),
            (std::vector<std::string>{"C:\\a\\one.txt", "C:\\b\\two.txt", "C:\\a\\one.txt"}));
  EXPECT_TRUE(lists.list(4).empty());
  EXPECT_TRUE(lists.list(6).empty());
}

// Catches an index outside the 1000 lists reaching past them.
TEST(CellFileLists, OutsideIndexesUseTheLastList) {
  slot_file_lists lists;
  lists.append(-1, "x");
  lists.append(1000, "y");
  EXPECT_EQ(texts_of(lists.list(999)), (std::vector<std::string>{"x", "y"}));
}

// Catches a duplicate test that compares case-sensitively, a prefix, or the
// wrong cell.
TEST(CellFileLists, HoldsComparesWholePathsIgnoringCase) {
  slot_file_lists lists;
  lists.append(7, "C:\\Dir\\File.DAT");
  EXPECT_TRUE(lists.holds(7, "c:\\dir\\file.dat"));
  EXPECT_FALSE(lists.holds(7, "c:\\dir\\file.da"));
  EXPECT_FALSE(lists.holds(7, "c:\\dir\\file.data"));
  EXPECT_FALSE(lists.holds(8, "C:\\Dir\\File.DAT"));
}

// Catches texts cut at a fixed size or spilling across block edges: long and
// many paths must come back whole.
TEST(CellFileLists, KeepsLongAndManyPathsWhole) {
  slot_file_lists lists;
  const std::string long_path = "C:\\" + std::string(70000, 'p');
  lists.append(0, long_path.c_str());
  for (int i = 0; i < 20000; ++i) {
    const std::string path = "C:\\dir\\file" + std::to_string(i) + ".bin";
    lists.append(i % 1000, path.c_str());
  }
  EXPECT_EQ(lists.list(0).front(), long_path);
  EXPECT_EQ(lists.list(0).size(), 21u);
  EXPECT_STREQ(lists.list(999).back(), "C:\\dir\\file19999.bin");
  EXPECT_STREQ(lists.list(3)[5], "C:\\dir\\file5003.bin");
}

// Catches lists left holding freed texts after a clear, and a clear that
// breaks later appends.
TEST(CellFileLists, ClearEmptiesEveryListAndAllowsRefill) {
  slot_file_lists lists;
  for (int cell = 0; cell < 1000; cell += 111) lists.append(cell, "C:\\old");
  lists.clear();
  for (int cell = 0; cell < 1000; ++cell) ASSERT_TRUE(lists.list(cell).empty()) << cell;
  EXPECT_FALSE(lists.holds(0, "C:\\old"));
  lists.append(0, "C:\\new");
  EXPECT_EQ(texts_of(lists.list(0)), (std::vector<std::string>{"C:\\new"}));
}

}  // namespace
}  // namespace dravik::testing
