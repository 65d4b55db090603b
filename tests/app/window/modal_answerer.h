#pragma once
// Answers the modal windows the code under test opens on this thread, from
// a thread timer that the modal loop itself dispatches: each message box or
// skinned dialog, in order of appearance, gets the next step of the script.
// A window beyond the script is recorded and cancelled, so a test that did
// not expect it fails instead of hanging.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui_test_support/scripted_dialog.h"

namespace tessarel::testing {

class modal_answerer {
 public:
  using step = std::function<void(HWND modal)>;

  struct seen {
    std::wstring text;     // a message box's text; empty for a dialog
    std::wstring caption;
    HWND owner = nullptr;
  };

  // Answers in place of the answerer made before it, until it goes.
  explicit modal_answerer(std::vector<step> steps = {})
      : steps_(std::move(steps)), previous_(current()) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, 20, &modal_answerer::tick);
  }
  ~modal_answerer() {
    KillTimer(nullptr, timer_);
    current() = previous_;
  }
  modal_answerer(const modal_answerer&) = delete;
  modal_answerer& operator=(const modal_answerer&) = delete;

  std::vector<seen> modals;

 private:
  static modal_answerer*& current() {
    static modal_answerer* answerer = nullptr;
    return answerer;
  }

  static BOOL CALLBACK find_modal(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (IsWindowVisible(hwnd) && std::wstring(name) == L"#32770") {
      *reinterpret_cast<HWND*>(found) = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    modal_answerer* self = current();
    if (!self || self->answering_) return;
    HWND modal = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &find_modal, reinterpret_cast<LPARAM>(&modal));
    for (auto it = self->answered_.begin(); it != self->answered_.end();)
      it = IsWindow(*it) ? std::next(it) : self->answered_.erase(it);
    if (!modal || self->answered_.count(modal)) return;
    self->answered_.insert(modal);
    self->answering_ = true;
    seen record;
    wchar_t text[512] = {};
    if (GetDlgItemTextW(modal, 0xFFFF, text, 512) > 0) record.text = text;
    GetWindowTextW(modal, text, 512);
    record.caption = text;
    record.owner = GetWindow(modal, GW_OWNER);
    self->modals.push_back(record);
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++](modal);
    } else {
      PostMessageW(modal, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    self->answering_ = false;
  }

  std::vector<step> steps_;
  modal_answerer* previous_;
  std::size_t next_ = 0;
  std::set<HWND> answered_;
  bool answering_ = false;
  UINT_PTR timer_ = 0;
};

// Presses a message box's button.
inline modal_answerer::step answer(int button) {
  return [button](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); };
}

// Clicks the index-th child window of a skinned dialog, counted from the top.
inline modal_answerer::step click_child(int index) {
  return [index](HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      children.push_back(child);
    std::sort(children.begin(), children.end(), [](HWND a, HWND b) {
      RECT ra{}, rb{};
      GetWindowRect(a, &ra);
      GetWindowRect(b, &rb);
      return ra.top < rb.top;
    });
    if (index >= static_cast<int>(children.size())) return;
    RECT rect{};
    GetClientRect(children[static_cast<std::size_t>(index)], &rect);
    click_at(children[static_cast<std::size_t>(index)], rect.right / 2, rect.bottom / 2);
  };
}

}  // namespace tessarel::testing
