#include "vemo/path_file_name.h"

namespace vemo {

std::wstring path_file_name(const std::wstring& path) {
  const auto slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return path;
  return path.substr(slash + 1);
}

}  // namespace vemo
