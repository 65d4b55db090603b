#include "classlib/cwinapp.h"

#include <atomic>

namespace {

// Set and cleared on the thread that loads or frees the library; read from
// any thread.
std::atomic<CWinApp*> current_app{nullptr};

}  // namespace

CWinApp::CWinApp() noexcept { current_app.store(this, std::memory_order_release); }

CWinApp::~CWinApp() {
  CWinApp* self = this;
  current_app.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() noexcept { return current_app.load(std::memory_order_acquire); }

bool afx_library_attach() noexcept {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return false;
  try {
    return app->InitInstance() != FALSE;
  } catch (...) {
    return false;
  }
}

void afx_library_detach() noexcept {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  try {
    app->ExitInstance();
  } catch (...) {
  }
  current_app.compare_exchange_strong(app, nullptr, std::memory_order_acq_rel);
}
