// Dragging a window with the left mouse button, with real mouse input.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui_test_support/scripted_dialog.h"
#include "toolkit_test_support.h"
#include "vemo/dialog.h"
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

// A widget whose press opens a modal box, as the main window's about, help
// and options areas do; the button is released while the box is up.
class opening_widget : public movable {
 public:
  explicit opening_widget(bool release_over_box) : release_over_box_(release_over_box) {}
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override {
    movable::on_lbutton_down(keys, x, y);
    scripted_dialog<vemo::modal_dlg> box(test_dialog_template);
    box.run_with(
        [&](vemo::modal_dlg&, HWND hwnd) {
          POINT cursor{};
          GetCursorPos(&cursor);
          if (release_over_box_) {
            MoveWindow(hwnd, cursor.x - 60, cursor.y - 50, 160, 100, TRUE);
          } else {
            MoveWindow(hwnd, cursor.x + 300, cursor.y + 200, 160, 100, TRUE);
          }
          pump_messages();
          release_left();
        },
        this);
  }

 private:
  bool release_over_box_;
};

// Catches a drag that outlives its button: the release went to the modal
// box (or nowhere, over the disabled widget), and afterwards the widget
// must not follow the mouse with no button held.
TEST(MovableWidget, DragEndsWhenTheButtonWasReleasedWhileAModalBoxWasUp) {
  for (const bool release_over_box : {true, false}) {
    SCOPED_TRACE(release_over_box ? "released over the box" : "released over the widget");
    opening_widget widget(release_over_box);
    ASSERT_NE(create_at(widget, 100, 100), nullptr);
    move_cursor_to(150, 150);
    press_left();  // runs the box until it ends
    move_cursor_to(160, 155);
    move_cursor_to(190, 170);
    EXPECT_FALSE(widget.dragging());
    EXPECT_EQ(top_left(widget).x, 100);
    EXPECT_EQ(top_left(widget).y, 100);
  }
}

}  // namespace
}  // namespace vemo::testing
