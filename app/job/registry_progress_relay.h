#pragma once
// Carries the registry worker's progress records to the user interface
// thread: the worker sends each record to a window of that thread with
// SendMessageW, so the record stays valid while the job machine reads it and
// the worker waits until it has been shown (an end record: until it has been
// copied). After a clean record the worker pauses 10 ms, which paces the
// clean display without stalling the window.

#include <windows.h>

#include <functional>

#include "regscan/scan_progress.h"

namespace tessarel {

// The window and message that receive the records: wparam 0, lparam the
// record's address (const regscan::scan_progress*), valid during the
// message. Null window: records are dropped. User interface thread, before
// a worker starts and after the last one has ended.
void set_registry_progress_target(HWND window, UINT message);

// The scanner's progress_callback. Worker thread; blocks until the window
// has handled the record (an end record: until the window has taken it).
void relay_registry_progress(const regscan::scan_progress* record);

// The window's side, in its handler of the message: hands the record in
// lparam (null: nothing) to handle. A progress record is handled while the
// worker waits, so the display paces the worker. An end record (scan or
// clean ended, complete or stopped) is copied and the worker released
// (ReplyMessage) before handle runs: the phase's end, the next phase and
// the report never run inside the worker's sent message, where an outgoing
// COM call would be refused. User interface thread.
void receive_registry_progress(
    LPARAM lparam, const std::function<void(const regscan::scan_progress&)>& handle);

}  // namespace tessarel
