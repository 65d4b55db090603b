#include "driver/main_window.h"

#include <commctrl.h>

#include "driver/program_windows.h"
#include "driver/wait_until.h"

namespace tessarel::e2e {

namespace {

// The toolkit's push buttons are frames of this class.
constexpr const wchar_t* frame_class = L"frame_class_name";
// Where the buttons sit; the close button lies right of the minimise one.
constexpr POINT analyse_origin{27, 227};
constexpr POINT defragment_origin{27, 265};
constexpr POINT advanced_origin{27, 303};
constexpr POINT minimise_origin{734, 1};
// The volume list and its rows: a header band, then one band per row.
constexpr POINT volume_list_origin{37, 78};
constexpr int list_row_height = 20;

RECT rect_in_parent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND visible_frame_at(HWND parent, POINT origin) {
  for (HWND child : children_of_class(parent, frame_class)) {
    const RECT rect = rect_in_parent(child);
    if (rect.left == origin.x && rect.top == origin.y && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

// The start and stop buttons of a place: the start button was made first,
// and children keep the order they were made in.
struct button_pair {
  HWND start = nullptr;
  HWND stop = nullptr;
};

button_pair pair_at(HWND parent, POINT origin) {
  button_pair pair;
  for (HWND child : children_of_class(parent, frame_class)) {
    const RECT rect = rect_in_parent(child);
    if (rect.left != origin.x || rect.top != origin.y) continue;
    (pair.start == nullptr ? pair.start : pair.stop) = child;
  }
  return pair;
}

HWND close_button(HWND parent) {
  for (HWND child : children_of_class(parent, frame_class)) {
    const RECT rect = rect_in_parent(child);
    if (rect.top == minimise_origin.y && rect.left > minimise_origin.x) return child;
  }
  return nullptr;
}

}  // namespace

void post_click(HWND hwnd, int x, int y) {
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

HWND main_window::button(main_button which) const {
  switch (which) {
    case main_button::analyse:
      return visible_frame_at(hwnd_, analyse_origin);
    case main_button::defragment:
      return visible_frame_at(hwnd_, defragment_origin);
    case main_button::advanced:
      return visible_frame_at(hwnd_, advanced_origin);
    case main_button::close:
      return close_button(hwnd_);
  }
  return nullptr;
}

bool main_window::press(main_button which) const {
  const HWND target = button(which);
  if (target == nullptr) return false;
  const SIZE size = client_size(target);
  post_click(target, size.cx / 2, size.cy / 2);
  return true;
}

bool main_window::press_start_then_stop(main_button which) const {
  const button_pair pair =
      pair_at(hwnd_, which == main_button::analyse ? analyse_origin : defragment_origin);
  if (pair.start == nullptr || pair.stop == nullptr || !IsWindowVisible(pair.start)) return false;
  const SIZE size = client_size(pair.start);
  post_click(pair.start, size.cx / 2, size.cy / 2);
  post_click(pair.stop, size.cx / 2, size.cy / 2);
  return true;
}

bool main_window::click_row(int row) const {
  HWND list = nullptr;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT rect = rect_in_parent(child);
    if (rect.left == volume_list_origin.x && rect.top == volume_list_origin.y) list = child;
  }
  if (list == nullptr) return false;
  post_click(list, 10, (row + 1) * list_row_height + list_row_height / 2);
  return true;
}

bool main_window::idle() const {
  // Each place shows its start button, not its Stop, while nothing runs. The
  // buttons follow the engine's status and can look idle while the job's end
  // is still on its way (the job ends on the program's next timer tick); the
  // progress bar stays up from a phase's start until the job has ended.
  if (progress_shown()) return false;
  for (const POINT origin : {analyse_origin, defragment_origin}) {
    const button_pair pair = pair_at(hwnd_, origin);
    if (pair.start == nullptr || !IsWindowVisible(pair.start) ||
        (pair.stop != nullptr && IsWindowVisible(pair.stop)))
      return false;
  }
  return true;
}

bool main_window::wait_idle(DWORD timeout_ms) const {
  // Idle counts once it has held for a while: clicks just posted (a start)
  // may not have been handled yet.
  constexpr ULONGLONG settle_ms = 400;
  ULONGLONG idle_since = 0;
  return wait_until(
      [&] {
        if (!idle()) {
          idle_since = 0;
          return false;
        }
        const ULONGLONG now = GetTickCount64();
        if (idle_since == 0) idle_since = now;
        return now - idle_since >= settle_ms;
      },
      timeout_ms);
}

HWND main_window::progress_bar() const {
  const auto bars = children_of_class(hwnd_, PROGRESS_CLASSW);
  return bars.empty() ? nullptr : bars.front();
}

bool main_window::progress_shown() const {
  const HWND bar = progress_bar();
  return bar != nullptr && IsWindowVisible(bar);
}

int main_window::progress_maximum() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(progress_bar(), PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<int>(result);
}

int main_window::progress_position() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(progress_bar(), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<int>(result);
}

}  // namespace tessarel::e2e
