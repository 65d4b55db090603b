#pragma once

namespace vemo {

// Gets and dispatches the thread's messages until WM_QUIT and returns its
// exit code. A failed GetMessageW (-1) is skipped, not dispatched. An
// exception that a handler raised while a message was dispatched leaves the
// loop here.
int run_message_loop();

}  // namespace vemo
