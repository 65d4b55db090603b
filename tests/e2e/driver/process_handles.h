#pragma once
// How many handles a process holds, read from outside it. Any thread.

#include <windows.h>

#include <optional>

namespace tessarel::e2e {

// GetProcessHandleCount when it answers; otherwise (Wine answers 0) the
// entries of the system's handle list that belong to pid. Nothing when
// neither can be read.
std::optional<unsigned long> process_handle_count(DWORD pid);

}  // namespace tessarel::e2e
