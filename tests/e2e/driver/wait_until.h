#pragma once
// Waiting on another process's windows and files: poll a condition until it
// holds or a deadline passes. Nothing is asserted from elapsed time.

#include <windows.h>

#include <functional>

namespace tessarel::e2e {

// Polls done every poll_ms until it holds (true) or timeout_ms have passed
// (false).
bool wait_until(const std::function<bool()>& done, DWORD timeout_ms, DWORD poll_ms = 20);

}  // namespace tessarel::e2e
