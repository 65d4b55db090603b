#include "engine/file_details.h"

#include "details/file_info_lines.h"
#include "vemo/text_conversion.h"

namespace tessarel {

bool show_file_details(const engine_binding& binding, const std::wstring& path,
                       std::vector<std::wstring>& lines, int saved_code) {
  const std::string narrow = vemo::narrow_text(path);
  const FileExtentInfo* info = binding.entry_points().get_volume_sector_file_info(narrow.c_str());
  format_file_info(lines, path, info, saved_code);
  return true;
}

}  // namespace tessarel
