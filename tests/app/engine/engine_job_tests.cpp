// Job threads: one run export per job, on a thread of its own, with all the
// job's letters; the completion comes afterwards, on the user interface
// thread; a thread that cannot start is reported.
#include "engine/engine_job.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "gui_test_support/gui_test_support.h"
#include "stand_in_engine_support.h"

namespace tessarel::testing {
namespace {

struct completion {
  wchar_t letter;
  int kind;
  DWORD thread_id;
  int serial = 0;
};

job_done_callback record_into(std::vector<completion>& done) {
  return [&done](wchar_t letter, int kind, int serial, int) {
    done.push_back({letter, kind, GetCurrentThreadId(), serial});
  };
}

using job_start = bool (*)(engine_binding&, const std::wstring&, int);

const struct job_case {
  const char* export_name;
  job_start start;
  int kind;
} job_cases[] = {
    {"DLL_AnalyseVolume", &start_analysis_job, 0},
    {"DLL_DefragVolume", &start_defrag_job, 1},
    {"DLL_OptimizedDefragVolume", &start_optimize_job, 1},
};

using EngineJob = StandInEngineTest;

// Catches a job that calls the export per letter or on the caller's thread,
// a completion that comes before the export returns, twice, with the wrong
// kind or without its phase's serial, or on the job thread instead of the
// user interface thread.
TEST_F(EngineJob, OneExportCallOnANewThreadThenTheCompletionOnTheCallersThread) {
  for (const job_case& c : job_cases) {
    SCOPED_TRACE(c.export_name);
    stand_in_reset();
    stand_in_hold_runs();
    std::vector<completion> done;
    engine_binding binding(stand_in_folder(L"full"), record_into(done));

    ASSERT_TRUE(c.start(binding, L"CD", 70000));
    ASSERT_TRUE(stand_in_wait_for_calls(c.export_name, 1, 5000));
    pump_messages();
    EXPECT_TRUE(done.empty()) << "completion while the export still blocks";

    stand_in_release_runs();
    ASSERT_TRUE(pump_until([&] { return !done.empty(); }));
    binding.job_threads().wait_all();
    pump_messages();

    const auto calls = journal();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_STREQ(calls[0].export_name, c.export_name);
    EXPECT_STREQ(calls[0].text, "CD");
    EXPECT_NE(calls[0].thread_id, GetCurrentThreadId());
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].letter, L'C');
    EXPECT_EQ(done[0].kind, c.kind);
    EXPECT_EQ(done[0].serial, 70000);
    EXPECT_EQ(done[0].thread_id, GetCurrentThreadId());
  }
}

// The job machine starts the fresh analysis after a defragmentation from the
// completion itself: that start must work from inside the callback.
TEST_F(EngineJob, ACompletionCanStartTheNextJob) {
  std::vector<completion> done;
  engine_binding* self = nullptr;
  engine_binding binding(stand_in_folder(L"full"), [&](wchar_t letter, int kind, int, int) {
    done.push_back({letter, kind, GetCurrentThreadId()});
    if (kind == job_kind_defrag) {
      EXPECT_TRUE(start_analysis_job(*self, L"E", 2));
    }
  });
  self = &binding;
  ASSERT_TRUE(start_defrag_job(binding, L"DE", 1));
  ASSERT_TRUE(pump_until([&] { return done.size() == 2; }));
  binding.job_threads().wait_all();

  EXPECT_EQ(done[0].kind, job_kind_defrag);
  EXPECT_EQ(done[1].kind, job_kind_analysis);
  EXPECT_EQ(done[1].letter, L'E');
  const auto analyses = journal("DLL_AnalyseVolume");
  ASSERT_EQ(analyses.size(), 1u);
  EXPECT_STREQ(analyses[0].text, "E");
}

uintptr_t __cdecl fail_to_start(void*, unsigned, unsigned(__stdcall*)(void*), void*, unsigned,
                                unsigned*) {
  errno = EAGAIN;
  return 0;
}

// Catches a start that reports success for a thread that never ran (the job
// would stay busy for ever) or that runs the export on the caller's thread.
TEST_F(EngineJob, AThreadThatCannotStartIsReportedAndNothingIsCalled) {
  std::vector<completion> done;
  engine_binding binding(stand_in_folder(L"full"), record_into(done));
  const thread_starter previous = install_thread_starter(&fail_to_start);
  for (const job_case& c : job_cases) EXPECT_FALSE(c.start(binding, L"C", 1)) << c.export_name;
  install_thread_starter(previous);

  pump_messages();
  EXPECT_TRUE(journal().empty());
  EXPECT_TRUE(done.empty());
  EXPECT_FALSE(binding.job_threads().any_running());
}

}  // namespace
}  // namespace tessarel::testing
