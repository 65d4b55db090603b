#pragma once
// The program's one top-level window: the skinned 804 x 632 map view with
// the volume check list, the detail list and its popup, seven push buttons
// and a progress bar. It owns the engine binding, the job state (status
// panel and job machine) and the registry workers, routes the user's
// commands into the job machine, refuses them while a job runs, and is the
// machine's host.
//
// Thread: the user interface thread alone, for everything. Job threads post
// their ends to it through the engine binding, registry workers send their
// records to it; neither touches a window.

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "details/block_detail_list.h"
#include "details/block_item_wnd.h"
#include "engine/engine_binding.h"
#include "job/job_host.h"
#include "job/job_machine.h"
#include "map/biscuit_view.h"
#include "status/status_panel.h"
#include "vemo/about_dlg.h"
#include "vemo/control.h"
#include "vemo/gui_font.h"
#include "vemo/push_button.h"
#include "volumes/disk_drive_list.h"
#include "window/button_image_file.h"
#include "window/hit_areas.h"
#include "window/registry_workers.h"
#include "window/skin_image.h"

namespace tessarel {

// The message that carries a registry worker's progress record to the main
// window (lparam: const regscan::scan_progress*, valid during the message).
inline constexpr UINT registry_progress_message = WM_APP + 26;

class main_wnd : public biscuit_view, private job_host {
 public:
  // Reads the skin (buttons, logo, background) from the process's settings,
  // which must be open, with GDI+ running and the block palette built; then
  // loads the engine from engine_folder (the program folder in production),
  // which runs its start-up here; wires the registry scanner's hooks to this
  // window and the engine. Throws vemo::cfg_error for a missing settings
  // key (before the engine is loaded) and engine_binding_error for a missing
  // engine or entry point. No window exists yet: create it with
  // window::create_top_level.
  explicit main_wnd(const std::wstring& engine_folder);
  // Destroys a window still attached, waits (dispatching messages) for the
  // registry workers and the job threads, unhooks the scanner from the
  // engine, then unloads the engine.
  ~main_wnd() override;

  // --- What tests and the entry point look at ---
  bool busy() const { return machine_.busy(); }
  bool volume_view() const { return volume_view_; }
  int highlighted_block() const { return highlighted_block_; }
  const hit_areas& areas() const { return areas_; }
  status_panel& panel() { return panel_; }
  disk_drive_list& volume_list() { return volume_list_; }
  block_detail_list& detail_list() { return detail_list_; }
  block_item_wnd& block_popup() { return popup_; }
  vemo::push_button& button(main_button which) { return *buttons_[which]; }
  vemo::progress_bar& progress() { return progress_; }
  engine_binding& binding() { return binding_; }
  const skin_image& logo() const { return logo_; }
  const skin_image& background() const { return background_; }

 protected:
  // Override these.
  void on_create(HWND hwnd, CREATESTRUCTW* create) override;
  void on_size(WPARAM type, int width, int height) override;
  void on_paint(HDC dc, PAINTSTRUCT& paint) override;
  void on_close() override;
  void on_destroy() override;
  bool on_command(int code, int id, HWND control) override;
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void on_lbutton_down(WPARAM keys, WORD x, WORD y) override;
  void on_rbutton_down(WPARAM keys, WORD x, WORD y) override;
  void on_mouse_move(WPARAM keys, WORD x, WORD y) override;
  void on_timer(UINT_PTR id, LPARAM lparam) override;

 private:
  // --- Commands (main_wnd_commands.cpp) ---
  bool on_button(HWND control);
  bool on_list_notify(HWND control);
  void show_busy_message();
  void start_defrag();
  void on_row_select();
  void on_block_click(std::uint32_t block);
  void on_detail_select();
  void show_options();
  void open_help();
  void show_about();
  void hide_popup();
  void start_command_line_job();
  void draw_issue_count(HDC dc);

  // --- The job machine's host (main_wnd_host.cpp) ---
  void show_volume(wchar_t letter) override;
  void show_registry() override;
  void refresh_map(bool set_current) override;
  void update_buttons() override;
  void repaint_status() override;
  void destroy_window() override;
  job_selection selection() override;
  wchar_t current_row_letter() override;
  void set_timer() override;
  void kill_timer() override;
  void show_progress(bool shown) override;
  void set_progress_range(int maximum) override;
  void set_progress_step(int step) override;
  void set_progress_position(int position) override;
  void step_progress() override;
  int message_box(const wchar_t* text, UINT flags) override;
  bool start_registry_worker(registry_run run) override;
  bool start_engine_job(engine_run run, const std::wstring& letters, int serial) override;
  bool completion_lost(int serial) override;
  bool working_status(WorkingStatus& status) override;
  bool get_logout() override;
  bool get_restart() override;
  void working_stop() override;
  void stop_registry(registry_run run) override;
  void show_report(int report_set) override;

  void forget_highlight();
  // Empties the detail list and hides the popup.
  void clear_details();
  void build_volume_lines(wchar_t letter);
  RECT logo_rect() const;

  // Members are destroyed bottom up: the job state first, then the
  // registry workers (waited for), the engine (unloaded), the images, the
  // progress bar, the buttons from close back, the popup and the lists.
  disk_drive_list volume_list_;
  block_detail_list detail_list_;
  block_item_wnd popup_;
  std::array<std::unique_ptr<vemo::push_button>, main_button_count> buttons_;
  vemo::progress_bar progress_;
  skin_image logo_;
  skin_image background_;
  engine_binding binding_;
  registry_workers registry_workers_;
  vemo::gui_font font_;
  vemo::about_dlg about_;
  status_panel panel_;
  job_machine machine_;

  int client_width_ = 0;
  int client_height_ = 0;
  int highlighted_block_ = -1;
  int highlighted_saved_code_ = -1;
  int highlight_code_ = 0;
  hit_areas areas_{};
  bool volume_view_ = true;
  bool command_line_done_ = false;
};

}  // namespace tessarel
