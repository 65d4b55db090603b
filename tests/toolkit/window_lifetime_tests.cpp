// Who destroys which window, and when the handle of an object goes null.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "toolkit_test_support.h"
#include "vemo/control.h"
#include "vemo/frame.h"

namespace vemo::testing {
namespace {

class destroy_watching_frame : public vemo::frame {
 public:
  explicit destroy_watching_frame(int* destroyed)
      : frame(unique_class_name(L"watching"), 0, nullptr, nullptr, nullptr, nullptr),
        destroyed_(destroyed) {}
  void on_destroy() override {
    ++*destroyed_;
    frame::on_destroy();
  }

 private:
  int* destroyed_;
};

HWND create_popup(vemo::window& w) {
  return w.create(L"", WS_POPUP, RECT{0, 0, 40, 40}, nullptr, nullptr);
}

TEST(WindowLifetime, DeletingAFrameDestroysItsWindowWithoutTheDerivedDestroyHandler) {
  int destroyed = 0;
  auto* f = new destroy_watching_frame(&destroyed);
  const HWND hwnd = create_popup(*f);
  ASSERT_NE(hwnd, nullptr);
  delete f;
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(vemo::find_window(hwnd), nullptr);
}

TEST(WindowLifetime, DestroyingTheWindowReachesTheDerivedHandlerAndKeepsTheObject) {
  int destroyed = 0;
  destroy_watching_frame f(&destroyed);
  const HWND hwnd = create_popup(f);
  ASSERT_NE(hwnd, nullptr);
  DestroyWindow(hwnd);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(f.handle(), nullptr);
  EXPECT_EQ(vemo::find_window(hwnd), nullptr);
}

// An override that does not forget the handle still leaves none behind once
// the window is gone: a later destroy must not reach a recycled handle.
class forgetful_frame : public vemo::frame {
 public:
  forgetful_frame() : frame(unique_class_name(L"forgetful"), 0, nullptr, nullptr, nullptr, nullptr) {}
  void on_destroy() override {}
};

TEST(WindowLifetime, NoObjectKeepsTheHandleOfADestroyedWindow) {
  forgetful_frame f;
  const HWND hwnd = create_popup(f);
  ASSERT_NE(hwnd, nullptr);
  DestroyWindow(hwnd);
  EXPECT_EQ(f.handle(), nullptr);
  EXPECT_EQ(f.destroy(), FALSE);
}

TEST(WindowLifetime, DestroyWithoutAWindowReturnsFalseAndChangesNothing) {
  vemo::frame f(unique_class_name(L"empty"), 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(f.destroy(), FALSE);
  EXPECT_EQ(f.handle(), nullptr);
}

TEST(WindowLifetime, DestroyClearsTheHandleOnlyWhenDestroyWindowSucceeds) {
  vemo::frame f(unique_class_name(L"destroyable"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(f), nullptr);
  EXPECT_NE(f.destroy(), FALSE);
  EXPECT_EQ(f.handle(), nullptr);

  // A window of another thread cannot be destroyed from here.
  HWND foreign = nullptr;
  const HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    foreign = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(foreign);
  });
  WaitForSingleObject(created, INFINITE);
  {
    vemo::hwnd_helper other(foreign);
    EXPECT_EQ(other.destroy(), FALSE);
    EXPECT_EQ(other.handle(), foreign);
    EXPECT_TRUE(IsWindow(foreign));
  }
  SetEvent(release);
  owner.join();
  CloseHandle(created);
  CloseHandle(release);
}

TEST(WindowLifetime, HelperNeverDestroysTheWindowItWraps) {
  vemo::frame owner(unique_class_name(L"owned"), 0, nullptr, nullptr, nullptr, nullptr);
  const HWND hwnd = create_popup(owner);
  ASSERT_NE(hwnd, nullptr);
  {
    vemo::hwnd_helper helper(hwnd);
    EXPECT_EQ(helper.handle(), hwnd);
    EXPECT_EQ(vemo::find_window(hwnd), &owner);
  }
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(owner.handle(), hwnd);
}

TEST(WindowLifetime, ChildCreatedUnderAHelperGetsTheWrappedParent) {
  vemo::frame owner(unique_class_name(L"parent"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(owner), nullptr);
  vemo::list_box list;
  {
    vemo::hwnd_helper parent(owner.handle());
    ASSERT_NE(vemo::create_child_window(list, parent, WS_CHILD), nullptr);
  }
  EXPECT_EQ(GetParent(list.handle()), owner.handle());
  EXPECT_EQ(vemo::find_window(list.handle()), nullptr);  // controls are never entered
}

TEST(WindowLifetime, DeletingAControlDestroysItsLiveWindow) {
  vemo::frame owner(unique_class_name(L"host"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(owner), nullptr);
  auto* box = new vemo::edit;
  const HWND hwnd = vemo::create_child_window(*box, owner, WS_CHILD);
  ASSERT_NE(hwnd, nullptr);
  delete box;
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindow(owner.handle()));
}

TEST(WindowLifetime, ControlGoneWithItsParentKeepsItsHandleValue) {
  vemo::edit box;
  HWND hwnd = nullptr;
  {
    vemo::frame owner(unique_class_name(L"host"), 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(create_popup(owner), nullptr);
    hwnd = vemo::create_child_window(box, owner, WS_CHILD);
    ASSERT_NE(hwnd, nullptr);
  }
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(box.handle(), hwnd);
}

// A control whose handle value now names another class's window.
class stale_edit : public vemo::edit {
 public:
  void point_at(HWND hwnd) { set_handle(hwnd); }
};

// Catches a control that takes a handle value naming a live window for its
// own: after its window went with its parent, the value may name a window of
// another class, a bare edit box, or the window of another edit object.
TEST(WindowLifetime, ControlNeverDestroysAWindowThatIsNotItsOwn) {
  vemo::frame host(unique_class_name(L"host"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(host), nullptr);
  vemo::frame other(unique_class_name(L"other"), 0, nullptr, nullptr, nullptr, nullptr);
  vemo::edit other_edit;
  struct stranger {
    const char* what;
    std::function<HWND()> make;
  };
  const stranger cases[] = {
      {"a window of another class", [&] { return create_popup(other); }},
      {"a bare edit box",
       [&] {
         return CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, host.handle(), nullptr,
                                nullptr, nullptr);
       }},
      {"another edit object's window",
       [&] { return vemo::create_child_window(other_edit, host, WS_CHILD); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const HWND hwnd = c.make();
    ASSERT_NE(hwnd, nullptr);
    {
      stale_edit box;
      box.point_at(hwnd);
    }
    EXPECT_TRUE(IsWindow(hwnd));
  }
}

// Catches a create that overwrites the handle of a window that still
// exists (that window would be left without an owner); a window that is
// gone, even a control's whose handle the object kept, is made anew.
TEST(WindowLifetime, CreateIsRefusedWhileTheObjectsWindowExists) {
  vemo::frame host(unique_class_name(L"host"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(host), nullptr);
  // Each object gets its window under a parent of its own, which the case
  // may destroy (and with it a control's window) or keep.
  enum then { keep_it, destroy_parent };
  struct create_case {
    const char* what;
    bool control;
    then next;
  };
  const create_case cases[] = {{"frame with its window", false, keep_it},
                               {"frame whose window was destroyed", false, destroy_parent},
                               {"edit with its window", true, keep_it},
                               {"edit whose window went with its parent", true, destroy_parent}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    vemo::frame parent(unique_class_name(L"parent"), 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(create_popup(parent), nullptr);
    std::unique_ptr<vemo::window> w;
    if (c.control) {
      w = std::make_unique<vemo::edit>();
    } else {
      w = std::make_unique<vemo::frame>(unique_class_name(L"twice"), 0, nullptr, nullptr, nullptr,
                                        nullptr);
    }
    ASSERT_NE(vemo::create_child_window(*w, parent, WS_CHILD), nullptr);
    if (c.next == destroy_parent) parent.destroy();
    const bool refused = c.next == keep_it;
    const HWND before = w->handle();

    SetLastError(0);
    const HWND again = vemo::create_child_window(*w, host, WS_CHILD);
    EXPECT_EQ(again == nullptr, refused);
    EXPECT_EQ(GetLastError() == ERROR_ALREADY_EXISTS, refused);
    EXPECT_EQ(w->handle(), refused ? before : again);
    EXPECT_TRUE(IsWindow(w->handle()));
  }
}

TEST(WindowText, TextIsCappedAt32766Characters) {
  vemo::frame f(unique_class_name(L"text"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(f), nullptr);
  std::wstring text(40000, L'x');
  text[32765] = L'y';
  f.set_text(text);
  LRESULT count = 0;
  const std::wstring got = f.get_text(&count);
  EXPECT_EQ(got.size(), 32766u);
  EXPECT_EQ(count, 32766);
  EXPECT_EQ(got.back(), L'y');
}

TEST(ProgressBar, RangeRunsFromZeroToTheMaximum) {
  vemo::frame owner(unique_class_name(L"host"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(owner), nullptr);
  vemo::progress_bar bar;
  ASSERT_NE(vemo::create_child_window(bar, owner, WS_CHILD), nullptr);
  bar.set_range(2572);
  PBRANGE range{-1, -1};
  SendMessageW(bar.handle(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 2572);
}

}  // namespace
}  // namespace vemo::testing
