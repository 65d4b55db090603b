#pragma once
// A button control owned by an object (push button, check box).

#include "classlib/wnd.h"

#include <string>

class CButton : public CWnd {
 public:
  // Creates the button as child id of parent; text in code page 936. false
  // when it cannot be created.
  BOOL Create(const std::string& text, DWORD style, const RECT& rect, HWND parent, UINT id);

  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int check);
};
