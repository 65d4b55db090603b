#include "vemo/image_dlg.h"

#include <utility>

#include "vemo/address_opener.h"
#include "vemo/control.h"
#include "vemo/dialog_items.h"
#include "vemo/gdi_handles.h"
#include "vemo/push_button.h"

namespace vemo {
namespace {

std::wstring& stored_home_page_address() {
  static std::wstring address;
  return address;
}

// The window item at index; null when the list no longer holds one there
// (the items were read again since the dialog was built).
const window_ib* window_item(size_t index) {
  if (index >= dialog_items.size()) return nullptr;
  return dynamic_cast<const window_ib*>(dialog_items[index].get());
}

}  // namespace

const std::wstring& home_page_address() { return stored_home_page_address(); }

void set_home_page_address(std::wstring address) {
  stored_home_page_address() = std::move(address);
}

image_dlg::image_dlg(unsigned first, unsigned last)
    : modal_dlg(image_dlg_template),
      first_(first),
      last_(last),
      font_(static_cast<HFONT>(GetStockObject(OEM_FIXED_FONT))) {
  int buttons = 0;
  for (size_t i = first; i <= last && i < dialog_items.size(); ++i) {
    image_dlg_item_base* item = dialog_items[i].get();
    if (auto* button_item = dynamic_cast<push_button_wib*>(item)) {
      // The button's notification id: its position among the buttons.
      auto button = std::make_unique<push_button>(
          button_item->image_files[0], button_item->image_files[1], button_item->image_files[2],
          button_item->image_files[3], buttons++, 0);
      const mem_bitmap* face = button->image(push_button::normal);
      button_item->right = button_item->left + (face ? face->width() : 0);
      button_item->bottom = button_item->top + (face ? face->height() : 0);
      add_child(std::move(button), i);
    } else if (dynamic_cast<edit_wib*>(item)) {
      add_child(std::make_unique<edit>(), i);
    } else if (auto* shape = dynamic_cast<shape_ib*>(item)) {
      background_.load(shape->bitmap_file);
      corner_width_ = shape->corner_width;
      corner_height_ = shape->corner_height;
    }
  }
}

void image_dlg::add_child(std::unique_ptr<window> child, size_t item) {
  children_.push_back(std::move(child));
  child_items_.push_back(item);
}

// The menu is built for every use: its widgets (and their bitmaps) go with it.
image_dlg::~image_dlg() { children_.clear(); }

void image_dlg::set_home_link(const std::wstring& text, POINT position) {
  set_link_at(links_[0], home_page_address(), text, position);
}

void image_dlg::set_link(const std::wstring& url, const std::wstring& text, POINT position) {
  set_link_at(links_[1], url, text, position);
}

void image_dlg::set_link_at(text_link& link, std::wstring url, const std::wstring& text,
                            POINT position) {
  link.url = std::move(url);
  link.text = text;
  SIZE extent{0, 0};
  const created_dc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (display) {
    const selected_object font(display.get(), font_);
    if (!GetTextExtentPoint32W(display.get(), text.c_str(), static_cast<int>(text.size()),
                               &extent))
      extent = SIZE{0, 0};
  }
  link.rect = RECT{position.x, position.y, position.x + extent.cx, position.y + extent.cy};
}

const text_link* image_dlg::link_at(int x, int y) const {
  for (const text_link& link : links_)
    if (PtInRect(&link.rect, POINT{x, y})) return &link;
  return nullptr;
}

INT_PTR image_dlg::on_init_dialog(HWND hwnd, WPARAM, LPARAM) {
  // Each child stands at the item it was built from: a range with an item
  // that makes no child (a second shape) shifts no later child.
  for (size_t k = 0; k < children_.size(); ++k) {
    const window_ib* place = window_item(child_items_[k]);
    if (!place) continue;
    window& child = *children_[k];
    // The window id, not the id a button notifies with: the dialog loop
    // sends the command ids of keys (IDOK for Enter, IDCANCEL for Esc) with
    // the handle of the child that has that window id.
    const auto id =
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(image_dlg_first_child_id + k));
    if (!child.create(std::wstring(), WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this, id))
      continue;
    MoveWindow(child.handle(), place->left, place->top, place->right - place->left,
               place->bottom - place->top, TRUE);
    child.update();
  }

  // A background that did not load keeps the template's size: a dialog of
  // 0 x 0 would be modal and invisible, and its owner would look hung.
  int width = background_.width(), height = background_.height();
  if (!background_.loaded()) {
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    width = placed.right - placed.left;
    height = placed.bottom - placed.top;
  } else if (corner_width_ != 0 && corner_height_ != 0) {
    // Once set, the region belongs to the window.
    if (HRGN region = CreateRoundRectRgn(0, 0, width, height, corner_width_, corner_height_)) {
      if (!SetWindowRgn(hwnd, region, TRUE)) DeleteObject(region);
    }
  }
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(hwnd, x, y, width, height, TRUE);
  return 1;
}

INT_PTR image_dlg::on_erase_bkgnd(HDC dc) {
  if (background_.loaded())
    BitBlt(dc, 0, 0, background_.width(), background_.height(), background_.dc(), 0, 0,
           SRCCOPY);
  return 1;
}

INT_PTR image_dlg::on_paint(HDC dc, PAINTSTRUCT&) {
  const selected_object font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  for (const text_link& link : links_)
    TextOutW(dc, link.rect.left, link.rect.top, link.text.c_str(),
             static_cast<int>(link.text.size()));
  return 1;
}

INT_PTR image_dlg::close_all() {
  children_.clear();
  child_items_.clear();
  end();
  return 1;
}

INT_PTR image_dlg::on_lbutton_down(WPARAM, WORD x, WORD y) {
  if (const text_link* link = link_at(x, y)) {
    if (!link->url.empty()) current_address_opener().open(link->url);
    return 1;
  }
  drag_.start(handle());
  return 1;
}

INT_PTR image_dlg::on_mouse_move(WPARAM keys, WORD x, WORD y) {
  SetCursor(LoadCursorW(nullptr, link_at(x, y) ? IDC_HAND : IDC_ARROW));
  if (drag_.follow(handle(), keys)) update();
  return 1;
}

INT_PTR image_dlg::on_lbutton_up(WPARAM, WORD, WORD) {
  drag_.stop();
  return 1;
}

INT_PTR image_dlg::on_mouse_leave() {
  drag_.stop();
  return 1;
}

}  // namespace vemo
