#include "advanced/sel_volume_list.h"

#include "resources/schedule_dialog_ids.h"

#include <windowsx.h>

namespace dravik {

namespace {

constexpr UINT unchecked_state = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT checked_state = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

MyCheckBox::~MyCheckBox() { list = nullptr; }

LRESULT MyCheckBox::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return on_button_down(message, wparam, lparam);
    case WM_LBUTTONDBLCLK:
      // A double click would press the box a second time without a release
      // of its own; it is ignored, so the box and the items stay in step.
      return 0;
    default:
      return CButton::WindowProc(message, wparam, lparam);
  }
}

// The items change on the press; the box's own mark changes on the release,
// as an automatic check box's does.
LRESULT MyCheckBox::on_button_down(UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = Default(message, wparam, lparam);
  if (list) list->toggle_all();
  return result;
}

bool SelVolumeList::add_select_all_box() {
  const HWND header = GetHeaderCtrl();
  if (!header) return false;
  RECT item{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  box_rect = item;
  box_rect.left += 4;
  box_rect.top += 1;
  box_rect.bottom -= 1;
  box_rect.right = box_rect.left + 15;

  auto box = std::make_unique<MyCheckBox>();
  if (!box->Create("", WS_CHILD | WS_VISIBLE | BS_FLAT | BS_AUTOCHECKBOX, box_rect, header,
                   IDC_SCHEDULE_SELECT_ALL))
    return false;
  box->list = this;
  select_all_box = std::move(box);
  return true;
}

void SelVolumeList::toggle_all() {
  const bool was_set = select_all;
  select_all = !select_all;
  bulk_update = true;
  const int count = GetItemCount();
  for (int item = 0; item < count; ++item) SetCheck(item, was_set ? FALSE : TRUE);
  checked_count = was_set ? 0 : count;
  bulk_update = false;
}

LRESULT SelVolumeList::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDBLCLK) return on_double_click(message, wparam, lparam);
  return CListCtrl::WindowProc(message, wparam, lparam);
}

bool SelVolumeList::OnChildNotify(UINT message, WPARAM, LPARAM lparam, LRESULT* result) {
  if (message != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  switch (header->code) {
    case LVN_ITEMCHANGED:
      on_item_changed(*reinterpret_cast<const NMLISTVIEW*>(lparam));
      *result = 0;
      return true;
    case LVN_COLUMNCLICK:
      // Handled by doing nothing: the volumes keep their order.
      *result = 0;
      return true;
    default:
      return false;
  }
}

void SelVolumeList::on_item_changed(const NMLISTVIEW& change) {
  if (bulk_update || !(change.uChanged & LVIF_STATE)) return;
  const UINT old_state = change.uOldState & LVIS_STATEIMAGEMASK;
  const UINT new_state = change.uNewState & LVIS_STATEIMAGEMASK;
  const int count = GetItemCount();
  if (old_state == unchecked_state && new_state == checked_state) {
    ++checked_count;
    if (checked_count == count) show_select_all(true);
  } else if (old_state == checked_state && new_state == unchecked_state) {
    --checked_count;
    if (checked_count < count) show_select_all(false);
  }
}

void SelVolumeList::show_select_all(bool checked) {
  if (select_all_box) select_all_box->SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
  select_all = checked;
}

// On a check box the second press of a double click is swallowed, so that a
// double click toggles the box once, like a click; elsewhere it is handled
// as usual.
LRESULT SelVolumeList::on_double_click(UINT message, WPARAM wparam, LPARAM lparam) {
  UINT flags = 0;
  HitTest(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}, &flags);
  if (flags & LVHT_ONITEMSTATEICON) return 0;
  return Default(message, wparam, lparam);
}

}  // namespace dravik
