// Dragging a window with the left mouse button, with real mouse input.
#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit_test_support.h"
#include "vemo/movable_widget.h"

namespace vemo::testing {
namespace {

class movable : public vemo::movable_widget_t {
 public:
  explicit movable(vemo::window* target = nullptr)
      : movable_widget_t(unique_class_name(L"movable"), CS_HREDRAW | CS_VREDRAW,
                         nullptr, nullptr, nullptr, nullptr, target) {}
};

POINT top_left(const vemo::window& w) {
  RECT r{};
  GetWindowRect(w.handle(), &r);
  return {r.left, r.top};
}

HWND create_at(vemo::window& w, int x, int y) {
  return w.create(L"", WS_POPUP | WS_VISIBLE, RECT{x, y, x + 200, y + 150}, nullptr, nullptr);
}

TEST(MovableWidget, DragMovesItsWindowByExactlyTheCursorsMovement) {
  movable widget;
  ASSERT_NE(create_at(widget, 100, 100), nullptr);
  move_cursor_to(150, 150);
  press_left();
  EXPECT_TRUE(widget.dragging());

  move_cursor_to(180, 170);
  EXPECT_EQ(top_left(widget).x, 130);
  EXPECT_EQ(top_left(widget).y, 120);
  move_cursor_to(175, 172);
  EXPECT_EQ(top_left(widget).x, 125);
  EXPECT_EQ(top_left(widget).y, 122);

  // A move message without a cursor change moves nothing.
  SendMessageW(widget.handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50));
  EXPECT_EQ(top_left(widget).x, 125);
  EXPECT_EQ(top_left(widget).y, 122);

  release_left();
  EXPECT_FALSE(widget.dragging());
  move_cursor_to(190, 190);
  EXPECT_EQ(top_left(widget).x, 125);
  EXPECT_EQ(top_left(widget).y, 122);
}

TEST(MovableWidget, DragMovesTheTargetInsteadOfTheWidget) {
  movable target_window;
  ASSERT_NE(create_at(target_window, 500, 400), nullptr);
  movable widget(&target_window);
  ASSERT_NE(create_at(widget, 100, 100), nullptr);

  move_cursor_to(150, 150);
  press_left();
  move_cursor_to(140, 165);
  release_left();
  EXPECT_EQ(top_left(target_window).x, 490);
  EXPECT_EQ(top_left(target_window).y, 415);
  EXPECT_EQ(top_left(widget).x, 100);
  EXPECT_EQ(top_left(widget).y, 100);
}

TEST(MovableWidget, LeavingTheWindowEndsTheDrag) {
  movable widget;
  ASSERT_NE(create_at(widget, 100, 100), nullptr);
  move_cursor_to(150, 150);
  press_left();
  ASSERT_TRUE(widget.dragging());

  move_cursor_to(600, 600);
  EXPECT_TRUE(pump_until([&] { return !widget.dragging(); }));
  release_left();
  EXPECT_EQ(top_left(widget).x, 100);
  EXPECT_EQ(top_left(widget).y, 100);
}

}  // namespace
}  // namespace vemo::testing
