// The workers as the program starts them: on a thread of their own, stopped
// from another.
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include "fake_registry.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"
#include "tessarel/unique_handle.h"

namespace regscan::testing {
namespace {

using WorkerThread = RegistryScan;

HANDLE stop_seen_event = nullptr;

// A phase that runs until the stop flag of the scan is set from outside:
// catches a flag read once and never again.
void phase_until_stopped() {
  SetEvent(stop_seen_event);
  while (!scan_stop_flag.load()) SwitchToThread();
}

TEST_F(WorkerThread, StopSetFromAnotherThreadEndsTheScan) {
  category_table table = current_category_table();
  table[1].phase = &phase_until_stopped;
  install_category_table(table);
  const tessarel::unique_kernel_handle started(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  stop_seen_event = started.get();

  const tessarel::unique_kernel_handle thread(reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &registry_scan_thread, nullptr, 0, nullptr)));
  ASSERT_TRUE(thread);
  ASSERT_EQ(WaitForSingleObject(started.get(), 10000), WAIT_OBJECT_0);
  scan_stop_flag = true;
  ASSERT_EQ(WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
  stop_seen_event = nullptr;

  EXPECT_EQ(fake.phases_run, (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(steps(), 1u);
  EXPECT_TRUE(fake.reports.empty());
  ASSERT_FALSE(fake.records.empty());
  EXPECT_EQ(fake.records.back().type, progress_scan_end);
}

}  // namespace
}  // namespace regscan::testing
