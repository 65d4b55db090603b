#include "classlib/button.h"

#include "classlib/text_936.h"

BOOL CButton::Create(const std::string& text, DWORD style, const RECT& rect, HWND parent, UINT id) {
  return CreateChild(0, L"BUTTON", wide_from_936(text), style, rect, parent, id);
}

int CButton::GetCheck() const {
  return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
  if (m_hWnd) SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}
