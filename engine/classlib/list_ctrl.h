#pragma once
// A list-view control owned by an object. Texts are code page 936 bytes.
// Item and column numbers count from 0; -1 means failure where an index is
// returned.

#include "classlib/wnd.h"

#include <commctrl.h>

#include <string>

class CListCtrl : public CWnd {
 public:
  // Creates the list as child id of parent (registering the common control
  // class first). false when it cannot be created.
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id);

  // Returns the previous extended style.
  DWORD SetExtendedStyle(DWORD ex_style);

  // format: LVCFMT_LEFT, ...; width in pixels. Returns the new column's index.
  int InsertColumn(int column, const std::string& heading, int format, int width);

  // Inserts an item with the column-0 text at position item. Returns its index.
  int InsertItem(int item, const std::string& text);
  BOOL SetItemText(int item, int sub_item, const std::string& text);
  std::string GetItemText(int item, int sub_item) const;
  int GetItemCount() const;

  // The check box of an item in a list with LVS_EX_CHECKBOXES.
  BOOL GetCheck(int item) const;
  BOOL SetCheck(int item, BOOL check = TRUE);

  // The list's header control (report view), or null.
  HWND GetHeaderCtrl() const;

  // The item under point (client coordinates) or -1; *flags gets the
  // LVHT_ flags of the hit.
  int HitTest(POINT point, UINT* flags) const;
};
