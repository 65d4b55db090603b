// Modal dialogs from a template: the dialog procedure, its results and how a
// dialog ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
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
