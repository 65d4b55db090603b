#pragma once
// Which of the status area's three lines are shown and what they say, worked
// out from plain values so that no window is needed to check them.

#include <cstdint>
#include <string>

namespace tessarel {

// One consistent copy of everything the status lines are drawn from.
struct status_snapshot {
  int32_t phase = 0;     // job phase: 1 registry, 2 volumes, other values none
  int32_t state = 0;     // engine state: 1 analysing, 2 defragmenting, 3 optimising
  int32_t activity = 0;  // the main window's busy state
  char volume = 0;       // the letter the engine is on (ANSI)
  uint64_t move_from = 0;
  uint64_t move_to = 0;
  std::wstring item_text;

  bool operator==(const status_snapshot& other) const {
    return phase == other.phase && state == other.state && activity == other.activity &&
           volume == other.volume && move_from == other.move_from && move_to == other.move_to &&
           item_text == other.item_text;
  }
  bool operator!=(const status_snapshot& other) const { return !(*this == other); }
};

struct status_line_set {
  bool activity = false;
  bool move = false;
  bool item = false;

  bool operator==(const status_line_set& other) const {
    return activity == other.activity && move == other.move && item == other.item;
  }
};

// Registry phase: activity and item line while scanning or cleaning. Volume
// phase: activity and item line while analysing, all three while
// defragmenting or optimising. Nothing otherwise.
status_line_set lines_to_draw(const status_snapshot& status);

// "正在分析卷 C" and the like in the volume phase, the registry texts in the
// registry phase; L"" where no activity line is drawn.
std::wstring activity_line_text(const status_snapshot& status);

// "移动 <from> 到 <to>" while a move is in progress (either number not 0);
// otherwise "检查中 <idle_counter>", after which idle_counter grows by 1.
std::wstring move_line_text(uint64_t move_from, uint64_t move_to, uint32_t& idle_counter);

}  // namespace tessarel
