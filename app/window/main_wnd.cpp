#include "window/main_wnd.h"

#include <string>

#include "map/block_palette.h"
#include "startup/program_texts.h"
#include "map/map_legend.h"
#include "regscan/issue_store.h"
#include "regscan/item_found.h"
#include "regscan/scan_hooks.h"
#include "job/registry_progress_relay.h"
#include "status/volume_info_panel.h"
#include "vemo/gdi_handles.h"
#include "vemo/program_instance.h"
#include "vemo/settings.h"
#include "window/about_links.h"
#include "window/main_wnd_layout.h"

namespace tessarel {
namespace {

// The program's icon resource.
constexpr int program_icon = 101;
// The about box's dialog items.
constexpr unsigned about_first_item = 0;
constexpr unsigned about_last_item = 1;

HICON program_icon_handle() {
  return LoadIconW(vemo::program_instance, MAKEINTRESOURCEW(program_icon));
}

std::unique_ptr<vemo::push_button> make_button(int which) {
  const int first = which * 4;
  return std::make_unique<vemo::push_button>(button_image_file(first), button_image_file(first + 1),
                                             button_image_file(first + 2),
                                             button_image_file(first + 3), 0, 0);
}

std::array<std::unique_ptr<vemo::push_button>, main_button_count> make_buttons() {
  std::array<std::unique_ptr<vemo::push_button>, main_button_count> buttons;
  for (int which = 0; which < main_button_count; ++which) buttons[which] = make_button(which);
  return buttons;
}

void move_child(const vemo::window& child, const RECT& rect) {
  MoveWindow(child.handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             TRUE);
}

SIZE first_image_size(const vemo::push_button& button) {
  const vemo::mem_bitmap* image = button.image(vemo::push_button::normal);
  return image ? SIZE{image->width(), image->height()} : SIZE{0, 0};
}

}  // namespace

// Every skin key is read before the engine is loaded: a missing key then
// costs no engine start-up and shut-down, which rewrites the engine's files.
main_wnd::main_wnd(const std::wstring& engine_folder)
    : biscuit_view(program_icon_handle()),
      buttons_(make_buttons()),
      logo_(skin_file("logo_img")),
      background_(skin_file("biscuit_view_background_img")),
      binding_(engine_folder,
               [this](wchar_t letter, int kind, int a, int b) {
                 machine_.on_engine_job_done(letter, kind, a, b);
               }),
      about_(about_first_item, about_last_item),
      machine_(*this, panel_) {
  highlight_code_ = static_cast<int>(block_palette_size()) - 1;
  init_about_links(about_);

  regscan::save_registry_report = binding_.entry_points().save_registry_report;
  regscan::progress_callback = &relay_registry_progress;
  regscan::reset_cell_states();
  regscan::reset_issue_groups();
  regscan::found_item_callback = &regscan::on_registry_item_found;
}

main_wnd::~main_wnd() {
  if (handle()) destroy();
  registry_workers_.wait_all();
  // The engine goes with the binding: the scanner must not call into it.
  regscan::save_registry_report = nullptr;
}

void main_wnd::on_create(HWND hwnd, CREATESTRUCTW*) {
  // The own handle is stored only once creation returns: lend it.
  vemo::hwnd_helper self(hwnd);
  set_registry_progress_target(hwnd, registry_progress_message);

  vemo::create_child_window(volume_list_, self, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
  move_child(volume_list_, volume_list_rect);
  volume_list_.fill();
  // While a job runs a row click is refused before it changes anything:
  // the job's end then shows the row that was current when it started.
  volume_list_.set_click_refusal([this] {
    if (!busy()) return false;
    show_busy_message();
    return true;
  });

  for (int which = button_analyze_start; which <= button_advanced; ++which) {
    vemo::push_button& button = *buttons_[which];
    vemo::create_child_window(button, self, WS_CHILD | WS_VISIBLE);
    // Start and stop buttons share a place; the advanced button sits below.
    const int row = which == button_advanced ? 2 : which / 2;
    const int top = button_top + row * (button_height + button_gap);
    MoveWindow(button.handle(), button_left, top, button_width, button_height, TRUE);
    button.update();
  }
  const SIZE minimize = first_image_size(*buttons_[button_minimize]);
  const SIZE close = first_image_size(*buttons_[button_close]);
  vemo::create_child_window(*buttons_[button_minimize], self, WS_CHILD | WS_VISIBLE);
  MoveWindow(buttons_[button_minimize]->handle(), caption_buttons_origin.x,
             caption_buttons_origin.y, minimize.cx, minimize.cy, TRUE);
  vemo::create_child_window(*buttons_[button_close], self, WS_CHILD | WS_VISIBLE);
  MoveWindow(buttons_[button_close]->handle(), caption_buttons_origin.x + minimize.cx,
             caption_buttons_origin.y, close.cx, close.cy, TRUE);
  for (int which = button_minimize; which <= button_close; ++which) buttons_[which]->update();
  ShowWindow(buttons_[button_analyze_stop]->handle(), SW_HIDE);
  ShowWindow(buttons_[button_defragment_stop]->handle(), SW_HIDE);

  vemo::create_child_window(detail_list_, self, WS_CHILD | WS_VISIBLE);
  SendMessageW(detail_list_.list().handle(), WM_SETFONT,
               reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);

  vemo::create_child_window(popup_, self, WS_CHILD);
  move_child(popup_, popup_create_rect);

  vemo::create_child_window(progress_, self, WS_CHILD);

  // The map starts on the first fixed drive (none on a machine without one).
  const wchar_t first = volume_list_.letters().empty() ? L'\0' : volume_list_.letters().front();
  panel_.set_current_letter(first);
  if (first != L'\0') {
    binding_.entry_points().set_current_volume(first);
    build_volume_lines(first);
  }
}

void main_wnd::on_size(WPARAM type, int width, int height) {
  move_child(detail_list_, detail_list_rect);
  client_width_ = width;
  client_height_ = height;
  if (type == SIZE_MINIMIZED || width < min_layout_width || height < min_layout_height) return;

  map_layout().layout(view_rect{double(map_left), double(map_top),
                                double(width - map_right_margin),
                                double(height - map_bottom_margin)},
                      width, height);
  MoveWindow(progress_.handle(), progress_origin.x, progress_origin.y, width - progress_origin.x,
             progress_height, TRUE);
  areas_ = main_hit_areas();

  refresh_map(true);
  build_volume_lines(panel_.current_letter());
  panel_.layout(width - map_right_margin, height);
  start_command_line_job();
}

// The logo fills the square inscribed in the map's inner circle.
RECT main_wnd::logo_rect() const {
  const view_rect& map = map_layout().rect();
  const double centre_x = (map.left + map.right) / 2;
  const double centre_y = (map.top + map.bottom) / 2;
  const double half = map_layout().inner_radius() * 2 / 1.414 * 0.5;
  return {static_cast<LONG>(centre_x - half), static_cast<LONG>(centre_y - half),
          static_cast<LONG>(centre_x + half), static_cast<LONG>(centre_y + half)};
}

void main_wnd::on_paint(HDC dc, PAINTSTRUCT&) {
  background_.draw(dc, RECT{0, 0, client_width_, client_height_});
  logo_.draw(dc, logo_rect());
  copy_surface(dc);
  // A repaint of the status strip, every tick, skips the legend above it.
  const int legend_bottom = client_height_ - legend_bottom_offset;
  const RECT legend_area{legend_left,
                         legend_bottom - legend_row_height * static_cast<int>(block_palette_size()),
                         client_width_, legend_bottom};
  if (RectVisible(dc, &legend_area)) draw_legend(dc, POINT{legend_left, legend_bottom});
  if (volume_view_) {
    program_volume_info().paint(dc);
  } else {
    draw_issue_count(dc);
  }
  panel_.paint(dc);
}

void main_wnd::draw_issue_count(HDC dc) {
  const vemo::saved_dc_state saved(dc);
  SelectObject(dc, font_.font());
  const std::wstring text = std::to_wstring(regscan::registry_store().open_problem_count.load()) +
                            L" " + errors_found_suffix;
  SetTextAlign(dc, TA_RIGHT);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, issue_count_origin.x, issue_count_origin.y, text.c_str(),
           static_cast<int>(text.size()));
  SetTextColor(dc, RGB(0, 0, 0));
}

void main_wnd::build_volume_lines(wchar_t letter) {
  if (letter == L'\0') return;
  build_volume_info_lines(volume_lines_origin, program_volume_info(), letter, binding_);
}

}  // namespace tessarel
