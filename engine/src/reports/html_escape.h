#pragma once
// Text that goes into a report page as content, never as markup.

#include <string>
#include <string_view>

namespace dravik {

// Appends text with &, <, > and " written as entities, so a file or registry
// name shows as it is and cannot open a tag, an attribute or a marker comment.
// Works on code page 936 bytes unchanged: none of the four characters can be
// the second byte of a double-byte character.
void append_html_escaped(std::string& out, std::string_view text);

std::string html_escaped(std::string_view text);

}  // namespace dravik
