#include "details/file_info_lines.h"

#include <cstdint>

#include "vemo/split_path.h"

namespace tessarel {

namespace {
// The map shows sparse files in blocks of this colour code.
constexpr int sparse_block_code = 1;

std::wstring fragment_state(uint32_t extent_count, int saved_code) {
  const std::wstring count = std::to_wstring(extent_count);
  if (count == L"1") return L"没有碎片";
  if (saved_code == sparse_block_code) return L"稀疏文件";
  return L"碎片: " + count;
}
}  // namespace

void format_file_info(std::vector<std::wstring>& lines, const std::wstring& path,
                      const FileExtentInfo* info, int saved_code) {
  lines.clear();
  // Without the record there is nothing to say about the extents or sizes;
  // the path still tells the user which file was selected.
  if (info != nullptr) {
    lines.push_back(fragment_state(info->extentCount, saved_code));
    lines.push_back(L" 簇: " + std::to_wstring(static_cast<int64_t>(info->sizeInClusters)));
    lines.push_back(L"     大小: " + std::to_wstring(info->sizeInBytes));
  }
  vemo::split_path(L"文件名: " + path, lines);
}

}  // namespace tessarel
