#include "classlib/dialog.h"

#include "classlib/engine_module.h"
#include "classlib/wnd.h"

void DDX_Text(CDataExchange* dx, int control_id, std::string& value) {
  const HWND control = GetDlgItem(dx->m_hWnd, control_id);
  if (!control) return;
  if (!dx->m_bSaveAndValidate) {
    SetWindowTextA(control, value.c_str());
    return;
  }
  // The length in ANSI bytes may be overstated, never understated.
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(control, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  value = std::move(text);
}

void DDX_Check(CDataExchange* dx, int control_id, int& value) {
  const HWND control = GetDlgItem(dx->m_hWnd, control_id);
  if (!control) return;
  if (dx->m_bSaveAndValidate)
    value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
  else
    SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

CDialog::CDialog(UINT template_id) : template_id_(template_id) {}

CDialog::~CDialog() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

namespace {

// Disables the owner for the life of a modal dialog; re-enables it only if
// it was enabled before, so a nested modal dialog leaves its owner as the
// outer one wants it.
class owner_disabled {
 public:
  explicit owner_disabled(HWND owner)
      : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
    if (owner_) EnableWindow(owner_, FALSE);
  }
  ~owner_disabled() { enable(); }
  owner_disabled(const owner_disabled&) = delete;
  owner_disabled& operator=(const owner_disabled&) = delete;

  void enable() {
    if (owner_) EnableWindow(owner_, TRUE);
    owner_ = nullptr;
  }

 private:
  HWND owner_;
};

}  // namespace

INT_PTR CDialog::DoModal() {
  const HMODULE module = engine_module();
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(template_id_), MAKEINTRESOURCEW(5));
  if (!found) return -1;
  const HGLOBAL loaded = LoadResource(module, found);
  const auto* dialog_template = static_cast<const DLGTEMPLATE*>(loaded ? LockResource(loaded) : nullptr);
  if (!dialog_template) return -1;

  const HWND owner = GetActiveWindow();
  owner_disabled disabled(owner);
  ended_ = false;
  result_ = -1;
  if (!CreateDialogIndirectParamW(module, dialog_template, owner, &CDialog::dialog_proc,
                                  reinterpret_cast<LPARAM>(this))) {
    ended_ = true;
    return -1;
  }
  // OnInitDialog may already have ended the dialog; it is then never shown.
  if (!ended_) {
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    run_modal_loop();
  }

  // The owner is enabled again before the dialog disappears, so that it and
  // not some other application's window becomes active.
  disabled.enable();
  if (m_hWnd) {
    if (owner && GetActiveWindow() == m_hWnd) SetActiveWindow(owner);
    ShowWindow(m_hWnd, SW_HIDE);
    DestroyWindow(m_hWnd);
  }
  return result_;
}

void CDialog::run_modal_loop() {
  MSG msg;
  while (!ended_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The thread is asked to quit: end the dialog and leave the request for
      // the loop that runs after it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      EndDialog(-1);
      break;
    }
    if (got == -1) {
      EndDialog(-1);
      break;
    }
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  // A handler reached through a message sent from another thread runs inside
  // GetMessage, which would go on waiting; a posted message wakes the loop.
  if (m_hWnd) PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL save_and_validate) {
  if (!m_hWnd) return FALSE;
  CDataExchange dx{save_and_validate != FALSE, m_hWnd};
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!m_hWnd) return FALSE;
  const UINT message = msg->message;
  const bool input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                     (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
  return input && IsDialogMessageW(m_hWnd, msg);
}

bool CDialog::OnCommand(WORD id, WORD notification, HWND) {
  if (notification != BN_CLICKED) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CDialog::OnShowWindow(BOOL, UINT) {}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->m_hWnd = window;
  } else {
    // Messages that arrive before WM_INITDIALOG (the font, the size) find
    // no object yet and get the default processing.
    self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  if (!self) return FALSE;
  try {
    return self->handle_message(message, wparam, lparam);
  } catch (...) {
    self->EndDialog(-1);
    return FALSE;
  }
}

INT_PTR CDialog::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)) ? TRUE
                                                                                       : FALSE;
    case WM_NOTIFY: {
      // A control owned by an object handles its own notifications; the
      // dialog then answers with the control's result.
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      CWnd* control = header ? CWnd::FromHandlePermanent(header->hwndFrom) : nullptr;
      LRESULT result = 0;
      if (control && control->ReflectChildNotify(message, wparam, lparam, &result)) {
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
    }
    case WM_SHOWWINDOW:
      // Returning false lets the dialog manager do its default processing,
      // which concerns only owned pop-ups and touches no member.
      OnShowWindow(static_cast<BOOL>(wparam), static_cast<UINT>(lparam));
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
      m_hWnd = nullptr;
      // Destroyed from outside: the modal loop ends with -1.
      ended_ = true;
      return FALSE;
    default:
      return FALSE;
  }
}
