#include "job/job_machine.h"

#include "job/job_phase.h"
#include "startup/exit_action.h"
#include "startup/program_texts.h"

namespace tessarel {

namespace {

bool is_drive_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The registry scan shows its key on the first record, then every eleventh.
constexpr int scan_key_interval = 10;
// Seven category steps, and for the clean one step per registry cell.
constexpr int scan_steps = 7;
constexpr int clean_steps = 7 + 2565;

}  // namespace

job_machine::job_machine(job_host& host, status_panel& panel) : host_(host), panel_(panel) {}

bool job_machine::busy() const {
  return running_ || finishing_ || close_box_open_ || close_pending_ || closed_;
}

void job_machine::take_selection() {
  const job_selection selected = host_.selection();
  volume_job job;
  job.letters = selected.letters;
  job.registry = selected.registry ? 1 : 0;
  job.phase = phase_not_started;
  panel_.set_job(job);
  panel_.set_end_mode(0);
}

bool job_machine::start_analysis() {
  if (busy()) return false;
  take_selection();
  return begin_analysis_job();
}

bool job_machine::defrag_plain() {
  if (busy()) return false;
  plain_defrag_ = true;
  take_selection();
  return begin_defrag_job();
}

bool job_machine::defrag_optimized() {
  if (busy()) return false;
  plain_defrag_ = false;
  if (host_.selection().letters.size() > 1 &&
      host_.message_box(msg_confirm_multi_volume,
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return false;
  }
  // The box ran a message loop; a close may have been asked meanwhile.
  if (busy()) return false;
  take_selection();
  return begin_defrag_job();
}

void job_machine::begin_refused(const wchar_t* message) {
  running_ = false;
  panel_.set_activity(0);
  panel_.set_engine_state(0);
  host_.message_box(message, MB_OK);
}

bool job_machine::begin_analysis_job() {
  if (busy()) return false;
  running_ = true;
  defrag_job_ = false;
  progress_last_ = 0;
  panel_.set_activity(dravik::working_analysing);
  switch (run_next_analysis_phase()) {
    case phase_start::started:
      host_.update_buttons();
      return true;
    case phase_start::nothing:
      begin_refused(msg_select_before_analysis);
      return false;
    case phase_start::failed:
      finish(0);
      return false;
  }
  return false;
}

bool job_machine::begin_defrag_job() {
  if (busy()) return false;
  running_ = true;
  defrag_job_ = true;
  progress_last_ = 0;
  panel_.set_activity(dravik::working_defragmenting);
  // Read now, applied at exit only once this job has ended normally.
  const bool logout = host_.get_logout();
  const bool restart = host_.get_restart();
  job_exit_action_ = logout ? exit_action_shut_down : restart ? exit_action_restart
                                                              : exit_action_none;
  exit_action = exit_action_none;
  switch (run_next_defrag_phase()) {
    case phase_start::started:
      host_.update_buttons();
      return true;
    case phase_start::nothing:
      begin_refused(msg_select_before_defrag);
      return false;
    case phase_start::failed:
      finish(0);
      return false;
  }
  return false;
}

job_machine::phase_start job_machine::run_next_analysis_phase() { return run_next_phase(false); }

job_machine::phase_start job_machine::run_next_defrag_phase() { return run_next_phase(true); }

job_machine::phase_start job_machine::run_next_phase(bool defrag) {
  host_.kill_timer();
  volume_job job = panel_.job();
  const int32_t next = peek_next_phase(job);
  // The phase is stepped before the thread starts, so the record is right
  // whatever the thread's start gives.
  advance(job);
  panel_.set_job(job);
  if (next == phase_registry) {
    host_.show_registry();
    return start_registry(defrag ? registry_run::clean : registry_run::scan);
  }
  if (next != phase_volumes) return phase_start::nothing;
  host_.set_timer();
  host_.show_volume(job.letters.front());
  const engine_run run = !defrag ? engine_run::analyse
                         : plain_defrag_ ? engine_run::defragment
                                         : engine_run::optimise;
  if (!host_.start_engine_job(run, job.letters, ++volume_serial_)) return phase_start::failed;
  volume_phase_ = true;
  return phase_start::started;
}

job_machine::phase_start job_machine::start_registry(registry_run run) {
  host_.show_progress(true);
  host_.set_progress_range(run == registry_run::clean ? clean_steps : scan_steps);
  // An earlier job may have left the bar full.
  host_.set_progress_position(0);
  host_.set_progress_step(1);
  registry_run_ = run;
  if (!host_.start_registry_worker(run)) return phase_start::failed;
  registry_phase_ = true;
  return phase_start::started;
}

void job_machine::stop_analysis() {
  if (!running_) return;
  panel_.set_end_mode(1);
  host_.working_stop();
  host_.stop_registry(registry_run::scan);
}

void job_machine::stop_defrag() {
  if (!running_) return;
  panel_.set_end_mode(1);
  host_.working_stop();
  host_.stop_registry(registry_run::clean);
}

void job_machine::stop_job() {
  if (panel_.activity() == dravik::working_analysing) {
    stop_analysis();
  } else {
    stop_defrag();
  }
}

void job_machine::on_timer() {
  // A tick queued before the timer was killed, or one between phases, must
  // not show the idle engine's numbers.
  if (!volume_phase_) return;
  // The job thread ended without its completion reaching this thread.
  if (host_.completion_lost(volume_serial_)) return abandon_job();
  // A stop the engine missed (asked before its run had begun) is asked again.
  if (panel_.end_mode() == 1) host_.working_stop();
  host_.refresh_map(false);
  poll_status();
}

void job_machine::poll_status() {
  const wchar_t before = panel_.current_letter();
  WorkingStatus status{};
  if (host_.working_status(status)) panel_.set_status(&status);
  const wchar_t letter = panel_.current_letter();
  if (letter != before && is_drive_letter(letter)) host_.show_volume(letter);
  host_.repaint_status();

  const status_progress progress = panel_.progress();
  const uint64_t total = progress.total_units;
  const uint64_t done = progress.done_units;
  if (total == 0 || done == 0) return;
  const int32_t activity = panel_.activity();
  if (progress_last_ == 0) {
    reset_progress(total, activity);
    return;
  }
  // The engine went on to another kind of work or to a volume of another size.
  if (activity != progress_kind_ || total != progress_total_) reset_progress(total, activity);
  if (progress_last_ < done && done < total) {
    progress_last_ = done;
    host_.set_progress_position(scaled_position(done, progress_scale_));
  }
}

void job_machine::reset_progress(uint64_t total, int32_t activity) {
  progress_kind_ = activity;
  progress_total_ = total;
  progress_last_ = 1;
  progress_scale_ = scale_progress(total);
  host_.show_progress(true);
  host_.set_progress_range(progress_scale_.range);
  host_.set_progress_position(0);
}

void job_machine::on_engine_job_done(wchar_t, int kind, int serial, int) {
  if (!volume_phase_ || serial != volume_serial_) return;
  volume_phase_ = false;
  try {
    if (kind == 0) {
      on_analysis_phase_done();
    } else {
      on_defrag_phase_done();
    }
  } catch (...) {
    abandon_job();
  }
}

void job_machine::on_registry_progress(const regscan::scan_progress& record) {
  if (!registry_phase_) return;
  // The worker clears its stop flags when it starts; a stop asked before
  // that is asked again with every record.
  if (panel_.end_mode() == 1) host_.stop_registry(registry_run_);
  switch (record.type) {
    case regscan::progress_scan:
      show_scan_progress(record);
      break;
    case regscan::progress_clean:
      show_clean_progress(record);
      break;
    case regscan::progress_scan_end:
    case regscan::progress_clean_end:
      registry_phase_ = false;
      try {
        if (record.type == regscan::progress_scan_end) {
          on_analysis_phase_done();
        } else {
          on_defrag_phase_done();
        }
      } catch (...) {
        abandon_job();
      }
      break;
    default:
      break;
  }
}

void job_machine::show_scan_progress(const regscan::scan_progress& record) {
  if (record.step) host_.step_progress();
  host_.refresh_map(false);
  if (scan_countdown_ > 0) {
    --scan_countdown_;
    return;
  }
  scan_countdown_ = scan_key_interval;
  panel_.set_item_text(record.text);
  host_.repaint_status();
}

void job_machine::show_clean_progress(const regscan::scan_progress& record) {
  // The worker's relay keeps the 10 ms pacing between clean records; the
  // user interface thread does not sleep.
  host_.refresh_map(false);
  if (record.step) host_.step_progress();
  panel_.set_item_text(record.text);
  host_.repaint_status();
}

void job_machine::on_analysis_phase_done() {
  const int32_t end_mode = panel_.end_mode();
  if (end_mode == 1) return finish(0);
  if (peek_next_phase(panel_.job()) != phase_done) {
    if (run_next_analysis_phase() != phase_start::started) finish(0);
    return;
  }
  finish(end_mode == 2 ? report_defrag : report_analysis);
}

void job_machine::on_defrag_phase_done() {
  if (panel_.end_mode() == 1) return finish(0);
  volume_job job = panel_.job();
  if (peek_next_phase(job) != phase_done) {
    if (run_next_defrag_phase() != phase_start::started) finish(0);
    return;
  }
  if (job.letters.empty()) return finish(report_defrag);
  // A fresh analysis of the same letters; its end opens report 2.
  panel_.set_end_mode(2);
  job.registry = 0;
  job.phase = phase_not_started;
  panel_.set_job(job);
  panel_.set_current_letter(0);
  if (run_next_analysis_phase() != phase_start::started) finish(0);
}

void job_machine::finish(int report_set) {
  running_ = false;
  volume_phase_ = false;
  registry_phase_ = false;
  finishing_ = true;
  end_job();
  if (report_set != 0 && defrag_job_) exit_action = job_exit_action_;
  if (report_set != 0) host_.show_report(report_set);
  finishing_ = false;
  if (close_pending_) {
    close_pending_ = false;
    closed_ = true;
    host_.destroy_window();
  }
}

// A step that failed half-way (it threw, or a completion never came) must
// not leave the window refusing every command: the job ends as a stopped
// one, with no report and no phase still due. Each step is tried on its own
// so one that fails again does not keep the others from running.
void job_machine::abandon_job() {
  const auto attempt = [](auto&& step) {
    try {
      step();
    } catch (...) {
    }
  };
  running_ = false;
  volume_phase_ = false;
  registry_phase_ = false;
  finishing_ = false;
  progress_last_ = 0;
  panel_.set_end_mode(1);
  panel_.set_activity(0);
  panel_.set_engine_state(0);
  attempt([&] { host_.kill_timer(); });
  attempt([&] { host_.working_stop(); });
  attempt([&] { host_.stop_registry(registry_run_); });
  attempt([&] { host_.update_buttons(); });
  attempt([&] { host_.show_progress(false); });
  attempt([&] {
    const wchar_t row_letter = host_.current_row_letter();
    if (row_letter != 0) {
      host_.show_volume(row_letter);
    } else {
      host_.show_registry();
    }
  });
  attempt([&] { host_.repaint_status(); });
  if (close_pending_) {
    close_pending_ = false;
    closed_ = true;
    attempt([&] { host_.destroy_window(); });
  }
}

void job_machine::end_job() {
  const wchar_t row_letter = host_.current_row_letter();
  if (row_letter != 0) {
    host_.show_volume(row_letter);
  } else {
    host_.show_registry();
  }
  panel_.set_activity(0);
  panel_.set_engine_state(0);
  host_.kill_timer();
  host_.update_buttons();
  host_.refresh_map(false);
  progress_last_ = 0;
  host_.show_progress(false);
  host_.repaint_status();
}

bool job_machine::request_close() {
  if (closed_ || close_pending_ || close_box_open_) return false;
  if (finishing_) {
    // The job has ended; its report is open. Close once it has returned.
    close_pending_ = true;
    return false;
  }
  if (!running_) return closed_ = true;
  close_box_open_ = true;
  const int answer = host_.message_box(msg_confirm_exit, MB_OKCANCEL | MB_DEFBUTTON2);
  close_box_open_ = false;
  if (answer != IDOK) return false;
  if (!running_ && !finishing_) return closed_ = true;  // ended while the box was open
  close_pending_ = true;
  if (running_) stop_job();
  return false;
}

}  // namespace tessarel
