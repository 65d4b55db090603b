// The handle holder every part shares: each handle is closed exactly once,
// and a value that holds nothing is never closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "tessarel/unique_handle.h"

namespace {

// Handles are positive numbers; 0 and -1 hold nothing. Records every close.
std::vector<int> closed;

struct counted_traits {
  using handle_type = int;
  static int invalid() noexcept { return 0; }
  static bool is_valid(int handle) noexcept { return handle > 0; }
  static bool close(int handle) noexcept {
    closed.push_back(handle);
    return handle != 13;
  }
};
using counted = tessarel::unique_handle<counted_traits>;

class UniqueHandle : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandle, ClosesExactlyOnceWhenItGoes) {
  { const counted held(7); }
  EXPECT_EQ(closed, std::vector<int>{7});
}

// Catches a move that leaves the source owning the handle too (double close).
TEST_F(UniqueHandle, MovedFromHolderClosesNothing) {
  {
    counted first(7);
    counted second(std::move(first));
    EXPECT_FALSE(first.is_open());
    EXPECT_EQ(second.get(), 7);
    counted third(8);
    third = std::move(second);  // 8 is closed here, 7 moves on
    EXPECT_EQ(closed, std::vector<int>{8});
  }
  EXPECT_EQ(closed, (std::vector<int>{8, 7}));
}

TEST_F(UniqueHandle, ResetClosesTheOldHandleAndKeepsTheNew) {
  counted held(7);
  held.reset(9);
  EXPECT_EQ(closed, std::vector<int>{7});
  EXPECT_EQ(held.get(), 9);
  held.reset();
  EXPECT_EQ(closed, (std::vector<int>{7, 9}));
  EXPECT_FALSE(held);
}

TEST_F(UniqueHandle, ReleaseHandsOverWithoutClosing) {
  {
    counted held(7);
    EXPECT_EQ(held.release(), 7);
    EXPECT_FALSE(held.is_open());
  }
  EXPECT_TRUE(closed.empty());
}

// Every value that holds nothing is kept as invalid() and never closed.
TEST_F(UniqueHandle, ValuesThatHoldNothingAreNeverClosed) {
  for (const int none : {0, -1}) {
    counted held(none);
    EXPECT_FALSE(held) << none;
    EXPECT_EQ(held.get(), 0) << none;
    EXPECT_FALSE(held.close()) << none;
    held.reset(none);
  }
  EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueHandle, CloseReportsTheCloseCallAndEmptiesTheHolder) {
  counted fails(13);
  EXPECT_FALSE(fails.close());
  counted works(7);
  EXPECT_TRUE(works.close());
  EXPECT_FALSE(works.close()) << "a second close must not reach the handle";
  EXPECT_EQ(closed, (std::vector<int>{13, 7}));
}

// CreateFile and FindFirstFile fail with INVALID_HANDLE_VALUE, which is also
// the process's own pseudo-handle; registry keys, files and GDI handles fail
// with null only.
TEST(UniqueHandleTraits, EachKindKnowsItsValuesThatHoldNothing) {
  EXPECT_FALSE(tessarel::unique_kernel_handle(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(tessarel::unique_kernel_handle(nullptr));
  WIN32_FIND_DATAW found;
  EXPECT_FALSE(tessarel::unique_find_handle(FindFirstFileW(L"Z:\\no\\such\\folder\\*", &found)));
  EXPECT_FALSE(tessarel::unique_registry_key(nullptr));
  EXPECT_FALSE(tessarel::unique_stdio_file(nullptr));
  EXPECT_FALSE(tessarel::unique_gdi_object<HBRUSH>(nullptr));
  EXPECT_FALSE(tessarel::unique_created_dc(nullptr));
}

// Catches a holder that forgets to close: the handle is gone afterwards.
TEST(UniqueHandleTraits, KernelHandleIsClosed) {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  tessarel::unique_kernel_handle held(event);
  EXPECT_TRUE(held.close());
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(event, &flags));
}

// The live count the leak tests read: moves keep it, every way out lowers it.
TEST(UniqueHandleTraits, GdiHoldersCountWhatTheyHold) {
  const long before = tessarel::live_gdi_objects;
  {
    tessarel::unique_gdi_object<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
    tessarel::unique_created_dc dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(tessarel::live_gdi_objects, before + 2);
    tessarel::unique_gdi_object<HBRUSH> moved(std::move(brush));
    moved = tessarel::unique_gdi_object<HBRUSH>(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(tessarel::live_gdi_objects, before + 2);
    DeleteObject(moved.release());
    EXPECT_EQ(tessarel::live_gdi_objects, before + 1);
    moved.reset(CreateSolidBrush(RGB(7, 8, 9)));
    EXPECT_EQ(tessarel::live_gdi_objects, before + 2);
  }
  EXPECT_EQ(tessarel::live_gdi_objects, before);
}

}  // namespace
