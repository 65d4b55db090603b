#include "window/registry_workers.h"

#include "regscan/checker_stop_flags.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"

namespace tessarel {

bool registry_workers::start(registry_run run) {
  return threads_.start(run == registry_run::scan ? &regscan::registry_scan_thread
                                                  : &regscan::registry_clean_thread,
                        nullptr);
}

void registry_workers::wait_all() {
  if (!threads_.any_running()) return;
  regscan::scan_stop_flag = true;
  regscan::clean_stop_flag = true;
  regscan::stop_all_checkers();
  while (threads_.any_running()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    MSG message;
    // Sent messages are handled inside PeekMessageW; posted ones are kept
    // for the message loop, so a quit message is not swallowed here.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace tessarel
