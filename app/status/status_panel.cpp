#include "status/status_panel.h"

#include <utility>

#include "status/ansi_field_text.h"
#include "vemo/gdi_handles.h"

namespace tessarel {
namespace {

// Program-wide: every panel and every repaint counts on from where the
// last idle move line stopped. Only the user interface thread paints.
uint32_t idle_move_counter = 1000;

void draw_right_aligned(HDC dc, POINT pos, const std::wstring& text) {
  TextOutW(dc, pos.x, pos.y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

uint32_t idle_move_number() { return idle_move_counter; }

status_panel::status_panel() : update_region_(CreateRectRgn(0, 0, 0, 0)) {}

void status_panel::set_status(const WorkingStatus* status) {
  if (!status) return;
  // Converted before the lock is taken; the engine's record is read once.
  std::wstring item = ansi_field_text(status->itemName);
  const std::lock_guard<std::mutex> guard(lock_);
  state_ = status->state;
  volume_ = status->volume;
  progress_ = {status->totalUnits, status->doneUnits};
  move_from_ = status->moveFrom;
  move_to_ = status->moveTo;
  item_text_ = std::move(item);
  // Sign-extended, as a letter byte from the ANSI code page widens.
  current_letter_ = static_cast<wchar_t>(static_cast<int16_t>(static_cast<signed char>(volume_)));
  if (state_ >= 1 && state_ <= 3) activity_ = state_;
}

void status_panel::layout(int x, int y) {
  layout_ = lay_out_status(x, y, font_.metrics().tmHeight);
  vemo::gdi_object<HRGN> area(CreateRectRgnIndirect(&layout_.item_strip));
  const vemo::gdi_object<HRGN> move(CreateRectRgnIndirect(&layout_.move_strip));
  const vemo::gdi_object<HRGN> activity(CreateRectRgnIndirect(&layout_.activity_strip));
  if (!area || !move || !activity || !update_region_) return;
  CombineRgn(area.get(), area.get(), move.get(), RGN_OR);
  CombineRgn(area.get(), area.get(), activity.get(), RGN_OR);
  // The handle stays the same: another thread may be invalidating with it.
  CombineRgn(update_region_.get(), area.get(), nullptr, RGN_COPY);
}

void status_panel::paint(HDC dc) {
  const status_snapshot status = snapshot();
  const status_line_set lines = lines_to_draw(status);
  if (!lines.activity && !lines.move && !lines.item) return;
  const vemo::saved_dc_state saved(dc);
  SelectObject(dc, font_.font());
  SetTextAlign(dc, TA_RIGHT | TA_TOP);
  SetBkMode(dc, TRANSPARENT);
  if (lines.activity) draw_activity_line(dc, status);
  if (lines.move) draw_move_line(dc, status);
  if (lines.item) draw_item_line(dc, status);
}

bool status_panel::take_change() {
  status_snapshot status = snapshot();
  if (lines_to_draw(status).move) {
    last_change_.reset();
    return true;
  }
  if (last_change_ && *last_change_ == status) return false;
  last_change_ = std::move(status);
  return true;
}

void status_panel::draw_activity_line(HDC dc, const status_snapshot& status) const {
  draw_right_aligned(dc, layout_.activity_pos, activity_line_text(status));
}

void status_panel::draw_move_line(HDC dc, const status_snapshot& status) {
  draw_right_aligned(dc, layout_.move_pos,
                     move_line_text(status.move_from, status.move_to, idle_move_counter));
}

void status_panel::draw_item_line(HDC dc, const status_snapshot& status) const {
  draw_right_aligned(dc, layout_.item_pos, status.item_text);
}

status_snapshot status_panel::snapshot() const {
  const std::lock_guard<std::mutex> guard(lock_);
  status_snapshot s;
  s.phase = job_.phase;
  s.state = state_;
  s.activity = activity_;
  s.volume = volume_;
  s.move_from = move_from_;
  s.move_to = move_to_;
  s.item_text = item_text_;
  return s;
}

status_progress status_panel::progress() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return progress_;
}

int32_t status_panel::engine_state() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return state_;
}

void status_panel::set_engine_state(int32_t state) {
  const std::lock_guard<std::mutex> guard(lock_);
  state_ = state;
}

int32_t status_panel::activity() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return activity_;
}

void status_panel::set_activity(int32_t activity) {
  const std::lock_guard<std::mutex> guard(lock_);
  activity_ = activity;
}

wchar_t status_panel::current_letter() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return current_letter_;
}

void status_panel::set_current_letter(wchar_t letter) {
  const std::lock_guard<std::mutex> guard(lock_);
  current_letter_ = letter;
}

int32_t status_panel::end_mode() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return end_mode_;
}

void status_panel::set_end_mode(int32_t mode) {
  const std::lock_guard<std::mutex> guard(lock_);
  end_mode_ = mode;
}

volume_job status_panel::job() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return job_;
}

void status_panel::set_job(const volume_job& job) {
  const std::lock_guard<std::mutex> guard(lock_);
  job_ = job;
}

std::wstring status_panel::item_text() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return item_text_;
}

void status_panel::set_item_text(std::wstring text) {
  const std::lock_guard<std::mutex> guard(lock_);
  item_text_ = std::move(text);
}

}  // namespace tessarel
