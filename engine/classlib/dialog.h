#pragma once
// Modal dialogs from templates in the engine's module, with data exchange
// between member values and controls.
//
// Only for the user interface thread: DoModal runs its own message loop on
// the calling thread and returns when the dialog ends.
//
// A WM_NOTIFY from a control owned by a CWnd goes back to that object
// (CWnd::OnChildNotify), which answers it for the dialog.

#include <windows.h>

#include <string>

// One exchange between the members of a dialog and its controls:
// m_bSaveAndValidate is true to take control values into members, false to
// put member values into controls.
struct CDataExchange {
  bool m_bSaveAndValidate;
  HWND m_hWnd;  // the dialog
};

// Edit text <-> string. The text is exchanged in the ANSI code page.
void DDX_Text(CDataExchange* dx, int control_id, std::string& value);
// Check box state (0 clear, 1 checked) <-> int.
void DDX_Check(CDataExchange* dx, int control_id, int& value);

class CDialog {
 public:
  explicit CDialog(UINT template_id);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Creates the dialog from its template, owned and disabled meanwhile by the
  // calling thread's active window, shows it and runs the modal loop.
  // Returns the code given to EndDialog, or -1 when the template is missing
  // or the window cannot be created (nothing was shown then).
  INT_PTR DoModal();

  // true: controls -> members; false: members -> controls. false without a
  // window.
  BOOL UpdateData(BOOL save_and_validate = TRUE);

  // Ends the modal loop; DoModal returns result.
  void EndDialog(int result);

  HWND GetSafeHwnd() const { return m_hWnd; }

 protected:
  // Override these. Handlers run on the dialog's thread inside DoModal; an
  // exception that leaves one ends the dialog with -1.

  // WM_INITDIALOG: puts the members into the controls. Returns true to let
  // the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* dx);
  // Every message of the modal loop passes here first; true means handled
  // (not dispatched). The base lets the dialog manager handle keyboard and
  // mouse input (tab order, default button, Escape).
  virtual BOOL PreTranslateMessage(MSG* msg);
  // WM_COMMAND. Returns true when handled. The base routes IDOK to OnOK and
  // IDCANCEL to OnCancel.
  virtual bool OnCommand(WORD id, WORD notification, HWND control);
  // WM_SHOWWINDOW, before the default processing.
  virtual void OnShowWindow(BOOL show, UINT status);
  // Takes the control values, then ends with IDOK.
  virtual void OnOK();
  // Ends with IDCANCEL; the members keep their values.
  virtual void OnCancel();

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  void run_modal_loop();

  UINT template_id_;
  bool ended_ = true;
  INT_PTR result_ = -1;
};
