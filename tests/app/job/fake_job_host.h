#pragma once
// A job_host that records every call as one journal line ("engine analyse
// CD", "report 1", "range 7") and answers from scripted values.

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "job/job_host.h"
#include "status/status_panel.h"

namespace tessarel::testing {

class fake_job_host : public job_host {
 public:
  explicit fake_job_host(status_panel& panel) : panel_(panel) {}

  // Scripted answers.
  job_selection selected;
  wchar_t row_letter = L'C';
  std::vector<int> box_answers;          // taken in order; IDOK when empty
  std::function<void()> during_box;      // runs inside the message box
  std::function<void()> during_report;   // runs inside the report
  bool threads_start = true;
  bool logout = false;
  bool restart = false;
  WorkingStatus status{};
  bool has_status = true;
  int lost = 0;                          // the phase whose completion a poll finds lost
  std::vector<int> serials;              // of every engine job started, in order
  std::string throw_at;                  // this journal line throws, every time

  std::vector<std::string> journal;
  std::vector<std::wstring> box_texts;
  bool timer_running = false;
  bool progress_shown = false;

  int count(const std::string& line) const;
  bool has(const std::string& line) const { return count(line) > 0; }
  // Lines starting with prefix, in order.
  std::vector<std::string> lines(const std::string& prefix) const;
  // Sets the status the next poll reads.
  void engine_at(char letter, int32_t state, uint64_t total, uint64_t done);

  void show_volume(wchar_t letter) override;
  void show_registry() override { note("show_registry"); }
  void refresh_map(bool set_current) override;
  void update_buttons() override { note("update_buttons"); }
  void repaint_status() override { note("repaint_status"); }
  void destroy_window() override { note("destroy"); }
  job_selection selection() override { return selected; }
  wchar_t current_row_letter() override { return row_letter; }
  void set_timer() override;
  void kill_timer() override;
  void show_progress(bool shown) override;
  void set_progress_range(int maximum) override;
  void set_progress_step(int step) override;
  void set_progress_position(int position) override;
  void step_progress() override { note("stepit"); }
  int message_box(const wchar_t* text, UINT flags) override;
  bool start_registry_worker(registry_run run) override;
  bool start_engine_job(engine_run run, const std::wstring& letters, int serial) override;
  bool completion_lost(int serial) override;
  bool working_status(WorkingStatus& out) override;
  bool get_logout() override { return note("get_logout"), logout; }
  bool get_restart() override { return note("get_restart"), restart; }
  void working_stop() override { note("working_stop"); }
  void stop_registry(registry_run run) override;
  void show_report(int report_set) override;

 private:
  void note(std::string line);
  status_panel& panel_;
};

}  // namespace tessarel::testing
