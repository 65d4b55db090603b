// Window classes: registered once per name per process, with the values of
// the first frame of that name.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "toolkit_test_support.h"
#include "vemo/frame.h"
#include "vemo/program_instance.h"

namespace vemo::testing {
namespace {

HWND create_popup(vemo::window& w) {
  return w.create(L"", WS_POPUP, RECT{0, 0, 40, 40}, nullptr, nullptr);
}

TEST(WindowClasses, SecondFrameOfANameKeepsTheFirstFramesClassValues) {
  const std::wstring name = unique_class_name(L"shared");
  const HBRUSH first_brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const HBRUSH second_brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  vemo::frame first(name, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, first_brush, nullptr);
  vemo::frame second(name, CS_DBLCLKS, nullptr, LoadCursorW(nullptr, IDC_HAND), second_brush,
                     nullptr);
  ASSERT_NE(create_popup(second), nullptr);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(second.handle(), GCLP_HBRBACKGROUND)),
            first_brush);
  EXPECT_EQ(GetClassLongPtrW(second.handle(), GCL_STYLE),
            static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(second.handle(), GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_ARROW));
}

TEST(WindowClasses, MissingValuesTakeTheDefaults) {
  vemo::frame f(unique_class_name(L"defaults"), 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(f), nullptr);
  EXPECT_EQ(GetClassLongPtrW(f.handle(), GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(6));
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(f.handle(), GCLP_HICON)),
            LoadIconW(nullptr, IDI_APPLICATION));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(f.handle(), GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetClassLongPtrW(f.handle(), GCLP_WNDPROC)),
            &vemo::frame::window_proc);
}

TEST(WindowClasses, FailedRegistrationThrowsOnceAndIsNeverTriedAgain) {
  // Someone else holds the name, so RegisterClassW fails.
  const std::wstring name = unique_class_name(L"taken");
  WNDCLASSW other{};
  other.lpfnWndProc = DefWindowProcW;
  other.hInstance = vemo::program_instance;
  other.lpszClassName = name.c_str();
  ASSERT_NE(RegisterClassW(&other), 0);
  try {
    vemo::frame f(name, 0, nullptr, nullptr, nullptr, nullptr);
    ADD_FAILURE() << "registration of a taken class name succeeded";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "frame::frame Error!");
  }
  ASSERT_TRUE(UnregisterClassW(name.c_str(), vemo::program_instance));

  // The name is not tried again: the frame constructs, its window cannot be.
  vemo::frame again(name, 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(create_popup(again), nullptr);
  EXPECT_EQ(again.handle(), nullptr);
}

TEST(WindowClasses, UnregisteringForgetsEveryClassSoItCanBeRegisteredAgain) {
  const std::wstring name = unique_class_name(L"unregistered");
  {
    vemo::frame f(name, CS_HREDRAW, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(create_popup(f), nullptr);
  }
  WNDCLASSW info{};
  ASSERT_TRUE(GetClassInfoW(vemo::program_instance, name.c_str(), &info));
  vemo::unregister_window_classes();
  EXPECT_FALSE(GetClassInfoW(vemo::program_instance, name.c_str(), &info));

  vemo::frame again(name, CS_VREDRAW, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(create_popup(again), nullptr);
  EXPECT_EQ(GetClassLongPtrW(again.handle(), GCL_STYLE), static_cast<ULONG_PTR>(CS_VREDRAW));
}

}  // namespace
}  // namespace vemo::testing
