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

// The item a child window takes its rectangle from; null when the index lies
// outside the list or the item there is not a window item (an unknown keyword
// in the settings shifts every later index).
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
  for (size_t i = first; i <= last && i < dialog_items.size(); ++i) {
    image_dlg_item_base* item = dialog_items[i].get();
    if (auto* button_item = dynamic_cast<push_button_wib*>(item)) {
      const int id = static_cast<int>(children_.size());
      auto button = std::make_unique<push_button>(
          button_item->image_files[0], button_item->image_files[1], button_item->image_files[2],
          button_item->image_files[3], id, 0);
      const mem_bitmap* face = button->image(push_button::normal);
      button_item->right = button_item->left + (face ? face->width() : 0);
      button_item->bottom = button_item->top + (face ? face->height() : 0);
      children_.push_back(std::move(button));
    } else if (dynamic_cast<edit_wib*>(item)) {
      children_.push_back(std::make_unique<edit>());
    } else if (auto* shape = dynamic_cast<shape_ib*>(item)) {
      background_.load(shape->bitmap_file);
      corner_width_ = shape->corner_width;
      corner_height_ = shape->corner_height;
    }
  }
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
  for (size_t k = 0; k < children_.size(); ++k) {
    const window_ib* place = window_item(size_t{first_} + 1 + k);
    if (!place) continue;
    window& child = *children_[k];
    if (!create_child_window(child, *this, WS_CHILD | WS_VISIBLE)) continue;
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

INT_PTR image_dlg::on_mouse_move(WPARAM, WORD x, WORD y) {
  SetCursor(LoadCursorW(nullptr, link_at(x, y) ? IDC_HAND : IDC_ARROW));
  if (drag_.follow(handle())) update();
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
