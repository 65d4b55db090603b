#pragma once
// Drives a modal dialog from inside its own message loop. The steps run one
// per tick of a thread timer on the thread that shows the dialog, so they
// act on the real window with real messages and need no second thread.
// Messages a step posts are handled before the next step runs (a timer tick
// comes only when the queue holds nothing else).
//
//   dialog_driver driver(L"title", {step1, step2});
//   DLL_Options();            // the steps run while this shows the dialog
//   EXPECT_EQ(driver.steps_run(), 2u);
//
// A dialog still open after the last step is cancelled through IDCANCEL so
// that a failing test cannot hang.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dravik::testing {

class dialog_driver {
 public:
  using step = std::function<void(HWND dialog)>;

  dialog_driver(std::wstring title, std::vector<step> steps)
      : title_(std::move(title)), steps_(std::move(steps)) {
    active() = this;
    timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &dialog_driver::on_tick);
  }
  ~dialog_driver() {
    if (timer_) KillTimer(nullptr, timer_);
    active() = nullptr;
  }
  dialog_driver(const dialog_driver&) = delete;
  dialog_driver& operator=(const dialog_driver&) = delete;

  std::size_t steps_run() const { return next_; }

  static HWND find(const std::wstring& title) {
    const HWND dialog = FindWindowW(L"#32770", title.c_str());
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
  }

 private:
  static dialog_driver*& active() {
    static dialog_driver* driver = nullptr;
    return driver;
  }

  static void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD) {
    if (dialog_driver* driver = active()) driver->tick();
  }

  void tick() {
    const HWND dialog = find(title_);
    if (!dialog) return;
    if (next_ < steps_.size()) {
      steps_[next_++](dialog);
      return;
    }
    ADD_FAILURE() << "the dialog is still open after the last step";
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }

  std::wstring title_;
  std::vector<step> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

// Small actions for steps.
inline void set_text(HWND dialog, int id, const std::wstring& text) {
  SetDlgItemTextW(dialog, id, text.c_str());
}

inline std::wstring text_of(HWND dialog, int id) {
  wchar_t buffer[1024] = {};
  GetDlgItemTextW(dialog, id, buffer, 1024);
  return buffer;
}

inline void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline bool checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// One control of a dialog template as it should appear: its text and its
// place in dialog units (left, top, width, height).
struct template_control {
  int id;
  const wchar_t* text;
  RECT units;
};

// Checks the control's text and that its place matches the template. Position
// and size are converted to pixels each on its own, as the dialog manager
// does when it creates the controls.
inline void expect_template_control(HWND dialog, const template_control& c) {
  EXPECT_EQ(text_of(dialog, c.id), c.text) << c.id;
  RECT expected = c.units;
  MapDialogRect(dialog, &expected);
  RECT actual;
  GetWindowRect(GetDlgItem(dialog, c.id), &actual);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ(actual.left, expected.left) << c.id;
  EXPECT_EQ(actual.top, expected.top) << c.id;
  EXPECT_EQ(actual.right - actual.left, expected.right) << c.id;
  EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.id;
}

}  // namespace dravik::testing
