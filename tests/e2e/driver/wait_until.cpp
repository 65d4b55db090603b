#include "driver/wait_until.h"

namespace tessarel::e2e {

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms, DWORD poll_ms) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() - start >= timeout_ms) return done();
    Sleep(poll_ms);
  }
}

}  // namespace tessarel::e2e
