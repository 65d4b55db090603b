#pragma once
// No exception may cross a window or dialog procedure into the system. The
// procedures keep the first exception a handler raises; the toolkit raises it
// again once control is back in its own code (after CreateWindowExW, after a
// modal run, after dispatching a message of the loop).

namespace vemo {

// Called inside a catch block of a procedure.
void keep_handler_exception();
// Raises the kept exception, if any, and forgets it.
void rethrow_handler_exception();

}  // namespace vemo
