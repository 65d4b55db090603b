#include "driver/program_dialogs.h"

#include "driver/main_window.h"
#include "driver/program_windows.h"
#include "driver/wait_until.h"

namespace tessarel::e2e {

namespace {

constexpr const wchar_t* dialog_class = L"#32770";
constexpr const wchar_t* frame_class = L"frame_class_name";
// The menu's buttons, in its client coordinates.
constexpr POINT menu_close_origin{222, 9};
constexpr POINT menu_plain_origin{25, 56};
constexpr POINT menu_optimised_origin{25, 104};

HWND wait_for_dialog(DWORD pid, DWORD timeout_ms, const wchar_t* child_class) {
  HWND found = nullptr;
  wait_until(
      [&] {
        for (HWND dialog : top_windows(pid, dialog_class)) {
          if (!children_of_class(dialog, child_class).empty()) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

}  // namespace

HWND wait_for_message_box(DWORD pid, DWORD timeout_ms) {
  return wait_for_dialog(pid, timeout_ms, L"Button");
}

std::wstring message_box_text(HWND box) { return text_of(GetDlgItem(box, 0xFFFF)); }

bool answer_message_box(HWND box, int id) {
  const HWND button = GetDlgItem(box, id);
  if (button == nullptr) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  return true;
}

HWND wait_for_defrag_menu(DWORD pid, DWORD timeout_ms) {
  return wait_for_dialog(pid, timeout_ms, frame_class);
}

bool choose(HWND menu, menu_choice choice) {
  const POINT origin = choice == menu_choice::plain       ? menu_plain_origin
                       : choice == menu_choice::optimised ? menu_optimised_origin
                                                          : menu_close_origin;
  const HWND button = child_at(menu, frame_class, origin);
  if (button == nullptr) return false;
  const SIZE size = client_size(button);
  post_click(button, size.cx / 2, size.cy / 2);
  return true;
}

bool window_gone(HWND hwnd) { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }

}  // namespace tessarel::e2e
