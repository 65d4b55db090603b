// What the user's clicks and the children's notifications do, and what a
// running job refuses.
#include <string>
#include <vector>

#include "details/block_lines.h"
#include "job/registry_progress_relay.h"
#include "menu/defrag_menu.h"
#include "startup/command_line.h"
#include "startup/exit_action.h"
#include "startup/program_texts.h"
#include "vemo/address_opener.h"
#include "vemo/settings.h"
#include "window/command_line_job.h"
#include "window/main_wnd.h"
#include "window/main_wnd_layout.h"

namespace tessarel {

void main_wnd::on_lbutton_down(WPARAM keys, WORD x, WORD y) {
  // The window is dragged as a movable widget is; the map's own click
  // handling is replaced by the one below.
  vemo::movable_widget_t::on_lbutton_down(keys, x, y);
  hide_popup();
  std::uint32_t block = 0;
  if (map_layout().hit_test(point_d{double(x), double(y)}, block)) {
    if (!busy()) on_block_click(block);
    return;
  }
  switch (hit_area_at(areas_, x, y)) {
    case hit_area::about:
      show_about();
      break;
    case hit_area::help:
      open_help();
      break;
    case hit_area::options:
      show_options();
      break;
    case hit_area::none:
      break;
  }
}

void main_wnd::on_rbutton_down(WPARAM, WORD, WORD) { hide_popup(); }

void main_wnd::on_mouse_move(WPARAM keys, WORD x, WORD y) {
  vemo::movable_widget_t::on_mouse_move(keys, x, y);
  const bool clickable = hit_area_at(areas_, x, y) != hit_area::none;
  SetCursor(LoadCursorW(nullptr, clickable ? IDC_HAND : IDC_ARROW));
}

bool main_wnd::on_command(int code, int, HWND control) {
  switch (code) {
    case 0:
      return on_button(control);
    case 1:
      return on_list_notify(control);
    case defrag_plain_command:
      machine_.defrag_plain();
      return true;
    case defrag_optimized_command:
      machine_.defrag_optimized();
      return true;
    default:
      return false;
  }
}

bool main_wnd::on_button(HWND control) {
  if (control == nullptr) return false;
  int which = 0;
  while (which < main_button_count && buttons_[which]->handle() != control) ++which;
  switch (which) {
    case button_analyze_start:
      if (busy()) return show_busy_message(), true;
      machine_.start_analysis();
      return true;
    case button_analyze_stop:
      machine_.stop_analysis();
      return true;
    case button_defragment_start:
      if (busy()) return show_busy_message(), true;
      start_defrag();
      return true;
    case button_defragment_stop:
      machine_.stop_defrag();
      return true;
    case button_advanced:
      if (busy()) return show_busy_message(), true;
      binding_.entry_points().advance();
      return true;
    case button_minimize:
      CloseWindow(handle());
      return true;
    case button_close:
      SendMessageW(handle(), WM_CLOSE, 0, 0);
      return true;
    default:
      return false;
  }
}

bool main_wnd::on_list_notify(HWND control) {
  if (control == nullptr) return false;
  if (control == volume_list_.handle()) {
    on_row_select();
    return true;
  }
  if (control == detail_list_.handle()) {
    if (!busy()) on_detail_select();
    return true;
  }
  return false;
}

// Only an analysis or a plain defragmentation explains itself; while
// optimising, or between a job's end and its report, the command is refused
// silently.
void main_wnd::show_busy_message() {
  switch (panel_.activity()) {
    case 1:
      message_box(msg_busy_analysing, MB_OK);
      break;
    case 2:
      message_box(msg_busy_defragmenting, MB_OK);
      break;
    default:
      break;
  }
}

void main_wnd::start_defrag() {
  if (volume_list_.checked_letters().empty()) {
    machine_.defrag_plain();
    return;
  }
  // Its buttons come back as the two defragmentation commands.
  defrag_menu_t menu;
  menu.run(this);
}

void main_wnd::on_row_select() {
  if (busy()) return show_busy_message();
  hide_popup();
  detail_list_.set_lines({});
  volume_job job = panel_.job();
  job.phase = 0;
  panel_.set_job(job);
  panel_.set_current_letter(L'\0');
  const int row = volume_list_.current_row();
  const wchar_t letter = row >= 1 ? volume_list_.current_letter() : L'\0';
  if (letter != L'\0') {
    show_volume(letter);
  } else {
    show_registry();
  }
}

void main_wnd::on_block_click(std::uint32_t block) {
  std::vector<map_block>& blocks = map_layout().blocks();
  if (block >= blocks.size()) return;
  // A volume's map has lists for its first 1000 cells only; the rest of the
  // rings are not the volume's.
  if (volume_view_ && block >= 1000) return;

  if (highlighted_block_ >= 0 && static_cast<std::size_t>(highlighted_block_) < blocks.size()) {
    blocks[static_cast<std::size_t>(highlighted_block_)].colour_code = highlighted_saved_code_;
    repaint_block(static_cast<std::uint32_t>(highlighted_block_));
  }
  highlighted_block_ = static_cast<int>(block);
  highlighted_saved_code_ = blocks[block].colour_code;
  blocks[block].colour_code = highlight_code_;
  repaint_block(block);

  detail_source source;
  source.block = static_cast<int>(block);
  source.saved_code = highlighted_saved_code_;
  if (volume_view_) {
    source.letter = volume_list_.current_letter();
    source.kind = source.letter != L'\0' ? detail_kind::volume_files : detail_kind::none;
  } else {
    source.kind = detail_kind::registry_issues;
  }
  std::vector<std::wstring> lines;
  collect_block_lines(source, binding_, lines);
  detail_list_.set_lines(std::move(lines), source);
}

void main_wnd::on_detail_select() {
  const std::optional<detail_line> line = detail_list_.selected_line();
  if (!line) return;
  std::vector<std::wstring> lines;
  if (!collect_item_lines(*line, binding_, lines)) return;
  popup_.set_lines(std::move(lines));
  const SIZE size = popup_.preferred_size();
  MoveWindow(popup_.handle(), popup_origin.x, popup_origin.y, size.cx, size.cy, TRUE);
  ShowWindow(popup_.handle(), SW_SHOW);
  InvalidateRect(popup_.handle(), nullptr, TRUE);
  UpdateWindow(popup_.handle());
}

// Only a defragmentation that ends normally arms the exit action; the
// options dialog can change an armed action or disarm it, never arm it.
void main_wnd::show_options() {
  if (busy()) return show_busy_message();
  const engine_entry_points& engine = binding_.entry_points();
  engine.options();
  const bool logout = engine.get_logout();
  const bool restart = engine.get_restart();
  exit_action = exit_action_after_options(exit_action, logout, restart);
}

void main_wnd::open_help() {
  if (busy()) return show_busy_message();
  const vemo::mapcfg* const settings = vemo::settings();
  if (settings == nullptr) return;
  vemo::current_address_opener().open(settings->folder() + L"\\" + help_file_name);
}

void main_wnd::show_about() {
  if (busy()) return show_busy_message();
  about_.run(this);
}

void main_wnd::hide_popup() {
  if (popup_.handle()) ShowWindow(popup_.handle(), SW_HIDE);
}

// The job machine ends the job before the window is destroyed; the close
// never waits here, since the job's last steps need this thread.
void main_wnd::on_close() {
  if (machine_.request_close()) destroy();
}

void main_wnd::on_destroy() {
  set_registry_progress_target(nullptr, 0);
  KillTimer(handle(), 1);
  biscuit_view::on_destroy();
  PostQuitMessage(0);
}

bool main_wnd::on_message(UINT message, WPARAM, LPARAM lparam) {
  if (message != registry_progress_message) return false;
  receive_registry_progress(
      lparam, [this](const regscan::scan_progress& record) { machine_.on_registry_progress(record); });
  return true;
}

void main_wnd::on_timer(UINT_PTR, LPARAM) { machine_.on_timer(); }

// Runs once, at the first layout that gets past the size checks.
void main_wnd::start_command_line_job() {
  if (command_line_done_) return;
  command_line_done_ = true;
  const std::wstring letters =
      command_line_job_letters(command_line_letters(), volume_list_.letters());
  if (letters.empty()) return;
  volume_job job;
  job.letters = letters;
  panel_.set_job(job);
  panel_.set_end_mode(0);
  machine_.begin_defrag_job();
}

}  // namespace tessarel
