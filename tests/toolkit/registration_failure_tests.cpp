// Entering a new window's object allocates. When that fails, the exception
// must not unwind through the system's frames: the window is cancelled and
// the caller gets the exception back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <new>

#include "toolkit_test_support.h"
#include "vemo/dialog.h"
#include "vemo/frame.h"

namespace {

// One allocation on this thread fails when armed.
thread_local bool fail_next_allocation = false;

}  // namespace

void* operator new(std::size_t size) {
  if (fail_next_allocation) {
    fail_next_allocation = false;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace vemo::testing {
namespace {

TEST(RegistrationFailure, FrameIsCancelledAndCreateRaisesTheError) {
  vemo::frame f(unique_class_name(L"unregistered"), 0, nullptr, nullptr, nullptr, nullptr);
  fail_next_allocation = true;
  EXPECT_THROW(f.create(L"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr), std::bad_alloc);
  fail_next_allocation = false;
  EXPECT_EQ(f.handle(), nullptr);
}

// Ends itself should its object be entered after all.
class closing_dlg : public vemo::modal_dlg {
 public:
  closing_dlg() : modal_dlg(test_dialog_template) {}
  INT_PTR on_init_dialog(HWND hwnd, WPARAM, LPARAM) override {
    EndDialog(hwnd, 7);
    return TRUE;
  }
};

TEST(RegistrationFailure, DialogEndsAndTheRunRaisesTheError) {
  closing_dlg dlg;
  fail_next_allocation = true;
  EXPECT_THROW(dlg.run(nullptr), std::bad_alloc);
  fail_next_allocation = false;
  EXPECT_EQ(dlg.handle(), nullptr);
}

}  // namespace
}  // namespace vemo::testing
