// Stops at every point of a job, threads that cannot start, the close while
// a job runs, and the exit action a defragmentation arms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "job/job_fixture.h"
#include "startup/program_texts.h"

namespace tessarel::testing {
namespace {

using Stops = job_fixture;
using Close = job_fixture;
using ExitArming = job_fixture;
using S = std::vector<std::string>;

// A stop while idle is no job's stop: the next job runs to its report.
TEST_F(Stops, StopBeforeStartIsNotCarriedIntoTheNextJob) {
  machine.stop_analysis();
  machine.stop_defrag();
  EXPECT_FALSE(host.has("working_stop"));
  select(L"C", false);
  ASSERT_TRUE(machine.start_analysis());
  engine_done(0);
  EXPECT_EQ(host.lines("report"), S{"report 1"});
}

// A stop in the registry phase: the volumes are not run, no report; each
// later record asks the worker again (it clears its flag when it starts).
TEST_F(Stops, StopDuringRegistryPhaseSkipsVolumes) {
  select(L"CD", true);
  ASSERT_TRUE(machine.start_analysis());
  machine.stop_analysis();
  EXPECT_EQ(panel.end_mode(), 1);
  EXPECT_TRUE(host.has("working_stop"));
  record(regscan::progress_scan, true);
  EXPECT_EQ(host.count("stop_registry scan"), 2);
  record(regscan::progress_scan_end);
  EXPECT_TRUE(host.lines("engine").empty());
  EXPECT_TRUE(host.lines("report").empty());
  EXPECT_TRUE(idle());
}

// A stop in the volume phase is re-sent each tick while it is pending
// (the engine may not have begun its run when it was first asked).
TEST_F(Stops, StopDuringVolumePhaseIsResentEachTick) {
  select(L"C", false);
  ASSERT_TRUE(machine.defrag_plain());
  machine.stop_defrag();
  tick('C', 2, 0, 0);
  tick('C', 2, 0, 0);
  EXPECT_EQ(host.count("working_stop"), 3);
  EXPECT_EQ(host.count("stop_registry clean"), 1);
  engine_done(1);
  EXPECT_EQ(host.lines("engine"), S{"engine defragment C"}) << "no re-analysis";
  EXPECT_TRUE(host.lines("report").empty());
  EXPECT_TRUE(idle());
}

// Between phases: the clean ended, its completion is still queued when
// the stop comes. The volume phase must not start.
TEST_F(Stops, StopBetweenPhasesIsNotLost) {
  select(L"C", true);
  ASSERT_TRUE(machine.defrag_plain());
  record(regscan::progress_clean_end);
  ASSERT_EQ(host.lines("engine"), S{"engine defragment C"});
  machine.stop_job();
  engine_done(1);
  EXPECT_EQ(host.lines("engine"), S{"engine defragment C"});
  EXPECT_TRUE(host.lines("report").empty());
  EXPECT_TRUE(idle());
}

// A stop during the re-analysis of a defragmentation: no report 2.
TEST_F(Stops, StopDuringReanalysisOpensNoReport) {
  select(L"C", false);
  ASSERT_TRUE(machine.defrag_plain());
  engine_done(1);
  machine.stop_analysis();
  engine_done(0);
  EXPECT_TRUE(host.lines("report").empty());
  EXPECT_TRUE(idle());
}

// A thread that cannot start ends the job as stopped at every phase start:
// never busy for ever, no report, no select-first message.
TEST_F(Stops, ThreadThatCannotStartEndsTheJob) {
  struct row {
    std::wstring letters;
    bool registry;
    bool defrag;
    int completions;  // phases that end before the failing start
  };
  const row rows[] = {{L"C", false, false, 0}, {L"", true, false, 0}, {L"C", true, true, 1},
                      {L"C", false, true, 1}};
  for (const row& r : rows) {
    host.journal.clear();
    host.box_texts.clear();
    host.threads_start = r.completions != 0;
    select(r.letters, r.registry);
    const bool started = r.defrag ? machine.defrag_plain() : machine.start_analysis();
    if (r.completions) {
      ASSERT_TRUE(started);
      host.threads_start = false;
      if (r.registry) {
        record(regscan::progress_clean_end);
      } else {
        engine_done(1);
      }
    } else {
      EXPECT_FALSE(started);
    }
    EXPECT_TRUE(idle()) << r.registry << r.defrag;
    EXPECT_FALSE(host.timer_running);
    EXPECT_FALSE(host.progress_shown);
    EXPECT_TRUE(host.lines("report").empty());
    EXPECT_TRUE(host.box_texts.empty());
    host.threads_start = true;
  }
}

// A phase end whose step throws, or a completion that was lost, ends the
// job as stopped: idle, buttons back, no timer, no bar, no report, no
// phase still due, and a close asked meanwhile goes through. Catches a
// window that refuses every command until it is killed, and a completion
// or lost mark of the stopped job's thread that comes late and ends the
// next job.
TEST_F(Stops, FailedStepEndsTheJobAsStopped) {
  const struct {
    const char* name;
    std::wstring letters;
    bool registry;
    bool defrag;
    const char* throw_at;  // null: the completion is lost instead
    bool close_first;      // a close was confirmed before the failure
    int reports;           // a report that threw was still asked for
  } rows[] = {
      {"next phase after the scan", L"C", true, false, "engine analyse C", false, 0},
      {"re-analysis after the defragmentation", L"C", false, true, "engine analyse C", false, 0},
      {"view switch in the end step", L"C", false, false, "show_volume C", false, 0},
      {"report", L"C", false, false, "report 1", false, 1},
      {"report after the clean", L"", true, true, "report 2", false, 1},
      {"end step of a closing job", L"", true, true, "show_volume C", true, 0},
      {"completion lost", L"C", false, false, nullptr, false, 0},
      {"completion lost, close waiting", L"C", false, true, nullptr, true, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    status_panel panel;
    fake_job_host host{panel};
    job_machine machine{host, panel};
    host.selected = {r.letters, r.registry};
    ASSERT_TRUE(r.defrag ? machine.defrag_plain() : machine.start_analysis());
    if (r.close_first) {
      host.box_answers = {IDOK};
      EXPECT_FALSE(machine.request_close());
    }
    host.journal.clear();
    if (r.throw_at) {
      host.throw_at = r.throw_at;
      if (r.registry) {
        regscan::scan_progress end;
        end.type = r.defrag ? regscan::progress_clean_end : regscan::progress_scan_end;
        machine.on_registry_progress(end);
      } else {
        machine.on_engine_job_done(L'C', r.defrag ? 1 : 0, host.serials.back(), 0);
      }
    } else {
      host.lost = host.serials.back();
      host.engine_at('C', 1, 0, 0);
      machine.on_timer();
    }
    EXPECT_EQ(machine.busy(), r.close_first) << "closed for good, or free for the next job";
    EXPECT_EQ(panel.activity(), 0);
    EXPECT_FALSE(host.timer_running);
    EXPECT_FALSE(host.progress_shown);
    EXPECT_TRUE(host.has("update_buttons"));
    EXPECT_EQ(static_cast<int>(host.lines("report").size()), r.reports);
    const bool threw_at_start = r.throw_at && std::string(r.throw_at).rfind("engine", 0) == 0;
    EXPECT_EQ(host.lines("engine").size(), threw_at_start ? 1u : 0u) << "no phase still due";
    EXPECT_EQ(host.count("destroy"), r.close_first ? 1 : 0);
    if (!r.close_first) {
      host.throw_at.clear();
      host.journal.clear();
      host.selected = {L"D", false};
      const std::vector<int> stopped_phases = host.serials;
      EXPECT_TRUE(machine.start_analysis()) << "a new job can start";
      EXPECT_EQ(host.lines("engine"), S{"engine analyse D"});
      for (int serial : stopped_phases) {
        machine.on_engine_job_done(L'C', 0, serial, 0);
        machine.on_engine_job_done(L'C', 1, serial, 0);
        host.lost = serial;
        machine.on_timer();
      }
      EXPECT_TRUE(machine.busy()) << "the new job ended by the stopped one's thread";
      EXPECT_TRUE(host.lines("report").empty());
      machine.on_engine_job_done(L'D', 0, host.serials.back(), 0);
      EXPECT_EQ(host.lines("report"), S{"report 1"});
    }
  }
}

// Idle: closes at once. Busy: Cancel keeps the job; OK stops it and the
// window goes when the job has ended, with no report; starts and closes are
// refused until then.
TEST_F(Close, CloseWhileBusyWaitsForTheJobEnd) {
  EXPECT_TRUE(job_machine(host, panel).request_close());

  select(L"C", false);
  ASSERT_TRUE(machine.start_analysis());
  host.box_answers = {IDCANCEL};
  EXPECT_FALSE(machine.request_close());
  ASSERT_EQ(host.box_texts.size(), 1u);
  EXPECT_EQ(host.box_texts[0], msg_confirm_exit);
  EXPECT_TRUE(host.has("box " + std::to_string(MB_OKCANCEL | MB_DEFBUTTON2)));
  EXPECT_FALSE(host.has("working_stop"));

  host.box_answers = {IDOK};
  EXPECT_FALSE(machine.request_close());
  EXPECT_TRUE(machine.close_pending());
  EXPECT_TRUE(host.has("working_stop"));
  EXPECT_FALSE(machine.request_close()) << "a second close while one waits";
  EXPECT_EQ(host.box_texts.size(), 2u);
  EXPECT_FALSE(host.has("destroy"));

  engine_done(0);
  EXPECT_EQ(host.count("destroy"), 1);
  EXPECT_TRUE(host.lines("report").empty());
  EXPECT_FALSE(machine.start_analysis()) << "no job after the close";
}

// The job ends while the confirmation is open: OK closes at once, and no
// start gets in while the box is open.
TEST_F(Close, JobEndingWhileTheBoxIsOpenClosesAtOnce) {
  select(L"C", false);
  ASSERT_TRUE(machine.start_analysis());
  bool start_refused = false;
  host.during_box = [&] {
    engine_done(0);
    start_refused = !machine.start_analysis();
  };
  EXPECT_TRUE(machine.request_close());
  EXPECT_TRUE(start_refused);
  EXPECT_EQ(host.lines("report"), S{"report 1"});
  EXPECT_FALSE(host.has("working_stop"));
  EXPECT_FALSE(host.has("destroy")) << "the caller destroys";
}

// A close while the report is open waits for it; so does a start.
TEST_F(Close, CloseDuringTheReportWaitsForIt) {
  select(L"C", false);
  ASSERT_TRUE(machine.start_analysis());
  bool closed_now = true;
  bool started = true;
  host.during_report = [&] {
    closed_now = machine.request_close();
    started = machine.start_analysis();
  };
  engine_done(0);
  EXPECT_FALSE(closed_now);
  EXPECT_FALSE(started);
  EXPECT_TRUE(host.box_texts.empty());
  EXPECT_EQ(host.journal.back(), "destroy");
}

// Armed only by a defragmentation that ended normally while the engine's
// setting was on; a stopped one disarms, an analysis leaves it.
TEST_F(ExitArming, OnlyANormallyEndedDefragmentationArms) {
  select(L"C", false);
  host.logout = true;
  ASSERT_TRUE(machine.defrag_plain());
  EXPECT_TRUE(host.has("get_restart")) << "both settings are read";
  EXPECT_EQ(exit_action, exit_action_none) << "not armed at the start";
  engine_done(1);
  engine_done(0);
  EXPECT_EQ(exit_action, exit_action_shut_down);

  ASSERT_TRUE(machine.start_analysis());
  engine_done(0);
  EXPECT_EQ(exit_action, exit_action_shut_down);

  host.logout = false;
  host.restart = true;
  ASSERT_TRUE(machine.defrag_plain());
  machine.stop_defrag();
  engine_done(1);
  EXPECT_EQ(exit_action, exit_action_none);

  select(L"", true);
  ASSERT_TRUE(machine.defrag_plain());
  record(regscan::progress_clean_end);
  EXPECT_EQ(exit_action, exit_action_restart);
}

}  // namespace
}  // namespace tessarel::testing
