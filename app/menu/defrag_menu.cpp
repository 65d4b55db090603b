#include "menu/defrag_menu.h"

namespace tessarel {
namespace {

enum : size_t { close_button = 0, plain_button = 1, optimized_button = 2 };

}  // namespace

defrag_menu_t::defrag_menu_t(unsigned first, unsigned last) : image_dlg(first, last) {}

defrag_menu_t::~defrag_menu_t() = default;

INT_PTR defrag_menu_t::on_command(int, int id, HWND control) {
  // A key's command comes without a child's handle (no child has the window
  // id of a key's command): Esc closes the menu as its close button does,
  // Enter and the others start nothing.
  if (!control) {
    if (id != IDCANCEL) return 0;
    on_close();
    return 1;
  }
  size_t button = 0;
  while (button <= optimized_button &&
         (button >= children().size() || children()[button]->handle() != control))
    ++button;
  if (button > optimized_button) return 0;

  if (button != close_button) {
    const int command = button == plain_button ? defrag_plain_command : defrag_optimized_command;
    // Synchronous: the owner starts the job while the menu is still open.
    if (vemo::window* owner = vemo::find_window(GetParent(handle())))
      SendMessageW(owner->handle(), WM_COMMAND, MAKEWPARAM(0, command), 0);
  }
  on_close();
  return 1;
}

}  // namespace tessarel
