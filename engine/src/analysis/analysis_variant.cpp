#include "analysis/analysis_variant.h"

namespace dravik {

analysis_variant choose_analysis_variant(std::string_view file_system_name,
                                         uint32_t bytes_per_cluster,
                                         uint64_t used_clusters) noexcept {
  analysis_variant variant;
  variant.ntfs = file_system_name == "NTFS";
  // 64-bit: a volume of a few TB would wrap a 32-bit product.
  variant.large = uint64_t{bytes_per_cluster} * used_clusters > large_volume_used_bytes;
  return variant;
}

}  // namespace dravik
