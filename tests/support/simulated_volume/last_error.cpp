#include "last_error.h"

namespace dravik::sim {

namespace {
thread_local DWORD thread_last_error = 0;
}  // namespace

DWORD last_error() { return thread_last_error; }

void set_last_error(DWORD error) { thread_last_error = error; }

}  // namespace dravik::sim
