// Worker threads: AfxBeginThread, and how the engine starts, ends and waits
// for its two workers.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "classlib/cwinthread.h"
#include "core/engine_workers.h"
#include "loaded_engine.h"

namespace dravik::testing {
namespace {


// Polls a condition with a generous bound; true as soon as it holds.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(1);
  }
  return true;
}

struct thread_probe {
  std::atomic<int> runs{0};
  std::atomic<void*> seen_param{nullptr};
  gate finished;
};

UINT __cdecl record_run(LPVOID param) {
  auto* probe = static_cast<thread_probe*>(param);
  probe->seen_param = param;
  probe->runs += 1;
  probe->finished.open();
  return 7;
}

UINT __cdecl throw_and_record(LPVOID param) {
  record_run(param);
  throw std::runtime_error("a worker failed");
}

// Catches a procedure started before its creator could record it, and a
// parameter that does not arrive.
TEST(AfxBeginThread, SuspendedThreadRunsOnlyWhenResumed) {
  thread_probe probe;
  CWinThread* thread = AfxBeginThread(&record_run, &probe, THREAD_PRIORITY_NORMAL, 0,
                                      CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(thread->m_hThread, nullptr);
  EXPECT_NE(thread->m_nThreadID, 0u);
  EXPECT_EQ(probe.runs, 0) << "a suspended thread must not have run";
  EXPECT_EQ(thread->ResumeThread(), 1u);
  ASSERT_TRUE(probe.finished.wait());
  EXPECT_EQ(probe.seen_param, &probe);
  EXPECT_EQ(probe.runs, 1);
}

// Catches an exception that unwinds out of the thread procedure, which would
// end the whole process.
TEST(AfxBeginThread, ExceptionEndsOnlyTheThread) {
  thread_probe probe;
  CWinThread* thread = AfxBeginThread(&throw_and_record, &probe, THREAD_PRIORITY_NORMAL, 0,
                                      CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = false;
  thread->ResumeThread();
  ASSERT_EQ(WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(probe.runs, 1);
  delete thread;
}

class EngineWorkers : public LoadedEngine {};

UINT __cdecl end_at_once(LPVOID parameter) {
  engine_state& engine = *static_cast<engine_state*>(parameter);
  finish_worker(engine.job, engine.job.analysis_worker);
  return 0;
}

// Catches a worker recorded after it was started: one that ends at once
// would clear its pointer first, and the pointer to its freed thread would
// stay for the run export to wait on forever.
TEST_F(EngineWorkers, AWorkerThatEndsAtOnceLeavesNoPointer) {
  ASSERT_TRUE(load());
  std::atomic<CWinThread*>& pointer = engine().job.analysis_worker;
  for (int round = 0; round < 200; ++round) {
    ASSERT_TRUE(start_worker(engine(), pointer, &end_at_once));
    ASSERT_TRUE(eventually([&] { return pointer.load() == nullptr; })) << round;
  }
}

// Catches a wait that returns while the second worker still runs: between
// the analysis and the defragmentation only one pointer is set at a time.
TEST_F(EngineWorkers, WaitLastsUntilBothPointersAreClear) {
  ASSERT_TRUE(load());
  job_control& job = engine().job;
  std::atomic<bool> returned{false};
  job.analysis_worker = reinterpret_cast<CWinThread*>(&returned);
  std::thread waiter([&] {
    wait_for_workers(job);
    returned = true;
  });

  job.defrag_worker = reinterpret_cast<CWinThread*>(&returned);
  finish_worker(job, job.analysis_worker);
  EXPECT_FALSE(eventually([&] { return returned.load(); }, std::chrono::milliseconds(50)))
      << "returned while the defragmentation worker was still recorded";
  finish_worker(job, job.defrag_worker);
  EXPECT_TRUE(eventually([&] { return returned.load(); }));
  waiter.join();
}

}  // namespace
}  // namespace dravik::testing
