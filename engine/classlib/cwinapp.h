#pragma once
// The application object of our class-library stand-in.
//
// Exactly one application object exists while the engine is loaded: its
// constructor makes it the current one (AfxGetApp), its destructor withdraws
// it. The library entry runs InitInstance right after the engine's global
// objects are built and ExitInstance right before they are destroyed
// (afx_library_attach, afx_library_detach); tests make the same calls, so one
// process can load and unload the engine many times.

#include <windows.h>

class CWinApp {
 public:
  CWinApp() noexcept;
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Start-up of the library; the base returns TRUE.
  virtual BOOL InitInstance();
  // Shut-down of the library; the base returns 0.
  virtual int ExitInstance();
};

// The current application object, null when none exists.
CWinApp* AfxGetApp() noexcept;

// Runs InitInstance of the current application object. Returns false when
// there is none, when it returns FALSE or when it throws: nothing escapes the
// library entry.
bool afx_library_attach() noexcept;

// Runs ExitInstance of the current application object (none: nothing) and
// withdraws it: after the library's detach nothing reaches it through
// AfxGetApp, even when its storage outlives the detach. Exceptions are
// swallowed for the same reason.
void afx_library_detach() noexcept;
