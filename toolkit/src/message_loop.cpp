#include "vemo/message_loop.h"

#include <windows.h>

#include "handler_exceptions.h"

namespace vemo {

int run_message_loop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    rethrow_handler_exception();
  }
  return static_cast<int>(message.wParam);
}

}  // namespace vemo
