// The file system redirection of a 32-bit process on 64-bit Windows, as
// simulated_volume models it: a per-thread state and the check of the calls
// that take names.
#include <cstdint>
#include <string>

#include "last_error.h"
#include "simulated_volume.h"

namespace dravik::sim {

namespace {

// The platform keeps it per thread; a new thread starts with it on.
thread_local bool thread_redirection_off = false;

// What disable hands out and revert takes back: the state before the disable.
void* const was_on = nullptr;
void* const was_off = reinterpret_cast<void*>(static_cast<uintptr_t>(1));

}  // namespace

void simulated_volume::set_wow64(bool on) {
  std::lock_guard lock(mutex_);
  wow64_ = on;
}

bool simulated_volume::redirection_off_here() { return thread_redirection_off; }

BOOL simulated_volume::disable_fs_redirection(void** old_value) {
  std::lock_guard lock(mutex_);
  if (!wow64_) return fail(ERROR_INVALID_FUNCTION);
  if (old_value == nullptr) {
    note_misuse("Wow64DisableWow64FsRedirection without a place for the old value");
    return fail(ERROR_NOACCESS);
  }
  *old_value = thread_redirection_off ? was_off : was_on;
  thread_redirection_off = true;
  return TRUE;
}

BOOL simulated_volume::revert_fs_redirection(void* old_value) {
  std::lock_guard lock(mutex_);
  if (!wow64_) return fail(ERROR_INVALID_FUNCTION);
  if (old_value != was_on && old_value != was_off) {
    note_misuse("Wow64RevertWow64FsRedirection with a value no disable gave");
    return fail(ERROR_INVALID_PARAMETER);
  }
  thread_redirection_off = old_value == was_off;
  return TRUE;
}

void simulated_volume::check_redirection(const char* call, const char* name) {
  if (!wow64_ || thread_redirection_off) return;
  note_misuse(std::string(call) + " with the file system redirection on: " +
              (name != nullptr ? name : "(null)"));
}

}  // namespace dravik::sim
