#include "status/volume_info_lines.h"

#include <cstdint>

#include "status/ansi_field_text.h"

namespace tessarel {

std::vector<std::wstring> volume_info_lines(const VolumeInfo* info, wchar_t letter) {
  if (!info) return {L"打开卷失败."};
  // The cluster counts are shown signed, as the engine's own texts show them.
  const auto count = [](uint64_t value) { return std::to_wstring(static_cast<int64_t>(value)); };
  const wchar_t shown_letter =
      static_cast<wchar_t>(static_cast<int16_t>(static_cast<signed char>(letter & 0xFF)));
  return {
      std::to_wstring(info->bytesPerCluster) + L" 每簇字节数",
      count(info->clustersPerCell) + L" 每块簇数",
      L"可用簇:" + count(info->freeClusters),
      L"已用簇:" + count(info->usedClusters),
      L"大小:" + ansi_field_text(info->totalSizeText),
      L"已用:" + ansi_field_text(info->usedSizeText),
      L"文件系统:" + ansi_field_text(info->fileSystem),
      std::wstring(L"卷:") + shown_letter,
  };
}

}  // namespace tessarel
