#pragma once

namespace tessarel {

// True only when the calling user's token is granted access through a
// security descriptor whose one entry allows the built-in Administrators
// group alone. Any step that fails answers false (a failed access check also
// writes a line to standard output). The calling thread is no longer
// impersonating when this returns, whatever the answer. Any thread.
bool is_administrator();

}  // namespace tessarel
