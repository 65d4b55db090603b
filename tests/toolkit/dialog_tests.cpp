// Modal dialogs from a template: the dialog procedure, its results and how a
// dialog ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "toolkit_test_support.h"
#include "vemo/dialog.h"
#include "vemo/frame.h"

namespace vemo::testing {
namespace {

// Runs a script once the dialog is up, then records what reaches it.
class scripted_dlg : public vemo::modal_dlg {
 public:
  explicit scripted_dlg(std::function<void(scripted_dlg&, HWND)> script,
                        int template_id = test_dialog_template)
      : modal_dlg(template_id), script_(std::move(script)) {}

  INT_PTR on_init_dialog(HWND hwnd, WPARAM, LPARAM lparam) override {
    handle_at_init = handle();
    found_at_init = vemo::find_window(hwnd);
    init_lparam = lparam;
    script_(*this, hwnd);
    return 1;
  }
  INT_PTR on_command(int code, int id, HWND control) override {
    commands.push_back({code, id});
    (void)control;
    if (id == IDOK) {
      set_result(42);
      end();
      return 1;
    }
    return 0;
  }
  INT_PTR on_mouse_wheel(int keys, int delta, WORD x, WORD y) override {
    wheel = {keys, delta, x, y};
    return 1;
  }
  INT_PTR on_lbutton_dblclk(WPARAM keys, WORD x, WORD y) override {
    dblclk = {static_cast<int>(keys), x, y};
    return 1;
  }

  HWND handle_at_init = reinterpret_cast<HWND>(1);
  vemo::window* found_at_init = nullptr;
  LPARAM init_lparam = 0;
  std::vector<std::vector<int>> commands;
  std::vector<int> wheel, dblclk;

 private:
  std::function<void(scripted_dlg&, HWND)> script_;
};

TEST(ModalDialog, RunReturnsTheValueGivenToEndDialog) {
  scripted_dlg dlg([](scripted_dlg&, HWND hwnd) {
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(dlg.run(nullptr), 42);
  EXPECT_EQ(dlg.result(), 42);
  EXPECT_EQ(dlg.handle(), nullptr);
}

TEST(ModalDialog, HandleIsSetAndRegisteredBeforeTheInitHandlerRuns) {
  HWND seen = nullptr;
  scripted_dlg dlg([&](scripted_dlg& d, HWND hwnd) {
    seen = hwnd;
    d.end();
  });
  dlg.run(nullptr);
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(dlg.handle_at_init, seen);
  EXPECT_EQ(dlg.found_at_init, &dlg);
  EXPECT_EQ(dlg.init_lparam, reinterpret_cast<LPARAM>(static_cast<vemo::window*>(&dlg)));
  EXPECT_EQ(vemo::find_window(seen), nullptr);
}

TEST(ModalDialog, CloseEndsTheDialogWithTheStoredResult) {
  scripted_dlg dlg([](scripted_dlg& d, HWND hwnd) {
    d.set_result(7);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(dlg.run(nullptr), 7);
}

TEST(ModalDialog, CloseAllEndsTheDialogAndAnswersOne) {
  INT_PTR answer = 0;
  scripted_dlg dlg([&](scripted_dlg& d, HWND) {
    d.set_result(3);
    answer = d.close_all();
  });
  EXPECT_EQ(dlg.run(nullptr), 3);
  EXPECT_EQ(answer, 1);
}

TEST(ModalDialog, EndWithoutAWindowReturnsZero) {
  scripted_dlg dlg([](scripted_dlg&, HWND) {});
  EXPECT_EQ(dlg.end(), 0);
  EXPECT_EQ(dlg.destroy(), 0);
}

TEST(ModalDialog, MissingTemplateGivesMinusOne) {
  scripted_dlg dlg([](scripted_dlg&, HWND) {}, 31999);
  EXPECT_EQ(dlg.run(nullptr), -1);
  EXPECT_EQ(dlg.result(), -1);
}

TEST(ModalDialog, CreateOperationRunsTheDialogOwnedByTheParent) {
  vemo::frame owner(unique_class_name(L"owner"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner.create(L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50}, nullptr, nullptr),
            nullptr);
  HWND owner_seen = nullptr;
  scripted_dlg dlg([&](scripted_dlg& d, HWND hwnd) {
    owner_seen = GetWindow(hwnd, GW_OWNER);
    d.set_result(5);
    d.end();
  });
  vemo::window& as_window = dlg;
  EXPECT_EQ(vemo::create_child_window(as_window, owner, 0), nullptr);
  EXPECT_EQ(owner_seen, owner.handle());
  EXPECT_EQ(dlg.result(), 5);
}

// A dialog that is deleted while it runs: by a timer of the modal loop, or
// by its own command handler. It lives in storage of the test, which is
// filled with a pattern once the object is gone.
class doomed_dlg : public vemo::modal_dlg {
 public:
  enum killer { timer, own_handler };
  doomed_dlg(killer by, unsigned char* storage)
      : modal_dlg(test_dialog_template), by_(by), storage_(storage) {}

  INT_PTR on_init_dialog(HWND hwnd, WPARAM, LPARAM) override {
    window_seen = hwnd;
    current() = this;
    SetTimer(nullptr, 0, 10, &doomed_dlg::fire);
    return 1;
  }
  INT_PTR on_command(int, int id, HWND) override {
    if (id == IDCANCEL) die();  // nothing of the object is used after this
    return 1;
  }

  static HWND window_seen;

 private:
  static doomed_dlg*& current() {
    static doomed_dlg* dialog = nullptr;
    return dialog;
  }
  static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    doomed_dlg* const d = std::exchange(current(), nullptr);
    if (!d) return;
    if (d->by_ == timer) {
      d->die();
    } else {
      SendMessageW(window_seen, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    }
  }
  void die() {
    unsigned char* const storage = storage_;
    this->~doomed_dlg();
    std::fill(storage, storage + sizeof(doomed_dlg), pattern);
  }

 public:
  static constexpr unsigned char pattern = 0xA5;

 private:
  killer by_;
  unsigned char* storage_;
};
HWND doomed_dlg::window_seen = nullptr;

// Catches a modal run that stores its result and clears the handle in an
// object that was deleted while its dialog ran.
TEST(ModalDialog, ObjectDeletedWhileItsDialogRunsIsNeverWrittenTo) {
  for (const auto by : {doomed_dlg::timer, doomed_dlg::own_handler}) {
    SCOPED_TRACE(by);
    alignas(doomed_dlg) unsigned char storage[sizeof(doomed_dlg)];
    doomed_dlg::window_seen = nullptr;
    auto* dlg = new (storage) doomed_dlg(by, storage);
    dlg->run(nullptr);
    EXPECT_TRUE(std::all_of(std::begin(storage), std::end(storage),
                            [](unsigned char b) { return b == doomed_dlg::pattern; }));
    ASSERT_NE(doomed_dlg::window_seen, nullptr);
    EXPECT_FALSE(IsWindow(doomed_dlg::window_seen));
    EXPECT_EQ(vemo::find_window(doomed_dlg::window_seen), nullptr);
  }
}

// Catches a second run of a dialog that is up: it would take over the
// object's handle, and the first dialog would no longer reach the object.
TEST(ModalDialog, RunWhileItsDialogIsUpIsRefused) {
  INT_PTR second = 0;
  DWORD error = 0;
  HWND first = nullptr, handle_after = nullptr;
  int inits = 0;
  scripted_dlg dlg([&](scripted_dlg& d, HWND hwnd) {
    if (++inits > 1) {  // a second dialog, where one is made
      d.end();
      return;
    }
    first = hwnd;
    second = d.run(nullptr);
    error = GetLastError();
    handle_after = d.handle();
    d.set_result(9);
    EndDialog(hwnd, 9);
  });
  EXPECT_EQ(dlg.run(nullptr), 9);
  EXPECT_EQ(second, -1);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(handle_after, first);
  EXPECT_EQ(inits, 1);
}

TEST(DialogArguments, MessagesAreUnpackedAsForFrames) {
  scripted_dlg dlg([](scripted_dlg& d, HWND hwnd) {
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, -WHEEL_DELTA), MAKELPARAM(-1, 9));
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-1, -1));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 10001), 0);
    d.end();
  });
  dlg.run(nullptr);
  EXPECT_EQ(dlg.wheel, (std::vector<int>{MK_SHIFT, -120, 65535, 9}));
  EXPECT_EQ(dlg.dblclk, (std::vector<int>{MK_LBUTTON, 65535, 65535}));
  ASSERT_EQ(dlg.commands.size(), 1u);
  EXPECT_EQ(dlg.commands[0], (std::vector<int>{10001, 12}));
}

class failing_dlg : public vemo::modal_dlg {
 public:
  failing_dlg() : modal_dlg(test_dialog_template) {}
  INT_PTR on_init_dialog(HWND, WPARAM, LPARAM) override {
    throw std::runtime_error("init failed");
  }
};

TEST(DialogHandlerErrors, FailedHandlerEndsTheDialogAndTheRunRaisesIt) {
  failing_dlg dlg;
  try {
    dlg.run(nullptr);
    ADD_FAILURE() << "the run ended without the handler's exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "init failed");
  }
  EXPECT_EQ(dlg.handle(), nullptr);
}

}  // namespace
}  // namespace vemo::testing
