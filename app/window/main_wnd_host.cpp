// The main window as the job machine's host: the map, the buttons, the
// timer, the progress bar, the message boxes, and the threads of a job.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "engine/cell_colors.h"
#include "engine/engine_job.h"
#include "regscan/checker_stop_flags.h"
#include "regscan/issue_store.h"
#include "regscan/scan_hooks.h"
#include "startup/program_texts.h"
#include "window/main_wnd.h"
#include "window/main_wnd_layout.h"

namespace tessarel {
namespace {

// The job machine's one timer.
constexpr UINT_PTR job_timer = 1;
constexpr UINT job_timer_ms = 500;

bool is_drive_letter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

void show_child(const vemo::window& child, bool shown) {
  if (child.handle()) ShowWindow(child.handle(), shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

void main_wnd::forget_highlight() {
  highlighted_block_ = -1;
  highlighted_saved_code_ = -1;
}

// The detail list and the popup belong to the view they were taken from.
void main_wnd::clear_details() {
  hide_popup();
  popup_.set_lines({});
  if (detail_list_.handle() && !detail_list_.lines().empty()) detail_list_.set_lines({});
}

// Every block goes back to code 0 through set_block_colors, so blocks the
// volume's table does not cover are repainted too and no colour of the
// previous view stays on screen.
void main_wnd::show_volume(wchar_t letter) {
  const detail_source& details = detail_list_.source();
  if (details.kind != detail_kind::volume_files || details.letter != letter) clear_details();
  panel_.set_current_letter(letter);
  volume_view_ = true;
  forget_highlight();
  set_block_colors(std::vector<int>(map_layout().blocks().size(), 0));
  update_buttons();
  refresh_map(true);
  build_volume_lines(letter);
  if (!handle()) return;
  const RECT right_of_lists{volume_lines_origin.x, 0, client_width_, client_height_};
  InvalidateRect(handle(), &right_of_lists, TRUE);
  UpdateWindow(handle());
}

void main_wnd::show_registry() {
  clear_details();
  volume_view_ = false;
  forget_highlight();
  refresh_map(false);
  if (!handle()) return;
  const RECT right_of_lists{volume_lines_origin.x, 0, client_width_, client_height_};
  InvalidateRect(handle(), &right_of_lists, TRUE);
  UpdateWindow(handle());
}

void main_wnd::refresh_map(bool set_current) {
  if (map_layout().blocks().empty()) return;
  std::vector<int> codes;
  if (volume_view_) {
    const wchar_t letter =
        panel_.activity() == 0 ? volume_list_.current_letter() : panel_.current_letter();
    if (!is_drive_letter(letter)) return;
    collect_cell_colors(letter, binding_, codes, set_current);
  } else {
    regscan::issue_store& store = regscan::registry_store();
    if (store.cell_states.empty()) regscan::reset_cell_states();
    codes.reserve(regscan::registry_cell_count);
    for (std::size_t cell = 0; cell < regscan::registry_cell_count; ++cell)
      codes.push_back(store.cell_states.at(cell));
  }
  set_block_colors(codes);
}

void main_wnd::update_buttons() {
  hide_popup();
  const int32_t activity = panel_.activity();
  if (activity == 3) return;
  const bool analysing = activity == 1;
  const bool defragmenting = activity == 2;
  show_child(*buttons_[button_analyze_start], !analysing);
  show_child(*buttons_[button_analyze_stop], analysing);
  show_child(*buttons_[button_defragment_start], !defragmenting);
  show_child(*buttons_[button_defragment_stop], defragmenting);
  for (const auto& button : buttons_) {
    if (button->handle() && IsWindowVisible(button->handle())) button->update();
  }
}

void main_wnd::repaint_status() {
  if (!handle() || !panel_.take_change()) return;
  InvalidateRgn(handle(), panel_.update_region(), TRUE);
  UpdateWindow(handle());
}

void main_wnd::destroy_window() { destroy(); }

job_selection main_wnd::selection() {
  const volume_job selected = volume_list_.selection();
  return {selected.letters, selected.registry != 0};
}

wchar_t main_wnd::current_row_letter() { return volume_list_.current_letter(); }

void main_wnd::set_timer() {
  if (handle()) SetTimer(handle(), job_timer, job_timer_ms, nullptr);
}

void main_wnd::kill_timer() {
  if (handle()) KillTimer(handle(), job_timer);
}

void main_wnd::show_progress(bool shown) { show_child(progress_, shown); }

void main_wnd::set_progress_range(int maximum) {
  SendMessageW(progress_.handle(), PBM_SETRANGE32, 0, maximum);
}

void main_wnd::set_progress_step(int step) {
  SendMessageW(progress_.handle(), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void main_wnd::set_progress_position(int position) {
  SendMessageW(progress_.handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void main_wnd::step_progress() { SendMessageW(progress_.handle(), PBM_STEPIT, 0, 0); }

int main_wnd::message_box(const wchar_t* text, UINT flags) {
  return MessageBoxW(handle(), text, product_name, flags);
}

bool main_wnd::start_registry_worker(registry_run run) { return registry_workers_.start(run); }

bool main_wnd::start_engine_job(engine_run run, const std::wstring& letters, int serial) {
  switch (run) {
    case engine_run::analyse:
      return start_analysis_job(binding_, letters, serial);
    case engine_run::defragment:
      return start_defrag_job(binding_, letters, serial);
    case engine_run::optimise:
      return start_optimize_job(binding_, letters, serial);
  }
  return false;
}

bool main_wnd::completion_lost(int serial) { return binding_.completion().take_lost(serial); }

bool main_wnd::working_status(WorkingStatus& status) {
  const WorkingStatus* current = binding_.entry_points().get_working_status();
  if (current == nullptr) return false;
  status = *current;
  return true;
}

bool main_wnd::get_logout() { return binding_.entry_points().get_logout(); }

bool main_wnd::get_restart() { return binding_.entry_points().get_restart(); }

void main_wnd::working_stop() { binding_.entry_points().working_stop(); }

void main_wnd::stop_registry(registry_run run) {
  if (run == registry_run::scan) {
    regscan::scan_stop_flag = true;
  } else {
    regscan::clean_stop_flag = true;
  }
  regscan::stop_all_checkers();
}

void main_wnd::show_report(int report_set) { binding_.entry_points().show_report(report_set); }

}  // namespace tessarel
