// How the window procedure unpacks each message and whether it reaches
// DefWindowProcW afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit_test_support.h"
#include "vemo/frame.h"
#include "vemo/message_loop.h"

namespace vemo::testing {
namespace {

struct call {
  std::string slot;
  long long a = 0, b = 0, c = 0, d = 0;
};

// Records every handler call with its unpacked arguments.
class recording_frame : public vemo::frame {
 public:
  explicit recording_frame(const wchar_t* stem = L"recording")
      : frame(unique_class_name(stem), CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr,
              nullptr) {}

  HWND create_popup(DWORD extra_style = 0) {
    return create(L"", WS_POPUP | extra_style, RECT{100, 100, 300, 260}, nullptr, nullptr);
  }

  const call& last() const { return calls.back(); }

  void on_create(HWND hwnd, CREATESTRUCTW*) override {
    handle_during_create = handle();
    hwnd_given_to_create = hwnd;
    calls.push_back({"create"});
  }
  void on_size(WPARAM type, int width, int height) override {
    calls.push_back({"size", static_cast<long long>(type), width, height});
  }
  bool on_command(int code, int id, HWND control) override {
    calls.push_back({"command", code, id, reinterpret_cast<long long>(control)});
    return false;
  }
  bool on_message(UINT message, WPARAM, LPARAM) override {
    if (message == WM_NCHITTEST) calls.push_back({"message"});
    return message == WM_NCHITTEST && claim_hit_test;
  }
  void on_lbutton_down(WPARAM k, WORD x, WORD y) override { mouse("lbutton_down", k, x, y); }
  void on_lbutton_up(WPARAM k, WORD x, WORD y) override { mouse("lbutton_up", k, x, y); }
  void on_lbutton_dblclk(WPARAM k, WORD x, WORD y) override { mouse("lbutton_dblclk", k, x, y); }
  void on_rbutton_down(WPARAM k, WORD x, WORD y) override { mouse("rbutton_down", k, x, y); }
  void on_rbutton_up(WPARAM k, WORD x, WORD y) override { mouse("rbutton_up", k, x, y); }
  void on_rbutton_dblclk(WPARAM k, WORD x, WORD y) override { mouse("rbutton_dblclk", k, x, y); }
  void on_mouse_move(WPARAM k, WORD x, WORD y) override { mouse("mouse_move", k, x, y); }
  void on_mouse_leave() override { calls.push_back({"mouse_leave"}); }
  void on_mouse_wheel(int keys, int delta, WORD x, WORD y) override {
    calls.push_back({"mouse_wheel", keys, delta, x, y});
  }
  bool on_key_down(WPARAM w, LPARAM l) override { return key("key_down", w, l); }
  bool on_key_up(WPARAM w, LPARAM l) override { return key("key_up", w, l); }
  bool on_sys_key_up(WPARAM w, LPARAM l) override { return key("sys_key_up", w, l); }
  bool on_vscroll(int position, int request, HWND bar) override {
    calls.push_back({"vscroll", position, request, reinterpret_cast<long long>(bar)});
    return false;
  }
  bool on_hscroll(int position, int request, HWND bar) override {
    calls.push_back({"hscroll", position, request, reinterpret_cast<long long>(bar)});
    return false;
  }
  void on_timer(UINT_PTR id, LPARAM lparam) override {
    calls.push_back({"timer", static_cast<long long>(id), lparam});
  }
  bool on_notify(WPARAM w, LPARAM l) override {
    calls.push_back({"notify", static_cast<long long>(w), l});
    return false;
  }
  void on_close() override { calls.push_back({"close"}); }

  std::vector<call> calls;
  bool claim_hit_test = false;
  HWND handle_during_create = reinterpret_cast<HWND>(1);
  HWND hwnd_given_to_create = nullptr;

 private:
  void mouse(const char* slot, WPARAM keys, WORD x, WORD y) {
    calls.push_back({slot, static_cast<long long>(keys), x, y});
  }
  bool key(const char* slot, WPARAM w, LPARAM l) {
    calls.push_back({slot, static_cast<long long>(w), l});
    return false;
  }
};

TEST(FrameCreation, DefaultCreationHandlerLetsTheWindowBeCreated) {
  vemo::frame plain(unique_class_name(L"plain"), 0, nullptr, nullptr, nullptr, nullptr);
  const HWND hwnd = plain.create(L"", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(plain.handle(), hwnd);
  EXPECT_EQ(vemo::find_window(hwnd), &plain);
}

TEST(FrameCreation, CreationHandlerSeesTheNewHandleBeforeTheObjectStoresIt) {
  recording_frame f;
  const HWND hwnd = f.create_popup();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_FALSE(f.calls.empty());
  EXPECT_EQ(f.calls.front().slot, "create");
  EXPECT_EQ(f.hwnd_given_to_create, hwnd);
  EXPECT_EQ(f.handle_during_create, nullptr);
}

TEST(FrameCreation, CreateTakesTheRectangleAsPositionAndSize) {
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  RECT r{};
  GetWindowRect(f.handle(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 160);
}

TEST(FrameCreation, ChildAndTopLevelHelpersCreateAtAnEmptyRectangle) {
  recording_frame parent, child;
  vemo::window::create_top_level(parent, L"标题", WS_POPUP);
  ASSERT_NE(parent.handle(), nullptr);
  EXPECT_EQ(parent.get_text(), L"标题");
  const HWND child_hwnd = vemo::create_child_window(child, parent, WS_CHILD);
  ASSERT_NE(child_hwnd, nullptr);
  EXPECT_EQ(GetParent(child_hwnd), parent.handle());
  RECT r{};
  GetWindowRect(child_hwnd, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);
}

struct mouse_case {
  UINT message;
  const char* slot;
};

TEST(FrameArguments, MouseButtonsAndMovesReachTheirSlotWithZeroExtendedPositions) {
  const mouse_case cases[] = {
      {WM_LBUTTONDOWN, "lbutton_down"},     {WM_LBUTTONUP, "lbutton_up"},
      {WM_LBUTTONDBLCLK, "lbutton_dblclk"}, {WM_RBUTTONDOWN, "rbutton_down"},
      {WM_RBUTTONUP, "rbutton_up"},         {WM_RBUTTONDBLCLK, "rbutton_dblclk"},
      {WM_MOUSEMOVE, "mouse_move"},
  };
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  for (const auto& c : cases) {
    // A captured mouse one pixel left of and above the client area.
    SendMessageW(f.handle(), c.message, MK_LBUTTON, MAKELPARAM(-1, -2));
    ASSERT_EQ(f.last().slot, c.slot);
    EXPECT_EQ(f.last().a, MK_LBUTTON) << c.slot;
    EXPECT_EQ(f.last().b, 65535) << c.slot;
    EXPECT_EQ(f.last().c, 65534) << c.slot;
  }
}

TEST(FrameArguments, CapturedMouseLeftOfTheClientAreaArrivesAs65535) {
  recording_frame f;
  ASSERT_NE(f.create_popup(WS_VISIBLE), nullptr);
  pump_messages();
  SetCapture(f.handle());
  const POINT origin = client_to_screen(f.handle(), 0, 0);
  move_cursor_to(origin.x + 20, origin.y + 30);
  move_cursor_to(origin.x - 1, origin.y + 30);
  ReleaseCapture();
  const call* move = nullptr;
  for (const auto& c : f.calls)
    if (c.slot == "mouse_move") move = &c;
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->b, 65535);
  EXPECT_EQ(move->c, 30);
}

TEST(FrameArguments, SizesAreSignExtended) {
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  SendMessageW(f.handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(-2, 0x8000));
  ASSERT_EQ(f.last().slot, "size");
  EXPECT_EQ(f.last().a, SIZE_RESTORED);
  EXPECT_EQ(f.last().b, -2);
  EXPECT_EQ(f.last().c, -32768);
  SendMessageW(f.handle(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(804, 632));
  EXPECT_EQ(f.last().a, SIZE_MINIMIZED);
  EXPECT_EQ(f.last().b, 804);
  EXPECT_EQ(f.last().c, 632);
}

TEST(FrameArguments, WheelTurnedTowardsTheUserGivesANegativeDelta) {
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  SendMessageW(f.handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA),
               MAKELPARAM(65535, 700));
  ASSERT_EQ(f.last().slot, "mouse_wheel");
  EXPECT_EQ(f.last().a, MK_CONTROL);
  EXPECT_EQ(f.last().b, -120);
  EXPECT_EQ(f.last().c, 65535);
  EXPECT_EQ(f.last().d, 700);
  SendMessageW(f.handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
  EXPECT_EQ(f.last().b, 240);
}

TEST(FrameArguments, CommandScrollKeyTimerAndNotifyArguments) {
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  const HWND some_child = reinterpret_cast<HWND>(0x1234);

  SendMessageW(f.handle(), WM_COMMAND, MAKEWPARAM(7, 10002), reinterpret_cast<LPARAM>(some_child));
  ASSERT_EQ(f.last().slot, "command");
  EXPECT_EQ(f.last().a, 10002);  // code: high word
  EXPECT_EQ(f.last().b, 7);      // id: low word
  EXPECT_EQ(f.last().c, 0x1234);

  SendMessageW(f.handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000),
               reinterpret_cast<LPARAM>(some_child));
  ASSERT_EQ(f.last().slot, "vscroll");
  EXPECT_EQ(f.last().a, 40000);  // position: high word, unsigned
  EXPECT_EQ(f.last().b, SB_THUMBTRACK);
  EXPECT_EQ(f.last().c, 0x1234);

  SendMessageW(f.handle(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  ASSERT_EQ(f.last().slot, "hscroll");
  EXPECT_EQ(f.last().b, SB_LINEDOWN);

  const struct {
    UINT message;
    const char* slot;
  } keys[] = {{WM_KEYDOWN, "key_down"}, {WM_KEYUP, "key_up"}, {WM_SYSKEYUP, "sys_key_up"},
              {WM_NOTIFY, "notify"}};
  for (const auto& k : keys) {
    SendMessageW(f.handle(), k.message, 0x41, 0x12345);
    ASSERT_EQ(f.last().slot, k.slot);
    EXPECT_EQ(f.last().a, 0x41);
    EXPECT_EQ(f.last().b, 0x12345);
  }

  SetTimer(f.handle(), 77, 1, nullptr);
  MSG message;
  while (GetMessageW(&message, f.handle(), WM_TIMER, WM_TIMER) > 0) {
    DispatchMessageW(&message);
    if (message.wParam == 77) break;
  }
  KillTimer(f.handle(), 77);
  ASSERT_EQ(f.last().slot, "timer");
  EXPECT_EQ(f.last().a, 77);
}

TEST(FrameResults, BoolHandlerReturningFalseGivesDefWindowProcsAnswer) {
  recording_frame f;
  ASSERT_NE(f.create_popup(WS_VISIBLE), nullptr);
  const POINT inside = client_to_screen(f.handle(), 10, 10);
  // The default hit test of a point in the client area is HTCLIENT.
  EXPECT_EQ(SendMessageW(f.handle(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
  f.claim_hit_test = true;
  EXPECT_EQ(SendMessageW(f.handle(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), 0);
  EXPECT_EQ(f.calls.back().slot, "message");
}

TEST(FrameResults, TextMessagesReachDefWindowProcThroughTheMessageSlot) {
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  f.set_text(L"磁盘碎片整理");
  EXPECT_EQ(f.get_text(), L"磁盘碎片整理");
}

TEST(FrameResults, CloseHandlerWithoutResultNeverReachesDefWindowProc) {
  // DefWindowProcW would destroy the window on WM_CLOSE.
  recording_frame f;
  ASSERT_NE(f.create_popup(), nullptr);
  SendMessageW(f.handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.last().slot, "close");
  EXPECT_TRUE(IsWindow(f.handle()));
}

TEST(FrameResults, WheelHandlerWithoutResultIsNotForwardedToTheParent) {
  // DefWindowProcW would pass a child's WM_MOUSEWHEEL on to its parent.
  recording_frame parent, child;
  ASSERT_NE(parent.create_popup(), nullptr);
  ASSERT_NE(vemo::create_child_window(child, parent, WS_CHILD | WS_VISIBLE), nullptr);
  SendMessageW(child.handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(child.last().slot, "mouse_wheel");
  for (const auto& c : parent.calls) EXPECT_NE(c.slot, "mouse_wheel");
}

TEST(FrameResults, DefaultCloseDestroysTheWindowAndForgetsTheHandle) {
  vemo::frame plain(unique_class_name(L"closing"), 0, nullptr, nullptr, nullptr, nullptr);
  const HWND hwnd = plain.create(L"", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(plain.handle(), nullptr);
}

// A handler that throws must not unwind through the system's code.
class throwing_frame : public vemo::frame {
 public:
  throwing_frame()
      : frame(unique_class_name(L"throwing"), 0, nullptr, nullptr, nullptr, nullptr) {}
  void on_create(HWND, CREATESTRUCTW*) override {
    if (fail_create) throw std::runtime_error("create failed");
  }
  void on_lbutton_down(WPARAM, WORD, WORD) override { throw std::runtime_error("click failed"); }
  bool fail_create = false;
};

TEST(FrameHandlerErrors, FailedCreationHandlerCancelsTheWindowAndReachesTheCaller) {
  throwing_frame f;
  f.fail_create = true;
  EXPECT_THROW(f.create(L"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr), std::runtime_error);
  EXPECT_EQ(f.handle(), nullptr);
}

TEST(FrameHandlerErrors, ExceptionOfADispatchedMessageLeavesTheMessageLoop) {
  throwing_frame f;
  ASSERT_NE(f.create(L"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr), nullptr);
  PostMessageW(f.handle(), WM_LBUTTONDOWN, 0, 0);
  PostQuitMessage(0);  // ends the loop if the exception were lost
  try {
    vemo::run_message_loop();
    ADD_FAILURE() << "the loop ended without the handler's exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "click failed");
  }
  pump_messages();  // takes the quit message that was not reached
  EXPECT_TRUE(IsWindow(f.handle()));
}

}  // namespace
}  // namespace vemo::testing
