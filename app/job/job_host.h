#pragma once
// What the job machine asks of the main window and, through it, of the
// engine and the registry scanner. The main window implements it; tests use
// a recording fake. Every call is made on the user interface thread.

#include <windows.h>

#include <string>

#include "dravik/working_status.h"

namespace tessarel {

enum class engine_run { analyse, defragment, optimise };
enum class registry_run { scan, clean };

// The volume list's checked rows: drive letters in list order, Registry row.
struct job_selection {
  std::wstring letters;
  bool registry = false;
};

class job_host {
 public:
  virtual ~job_host() = default;

  // --- The map and the window ---
  // The map shows volume letter (sets the panel's current letter, resets the
  // blocks, update_buttons, refresh_map(true), volume lines, repaint).
  virtual void show_volume(wchar_t letter) = 0;
  // The map shows the registry grid (refresh_map(false), repaint).
  virtual void show_registry() = 0;
  virtual void refresh_map(bool set_current) = 0;
  // Start and stop buttons by the panel's activity; hides the block popup.
  virtual void update_buttons() = 0;
  // InvalidateRgn of the status panel's update region, then UpdateWindow.
  virtual void repaint_status() = 0;
  // Destroys the main window; the close that was deferred until the job end.
  virtual void destroy_window() = 0;

  // --- Volume list ---
  virtual job_selection selection() = 0;
  // The letter of the current row when it is a volume row; 0 otherwise.
  virtual wchar_t current_row_letter() = 0;

  // --- Timer 1 (500 ms) of the main window ---
  virtual void set_timer() = 0;
  virtual void kill_timer() = 0;

  // --- Progress bar ---
  virtual void show_progress(bool shown) = 0;
  // PBM_SETRANGE32 0..maximum.
  virtual void set_progress_range(int maximum) = 0;
  virtual void set_progress_step(int step) = 0;
  virtual void set_progress_position(int position) = 0;
  virtual void step_progress() = 0;

  // MessageBoxW owned by the main window, caption "Tessarel"; the answer.
  virtual int message_box(const wchar_t* text, UINT flags) = 0;

  // --- Threads; each answers false when the thread could not be started,
  // and then no completion or end record will come. ---
  virtual bool start_registry_worker(registry_run run) = 0;
  // The thread's completion carries serial, the volume phase it runs.
  virtual bool start_engine_job(engine_run run, const std::wstring& letters, int serial) = 0;
  // True once after the job thread of phase serial ended without being able
  // to deliver its completion (which will then never come).
  virtual bool completion_lost(int serial) = 0;

  // --- Engine and scanner ---
  // DLL_GetWorkingStatus into status; false when no status was had.
  virtual bool working_status(WorkingStatus& status) = 0;
  virtual bool get_logout() = 0;
  virtual bool get_restart() = 0;
  virtual void working_stop() = 0;
  // The run's stop flag (scan_stop_flag or clean_stop_flag) and every
  // category's flag in checker_stop_flags.
  virtual void stop_registry(registry_run run) = 0;
  // DLL_ShowReport(report_set); may run a modal loop.
  virtual void show_report(int report_set) = 0;
};

}  // namespace tessarel
