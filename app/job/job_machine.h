#pragma once
// The job state machine: runs an analysis or defragmentation job phase by
// phase (the registry on a registry worker, the volumes on an engine job
// thread), follows the engine every timer tick, ends the job and opens the
// report. The job's state (activity, the record with its phase, end_mode,
// current letter) lives in the status panel; everything else outside goes
// through the job_host.
//
// Thread: user interface thread only, every call. The job threads' ends
// arrive there through the engine binding's completion window, and the
// registry worker's records through SendMessage, so no step of a job runs
// anywhere else and nothing here is locked.

#include <cstdint>
#include <string>

#include "job/job_host.h"
#include "job/progress_scale.h"
#include "regscan/scan_progress.h"
#include "status/status_panel.h"

namespace tessarel {

// DLL_ShowReport's report sets.
constexpr int report_analysis = 1;
constexpr int report_defrag = 2;

class job_machine {
 public:
  // host and panel outlive the machine.
  job_machine(job_host& host, status_panel& panel);
  job_machine(const job_machine&) = delete;
  job_machine& operator=(const job_machine&) = delete;

  // True from a job's start until its end step and report have returned, and
  // while a close is being confirmed or waits for the job: no job may start
  // and the window is not closed at once.
  bool busy() const;
  // Defragmentation jobs are plain (true) or optimised (false).
  bool plain_defrag() const { return plain_defrag_; }

  // --- Starts: each does nothing and answers false while busy. ---
  // The selection becomes the record (phase 0, end_mode 0); an analysis.
  bool start_analysis();
  // Plain or optimised defragmentation of the selection; the optimised one
  // asks first when it covers more than one volume (No starts nothing).
  bool defrag_plain();
  bool defrag_optimized();
  // Run the job already in the panel's record. Nothing to do: the
  // select-first message, idle. A thread that cannot start: ended as stopped.
  bool begin_analysis_job();
  bool begin_defrag_job();

  // --- Stops: ask the engine and the scanner to stop; the running phase
  // ends early and the job ends without report. Nothing while idle. ---
  void stop_analysis();
  void stop_defrag();
  // By activity, as the close does.
  void stop_job();

  // --- Events ---
  // WM_TIMER: refresh the map and poll the engine while a volume phase runs;
  // re-sends a pending stop; ends the job as stopped when the host reports
  // that the phase's completion was lost. Does nothing outside a volume
  // phase.
  void on_timer();
  // A job thread's end (kind 0 analysis, 1 defragmentation) of the volume
  // phase serial; one of a phase no longer running (a thread of a job that
  // ended as stopped) is ignored. A step that throws ends the job as
  // stopped: idle, no report.
  void on_engine_job_done(wchar_t letter, int kind, int serial, int);
  // A registry worker's record, valid during the call. An end record whose
  // step throws ends the job as stopped.
  void on_registry_progress(const regscan::scan_progress& record);

  // WM_CLOSE. True: destroy the window now. False: it stays, either because
  // the user cancelled or because the job must end first; the machine then
  // calls host.destroy_window() once the job has ended.
  bool request_close();
  bool close_pending() const { return close_pending_; }

 private:
  enum class phase_start { started, nothing, failed };

  phase_start run_next_analysis_phase();
  phase_start run_next_defrag_phase();
  phase_start run_next_phase(bool defrag);
  phase_start start_registry(registry_run run);
  void poll_status();
  void reset_progress(uint64_t total, int32_t activity);
  void on_analysis_phase_done();
  void on_defrag_phase_done();
  void show_scan_progress(const regscan::scan_progress& record);
  void show_clean_progress(const regscan::scan_progress& record);
  // end_job, then the report (0: none), then a deferred close.
  void finish(int report_set);
  void end_job();
  // Ends the job as stopped after a step failed; never throws.
  void abandon_job();
  void take_selection();
  void begin_refused(const wchar_t* message);

  job_host& host_;
  status_panel& panel_;
  bool plain_defrag_ = true;

  bool running_ = false;        // between a start and its end step
  bool finishing_ = false;      // end step and report under way
  bool defrag_job_ = false;     // the running job is a defragmentation
  bool volume_phase_ = false;   // an engine job thread runs
  int volume_serial_ = 0;       // the latest volume phase's; each start counts up
  bool registry_phase_ = false; // a registry worker runs
  registry_run registry_run_ = registry_run::scan;
  int job_exit_action_ = 0;     // read at the defragmentation's start

  bool close_box_open_ = false;
  bool close_pending_ = false;
  bool closed_ = false;

  uint64_t progress_last_ = 0;  // 0: no progress shown in this job
  uint64_t progress_total_ = 0;
  int32_t progress_kind_ = 0;
  progress_scale progress_scale_;
  int scan_countdown_ = 0;      // program-wide: runs on across scans
};

}  // namespace tessarel
