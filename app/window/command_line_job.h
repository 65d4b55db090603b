#pragma once
// Which drives a job asked for on the command line may run. Any thread.

#include <string>
#include <vector>

namespace tessarel {

// The letters of text that name a drive of fixed_drives (ASCII letters of
// either case), each once, upper case, in the order of their first
// appearance. A run of letters counts only when each of its letters names a
// fixed drive ("CD" does, "help" does not, whatever drives there are);
// everything else is dropped, and an empty result means no job.
std::wstring command_line_job_letters(const std::wstring& text,
                                      const std::vector<wchar_t>& fixed_drives);

}  // namespace tessarel
