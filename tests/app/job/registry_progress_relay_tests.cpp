// The registry worker's records reach the window's thread, whole and in
// order, while the worker waits.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "job/registry_progress_relay.h"

namespace tessarel::testing {
namespace {

constexpr UINT record_message = WM_APP + 7;
std::vector<std::wstring> received;
DWORD receiving_thread = 0;

LRESULT CALLBACK receiver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != record_message) return DefWindowProcW(window, message, wparam, lparam);
  received.push_back(reinterpret_cast<const regscan::scan_progress*>(lparam)->text);
  receiving_thread = GetCurrentThreadId();
  return 0;
}

// Catches a record read on the worker's thread or after it was freed, and
// records lost when no window is set.
TEST(RegistryProgressRelay, RecordsArriveOnTheWindowThread) {
  const std::wstring name = unique_class_name(L"relay");
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = receiver;
  window_class.lpszClassName = name.c_str();
  ASSERT_TRUE(RegisterClassW(&window_class));
  const HWND window = CreateWindowW(name.c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
  ASSERT_TRUE(window);
  received.clear();
  relay_registry_progress(nullptr);

  set_registry_progress_target(window, record_message);
  bool done = false;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      regscan::scan_progress record;  // gone once the send returns
      record.type = i == 1 ? regscan::progress_clean : regscan::progress_scan;
      record.text = L"key " + std::to_wstring(i);
      relay_registry_progress(&record);
    }
    done = true;
  });
  EXPECT_TRUE(pump_until([&] { return received.size() == 3; }));
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(received, (std::vector<std::wstring>{L"key 0", L"key 1", L"key 2"}));
  EXPECT_EQ(receiving_thread, GetCurrentThreadId());

  set_registry_progress_target(nullptr, 0);
  regscan::scan_progress dropped;
  relay_registry_progress(&dropped);
  EXPECT_EQ(received.size(), 3u);
  DestroyWindow(window);
  UnregisterClassW(name.c_str(), nullptr);
}

std::atomic<int> records_returned{0};
std::vector<bool> released_while_handled;

LRESULT CALLBACK releasing_receiver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != record_message) return DefWindowProcW(window, message, wparam, lparam);
  receive_registry_progress(lparam, [](const regscan::scan_progress& record) {
    // The record's number is in its text; the worker counts its returns.
    const int number = std::stoi(record.text);
    const DWORD until = GetTickCount() + 1000;
    while (records_returned <= number && GetTickCount() < until) Sleep(5);
    released_while_handled.push_back(records_returned > number);
  });
  return 0;
}

// Catches a phase that ends (end_job, next phase, report) while the worker
// still waits in its SendMessage: the end records release the worker before
// they are handled; progress records keep the worker waiting until shown.
TEST(RegistryProgressRelay, EndRecordsReleaseTheWorkerFirst) {
  const struct {
    std::uint32_t type;
    bool released;
  } cases[] = {{regscan::progress_scan, false},
               {regscan::progress_clean, false},
               {regscan::progress_scan_end, true},
               {regscan::progress_clean_end, true}};
  const std::wstring name = unique_class_name(L"release");
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = releasing_receiver;
  window_class.lpszClassName = name.c_str();
  ASSERT_TRUE(RegisterClassW(&window_class));
  const HWND window = CreateWindowW(name.c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
  ASSERT_TRUE(window);
  records_returned = 0;
  released_while_handled.clear();
  set_registry_progress_target(window, record_message);
  std::thread worker([&] {
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      regscan::scan_progress record;
      record.type = cases[i].type;
      record.text = std::to_wstring(i);
      relay_registry_progress(&record);
      ++records_returned;
    }
  });
  EXPECT_TRUE(pump_until([&] { return released_while_handled.size() == std::size(cases); }));
  worker.join();
  set_registry_progress_target(nullptr, 0);
  ASSERT_EQ(released_while_handled.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(released_while_handled[i], cases[i].released) << "record type " << cases[i].type;
  }
  DestroyWindow(window);
  UnregisterClassW(name.c_str(), nullptr);
}

}  // namespace
}  // namespace tessarel::testing
