#include "classlib/list_ctrl.h"

#include "classlib/message_box.h"
#include "classlib/text_936.h"
#include "tessarel/system_library.h"

#include <vector>

namespace {

// comctl32.dll from the system folder, loaded at the first list the engine
// creates (not as the engine loads: that runs under the loader lock) and kept
// until the engine is freed. Imported by name, Windows would look for it
// beside the program first.
class common_controls {
 public:
  using init_fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

  common_controls()
      : module_(tessarel::load_system_library(file_name)),
        init_(tessarel::system_library_function<init_fn>(module_.get(), file_name,
                                                          "InitCommonControlsEx")) {}
  init_fn init() const noexcept { return init_; }

 private:
  static constexpr const wchar_t* file_name = L"comctl32.dll";
  tessarel::unique_library_module module_;
  init_fn init_;
};

// Registers the list-view class; false, after a message that names the
// library or the function, when comctl32.dll cannot be had. A static whose
// construction throws is tried again at the next call.
bool register_list_view_class() {
  try {
    static const common_controls library;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    library.init()(&classes);
    return true;
  } catch (const tessarel::system_library_error& failure) {
    AfxMessageBox(narrow_936(failure.message()).c_str());
    return false;
  }
}

}  // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (!register_list_view_class()) return FALSE;
  return CreateChild(0, WC_LISTVIEWW, L"", style, rect, parent, id);
}

DWORD CListCtrl::SetExtendedStyle(DWORD ex_style) {
  if (!m_hWnd) return 0;
  return static_cast<DWORD>(
      SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(ex_style)));
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
  if (!m_hWnd) return -1;
  std::wstring text = wide_from_936(heading);
  LVCOLUMNW data{};
  data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  data.fmt = format;
  data.cx = width;
  data.pszText = text.data();
  data.iSubItem = column;
  return static_cast<int>(SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                       reinterpret_cast<LPARAM>(&data)));
}

int CListCtrl::InsertItem(int item, const std::string& text) {
  if (!m_hWnd) return -1;
  std::wstring wide = wide_from_936(text);
  LVITEMW data{};
  data.mask = LVIF_TEXT;
  data.iItem = item;
  data.pszText = wide.data();
  return static_cast<int>(
      SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&data)));
}

BOOL CListCtrl::SetItemText(int item, int sub_item, const std::string& text) {
  if (!m_hWnd) return FALSE;
  std::wstring wide = wide_from_936(text);
  LVITEMW data{};
  data.iSubItem = sub_item;
  data.pszText = wide.data();
  return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(&data)));
}

std::string CListCtrl::GetItemText(int item, int sub_item) const {
  if (!m_hWnd) return "";
  // The message copies at most the buffer and returns the length copied; a
  // length that fills the buffer may be cut, so the buffer grows.
  std::vector<wchar_t> buffer(64);
  for (;;) {
    LVITEMW data{};
    data.iSubItem = sub_item;
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(SendMessageW(
        m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data)));
    if (length + 1 < buffer.size()) return narrow_936(std::wstring(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

int CListCtrl::GetItemCount() const {
  return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

BOOL CListCtrl::GetCheck(int item) const {
  if (!m_hWnd) return FALSE;
  const auto state = static_cast<UINT>(
      SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
  // State image 1 is the empty box, 2 the checked one.
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

BOOL CListCtrl::SetCheck(int item, BOOL check) {
  if (!m_hWnd) return FALSE;
  LVITEMW data{};
  data.stateMask = LVIS_STATEIMAGEMASK;
  data.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
  return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(&data)));
}

HWND CListCtrl::GetHeaderCtrl() const {
  return m_hWnd ? reinterpret_cast<HWND>(SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0)) : nullptr;
}

int CListCtrl::HitTest(POINT point, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = point;
  const int item =
      m_hWnd
          ? static_cast<int>(SendMessageW(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)))
          : -1;
  if (flags) *flags = m_hWnd ? info.flags : 0;
  return item;
}
