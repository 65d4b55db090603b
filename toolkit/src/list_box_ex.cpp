#include "vemo/list_box_ex.h"

#include "parent_notification.h"

namespace vemo {

list_box_ex::list_box_ex()
    : frame(L"list_box_ex", CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr, nullptr) {}

// The list box member goes first and destroys its window while that is
// still its own; the frame part then destroys this window.
list_box_ex::~list_box_ex() = default;

void list_box_ex::on_create(HWND hwnd, CREATESTRUCTW*) {
  // The own handle is stored only once creation returns: lend it to a
  // helper that forgets it again.
  hwnd_helper self(hwnd);
  create_child_window(list_, self, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY);
}

void list_box_ex::on_size(WPARAM, int width, int height) {
  MoveWindow(list_.handle(), 0, 0, width, height, TRUE);
}

bool list_box_ex::on_command(int code, int id, HWND) {
  switch (code) {
    case LBN_SELCHANGE:
      notify_parent(id);
      return true;
    case LBN_SELCANCEL:
      return true;
    case LBN_KILLFOCUS:
      on_kill_focus(id);
      return true;
    default:
      return false;
  }
}

void list_box_ex::notify_parent(int id) { vemo::notify_parent(handle(), id, 1); }

void list_box_ex::on_kill_focus(int) {}

}  // namespace vemo
