#pragma once

#include <windows.h>

#include "vemo/image_dlg.h"

namespace tessarel {

// The dialog items of the menu: its background, then the close, plain and
// optimised buttons.
inline constexpr unsigned defrag_menu_first_item = 19;
inline constexpr unsigned defrag_menu_last_item = 22;

// What the menu sends its owner: WM_COMMAND with MAKEWPARAM(0, command), 0.
inline constexpr int defrag_plain_command = 10001;
inline constexpr int defrag_optimized_command = 10002;

// The skinned menu that asks which defragmentation to run. Its first three
// children are the close, plain and optimised buttons: the second and third
// send their command to the owner (when it is a toolkit window) and wait
// until it is handled, then every one of them ends the menu. A range with
// fewer than three children leaves the missing buttons out. Built for each
// use and run with the main window as owner. User interface thread only.
class defrag_menu_t : public vemo::image_dlg {
 public:
  explicit defrag_menu_t(unsigned first = defrag_menu_first_item,
                         unsigned last = defrag_menu_last_item);
  ~defrag_menu_t() override;

  // Tells the buttons apart by the child's handle alone (the optimised
  // button notifies with id 2, the id of IDCANCEL); any other sender is left
  // unhandled (0). Without a handle: IDCANCEL (Esc) closes the menu, every
  // other id is left unhandled.
  INT_PTR on_command(int code, int id, HWND control) override;
};

}  // namespace tessarel
