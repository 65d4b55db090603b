#pragma once
// Skinned modal dialogs: a dialog without caption whose look is a range of
// dialog_items (vemo/dialog_items.h). The range's first item gives the
// background bitmap and the rounded corners, each later window item one child
// (a push_button or an edit) and its rectangle. The dialog is centred on the
// screen at its background's size, dragged with the left mouse button, and
// may show two clickable text links. User interface thread only.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "vemo/dialog.h"
#include "vemo/mem_bitmap.h"
#include "vemo/window_drag.h"

namespace vemo {

// The program's template of every skinned dialog: an empty popup without
// caption, resized when the dialog initialises.
constexpr int image_dlg_template = 102;

// The window id of a skinned dialog's first child; the others follow in
// creation order. Above every command id the system sends a dialog for a
// key (IDOK, IDCANCEL, and IDABORT to IDCONTINUE), so a key's command never
// carries a child's handle.
constexpr int image_dlg_first_child_id = 100;

// The address the home link opens: the program's home page, stored by the
// program at start-up; empty until then.
const std::wstring& home_page_address();
void set_home_page_address(std::wstring address);

struct text_link {
  std::wstring url;
  // Where the text is drawn and what a click hits; empty while not set.
  RECT rect{0, 0, 0, 0};
  std::wstring text;
};

class image_dlg : public modal_dlg {
 public:
  // Builds the child widgets (no windows yet) and loads the background from
  // the items first to last, both inclusive. Indexes past the end of
  // dialog_items are left out. Button items get their right and bottom from
  // the size of their image 0 (none: right = left, bottom = top). The
  // buttons notify with the ids 0, 1, 2, ... in item order (edit boxes do
  // not count); edit boxes notify with their window id.
  image_dlg(unsigned first, unsigned last);
  // Deletes the child widgets too.
  ~image_dlg() override;

  // Link 1: the home page address, text and top-left corner (client
  // coordinates); the rectangle is the text's extent in the dialog font.
  void set_home_link(const std::wstring& text, POINT position);
  // Link 2: any address the shell opens (a mailto: link, say).
  void set_link(const std::wstring& url, const std::wstring& text, POINT position);

  // Creates each child's window with its window id at the rectangle of the
  // item it was built from, sets the rounded region and centres the dialog
  // on the screen at its background's size; without a background, at the
  // template's size.
  INT_PTR on_init_dialog(HWND hwnd, WPARAM wparam, LPARAM lparam) override;
  // The link texts.
  INT_PTR on_paint(HDC dc, PAINTSTRUCT& paint) override;
  // The background bitmap.
  INT_PTR on_erase_bkgnd(HDC dc) override;
  // Deletes the child widgets, then ends the dialog; 1.
  INT_PTR close_all() override;
  // A click on a link opens its address; anywhere else starts a drag.
  INT_PTR on_lbutton_down(WPARAM keys, WORD x, WORD y) override;
  INT_PTR on_lbutton_up(WPARAM keys, WORD x, WORD y) override;
  INT_PTR on_mouse_move(WPARAM keys, WORD x, WORD y) override;
  INT_PTR on_mouse_leave() override;

  // The child widgets in creation order; derived dialogs tell them apart by
  // position. Each keeps its object between runs; its window exists while
  // the dialog runs.
  const std::vector<std::unique_ptr<window>>& children() const { return children_; }
  const mem_bitmap& background() const { return background_; }
  int corner_width() const { return corner_width_; }
  int corner_height() const { return corner_height_; }
  const text_link& home_link() const { return links_[0]; }
  const text_link& other_link() const { return links_[1]; }
  bool dragging() const { return drag_.dragging(); }

 private:
  void set_link_at(text_link& link, std::wstring url, const std::wstring& text, POINT position);
  const text_link* link_at(int x, int y) const;

  void add_child(std::unique_ptr<window> child, size_t item);

  std::vector<std::unique_ptr<window>> children_;
  // Per child: the index of its item in dialog_items.
  std::vector<size_t> child_items_;
  unsigned first_, last_;
  mem_bitmap background_;
  int corner_width_ = 0, corner_height_ = 0;
  text_link links_[2];
  HFONT font_;
  window_drag drag_;
};

}  // namespace vemo
