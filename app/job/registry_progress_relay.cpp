#include "job/registry_progress_relay.h"

#include <atomic>

namespace tessarel {

namespace {

std::atomic<HWND> target_window{nullptr};
std::atomic<UINT> target_message{0};

// The pause after each clean record; the worker, not the window, waits.
constexpr DWORD clean_record_pause_ms = 10;

}  // namespace

void set_registry_progress_target(HWND window, UINT message) {
  target_message = message;
  target_window = window;
}

void relay_registry_progress(const regscan::scan_progress* record) {
  const HWND window = target_window;
  if (!record || !window) return;
  SendMessageW(window, target_message, 0, reinterpret_cast<LPARAM>(record));
  if (record->type == regscan::progress_clean) Sleep(clean_record_pause_ms);
}

void receive_registry_progress(
    LPARAM lparam, const std::function<void(const regscan::scan_progress&)>& handle) {
  const auto* sent = reinterpret_cast<const regscan::scan_progress*>(lparam);
  if (!sent) return;
  const bool end = sent->type == regscan::progress_scan_end ||
                   sent->type == regscan::progress_clean_end;
  if (!end) {
    handle(*sent);
    return;
  }
  // The record lives on the worker's stack: keep a copy before letting go.
  const regscan::scan_progress record = *sent;
  if (InSendMessage()) ReplyMessage(0);
  handle(record);
}

}  // namespace tessarel
