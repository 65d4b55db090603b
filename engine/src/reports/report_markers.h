#pragma once
// Marker comments ("<!--table-->", "<!--partition-->", ...) in templates and
// blocks, replaced by plain text replacement.

#include <string>
#include <string_view>

namespace dravik {

// Replaces every occurrence of marker in text, left to right, by value; the
// inserted value is not searched again. An absent marker leaves text as it is,
// so a marker without a value stays in the page as an invisible comment.
void replace_marker(std::string& text, std::string_view marker, std::string_view value);

}  // namespace dravik
