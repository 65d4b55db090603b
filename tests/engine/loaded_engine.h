#pragma once
// A fixture for tests that drive the engine through its exports: the engine
// loaded over a simulated volume, with its data files in a folder of the
// test's own. Tests add volumes and files before calling load().

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/analysis_worker.h"
#include "core/engine_lifetime.h"
#include "scratch_folder/scratch_folder.h"
#include "simulated_volume/simulated_volume.h"

namespace dravik::testing {

// A Win32 event the analysis step of a test waits on, so the test can look at
// the engine while a worker is held in the middle of a run.
class gate {
 public:
  gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~gate() { CloseHandle(event_); }
  gate(const gate&) = delete;
  gate& operator=(const gate&) = delete;

  void open() { SetEvent(event_); }
  // True when opened within the bound; a generous bound, never a timing.
  bool wait(DWORD milliseconds = 10000) { return WaitForSingleObject(event_, milliseconds) == 0; }

 private:
  HANDLE event_;
};

// Stands for a running worker: makes the pointer non-null for the object's
// life, the way a worker's thread object would.
class fake_worker_pointer {
 public:
  explicit fake_worker_pointer(std::atomic<CWinThread*>& pointer) : pointer_(pointer) {
    pointer_ = reinterpret_cast<CWinThread*>(this);
  }
  ~fake_worker_pointer() { pointer_ = nullptr; }
  fake_worker_pointer(const fake_worker_pointer&) = delete;
  fake_worker_pointer& operator=(const fake_worker_pointer&) = delete;

 private:
  std::atomic<CWinThread*>& pointer_;
};

class LoadedEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    // As the shipped 32-bit build on 64-bit Windows: every open and search
    // made with the file system redirection on is misuse.
    sim.set_wow64(true);
    previous_io_ = dravik::install_volume_io(&sim);
  }
  void TearDown() override {
    if (dravik::current_engine() != nullptr) dravik::install_analysis_step(engine(), {});
    dravik::unload_engine();
    dravik::install_volume_io(previous_io_);
    EXPECT_EQ(sim.open_handle_count(), 0u);
    EXPECT_TRUE(sim.misuse().empty());
  }

  bool load() { return dravik::load_engine({folder.file("Tessarel.exe")}); }
  dravik::engine_state& engine() { return *dravik::current_engine(); }

  tessarel::testing::scratch_folder folder;
  dravik::sim::simulated_volume sim;

 private:
  dravik::volume_io* previous_io_ = nullptr;
};

}  // namespace dravik::testing
