#pragma once
// The status area at the lower right of the main window: the program's copy
// of the engine's status, the job record and the main window's busy state,
// and the three lines that show what the engine or the registry scanner does.
//
// Threads: the job threads and the registry worker read and write the job
// fields and hand over texts while the user interface thread polls and
// paints. Every such value is kept under the panel's own lock and copied in
// and out whole; nothing is drawn from a value another thread may be
// rewriting, and the lock is never held across a window call. Layout and
// painting are for the user interface thread only.

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "dravik/working_status.h"
#include "job/volume_job.h"
#include "status/status_layout.h"
#include "status/status_lines.h"
#include "vemo/gdi_handles.h"
#include "vemo/gui_font.h"

namespace tessarel {

// Progress numbers of the last status, for the progress bar.
struct status_progress {
  uint64_t total_units = 0;
  uint64_t done_units = 0;
};

class status_panel {
 public:
  // Everything zero or empty; the update region empty. User interface thread.
  status_panel();
  status_panel(const status_panel&) = delete;
  status_panel& operator=(const status_panel&) = delete;

  // --- User interface thread ---

  // Copies a status record of the engine (which stays the engine's): state,
  // letter, progress and move numbers, and the item name (read up to its NUL
  // or the end of its field). The letter becomes current_letter; states 1 to
  // 3 become the activity. Null changes nothing.
  void set_status(const WorkingStatus* status);

  // x: client width - 10, y: client height. Places the lines and rebuilds
  // the update region (same handle, new area).
  void layout(int x, int y);

  // Draws the lines the job's phase and the engine state call for, with the
  // panel's font, right-aligned, transparent, in the device context's text
  // colour. The device context's alignment, background mode and font are as
  // they were afterwards.
  void paint(HDC dc);
  void draw_activity_line(HDC dc, const status_snapshot& status) const;
  // An idle move line takes the next number of the program's move counter.
  void draw_move_line(HDC dc, const status_snapshot& status);
  void draw_item_line(HDC dc, const status_snapshot& status) const;

  // Union of the three line strips; empty until the first layout. Owned by
  // the panel and valid while it lives; any thread may pass it to
  // InvalidateRgn.
  HRGN update_region() const { return update_region_.get(); }
  // Whether the lines may differ from what they said when this was last
  // asked, which it records: a timer tick that changes nothing repaints
  // nothing. Always true while the move line shows, as its idle counter
  // moves with every drawing.
  bool take_change();
  const status_layout& line_layout() const { return layout_; }
  const vemo::gui_font& font() const { return font_; }

  // --- Any thread ---

  // A consistent copy of what the lines are drawn from.
  status_snapshot snapshot() const;
  status_progress progress() const;

  // The engine state copy; end_job sets it back to 0.
  int32_t engine_state() const;
  void set_engine_state(int32_t state);
  // 0 idle, 1 analysing, 2 defragmenting, 3 optimising.
  int32_t activity() const;
  void set_activity(int32_t activity);
  // The letter of the last status or of the volume shown; 0 none.
  wchar_t current_letter() const;
  void set_current_letter(wchar_t letter);
  // 0 normal, 1 stop requested, 2 re-analysis after a defragmentation.
  int32_t end_mode() const;
  void set_end_mode(int32_t mode);
  volume_job job() const;
  void set_job(const volume_job& job);
  // The item line's text: the entry the engine examines, or a registry key
  // handed over by the scanner's worker.
  std::wstring item_text() const;
  void set_item_text(std::wstring text);

 private:
  mutable std::mutex lock_;
  // Guarded by lock_.
  int32_t state_ = 0;
  char volume_ = 0;
  status_progress progress_;
  uint64_t move_from_ = 0;
  uint64_t move_to_ = 0;
  wchar_t current_letter_ = 0;
  int32_t activity_ = 0;
  volume_job job_;
  int32_t end_mode_ = 0;
  std::wstring item_text_;

  // User interface thread only.
  std::optional<status_snapshot> last_change_;
  status_layout layout_;
  vemo::gdi_object<HRGN> update_region_;
  vemo::gui_font font_;
};

// The number the next idle move line shows: 1000 at start, one more after
// each idle move line drawn, never reset. User interface thread.
uint32_t idle_move_number();

}  // namespace tessarel
