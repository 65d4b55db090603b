#pragma once
// Templates and pages in the application folder: ordinary files, read whole
// and written whole.

#include <optional>
#include <string>
#include <string_view>

namespace dravik {

// The whole template as text, ending at its first zero byte; nothing when the
// file is missing or cannot be read.
std::optional<std::string> read_report_template(const std::string& path);

// Writes the page under a temporary name beside it and then renames it over
// path, so a page is either complete or not there (an older page stays as it
// was). Binary, no line-end translation. False, with no temporary file left,
// when the page cannot be written.
bool write_report_page(const std::string& path, std::string_view text);

// The temporary name write_report_page uses for path.
std::string report_page_temporary_name(const std::string& path);

}  // namespace dravik
