#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "toolkit_test_support.h"
#include "vemo/frame.h"
#include "vemo/message_loop.h"

namespace vemo::testing {
namespace {

class posting_frame : public vemo::frame {
 public:
  posting_frame()
      : frame(unique_class_name(L"posting"), 0, nullptr, nullptr, nullptr,
              nullptr) {}
  bool on_message(UINT message, WPARAM wparam, LPARAM) override {
    if (message != WM_APP) return false;
    seen.push_back(static_cast<int>(wparam));
    if (wparam == 3) PostQuitMessage(-1);
    return true;
  }
  std::vector<int> seen;
};

TEST(MessageLoop, DispatchesUntilTheQuitMessageAndReturnsItsCode) {
  posting_frame f;
  ASSERT_NE(f.create(L"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr), nullptr);
  for (int i = 1; i <= 3; ++i) PostMessageW(f.handle(), WM_APP, i, 0);
  EXPECT_EQ(vemo::run_message_loop(), -1);
  EXPECT_EQ(f.seen, (std::vector<int>{1, 2, 3}));
}

TEST(MessageLoop, ReturnsTheExitCodeOfPostQuitMessage) {
  PostQuitMessage(37);
  EXPECT_EQ(vemo::run_message_loop(), 37);
  PostQuitMessage(0);
  EXPECT_EQ(vemo::run_message_loop(), 0);
}

}  // namespace
}  // namespace vemo::testing
