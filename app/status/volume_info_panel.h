#pragma once
// The block of volume facts drawn at the upper left of the map while it
// shows a volume.
//
// Threads: the lines are rebuilt on the user interface thread, and also on a
// job thread or the registry worker when the end of a phase shows a volume;
// they are replaced whole under the panel's lock and painted from a copy.
// Painting is for the user interface thread only.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace tessarel {

class engine_binding;

class volume_info_panel {
 public:
  // No lines; the stock DEFAULT_GUI_FONT (not owned) and its line height on
  // the display (0 when the display cannot be measured).
  volume_info_panel();
  volume_info_panel(const volume_info_panel&) = delete;
  volume_info_panel& operator=(const volume_info_panel&) = delete;

  // Any thread: replaces the lines and their top-left corner at once.
  void set_lines(POINT origin, std::vector<std::wstring> lines);
  std::vector<std::wstring> lines() const;
  POINT origin() const;

  HFONT font() const { return font_; }
  int line_height() const { return line_height_; }

  // User interface thread: each line left-aligned in black, one line height
  // below the previous, from the origin. The device context's alignment,
  // colour, background mode and font are as they were afterwards.
  void paint(HDC dc) const;

 private:
  mutable std::mutex lock_;
  // Guarded by lock_.
  std::vector<std::wstring> lines_;
  POINT origin_{};

  HFONT font_;
  int line_height_ = 0;
};

// The program's one panel, built before the entry point runs.
volume_info_panel& program_volume_info();

// Asks the engine for the facts of letter's volume (its low byte) and makes
// them the panel's lines at position; a volume without a map gives the one
// failure line. Any thread the engine's volume export may be called on.
void build_volume_info_lines(POINT position, volume_info_panel& panel, wchar_t letter,
                             const engine_binding& binding);

}  // namespace tessarel
