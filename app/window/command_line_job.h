#pragma once
// Which drives a job asked for on the command line may run. Any thread.

#include <string>
#include <vector>

namespace tessarel {

// The letters of text that name a drive of fixed_drives (ASCII letters of
// either case), each once, in the order of their first appearance, as the
// list writes them. Everything else is dropped: "-help" names no drive, and
// an empty result means no job.
std::wstring command_line_job_letters(const std::wstring& text,
                                      const std::vector<wchar_t>& fixed_drives);

}  // namespace tessarel
