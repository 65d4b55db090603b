#pragma once
// The whole registry of the run's prefix as the system's registry editor
// exports it, as a set of lines each prefixed with its key: what a later
// export lacks is what was deleted in between. The driver's thread alone.

#include <set>
#include <string>

namespace tessarel::e2e {

// "[key]|line" for every value line (continuations joined) and "[key]|" for
// every key, from "regedit /E file" (UTF-16 text). Empty when the export
// failed.
std::set<std::wstring> exported_registry(const std::wstring& file);

}  // namespace tessarel::e2e
