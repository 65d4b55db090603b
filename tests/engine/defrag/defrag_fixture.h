#pragma once
// The engine loaded over simulated volumes, ready to defragment one volume at
// a time the way the defragmentation worker does for each letter of a job,
// or whole jobs through the run exports. Message boxes are answered and
// recorded.

#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "defrag/defrag_volume.h"
#include "message_recorder.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::testing {

// 64 KiB clusters, so 800 free clusters are the 52,428,800 bytes a volume
// needs to be defragmented; one cluster per cell up to 1000 clusters. Moves
// are checked cluster by cluster.
constexpr uint64_t roomy_cluster_bytes = 65536;
inline dravik::sim::volume_geometry roomy_volume(uint64_t clusters = 1000,
                                                 const char* file_system = "NTFS") {
  dravik::sim::volume_geometry geometry = test_volume(clusters, file_system);
  geometry.sectors_per_cluster = 128;
  geometry.track_contents = true;
  return geometry;
}

// count extents of length clusters each, one every step clusters from lcn.
inline std::vector<dravik::sim::file_run> scattered(int64_t lcn, int count, uint64_t length = 1,
                                                    int64_t step = 2) {
  std::vector<dravik::sim::file_run> runs;
  for (int i = 0; i < count; ++i) runs.push_back({lcn + i * step, length});
  return runs;
}

class DefragFixture : public AnalysisFixture {
 protected:
  void SetUp() override {
    AnalysisFixture::SetUp();
    write("defragreportmodel.html", "<!--table-->");
    write("defragreporttopmodel.html", "<tr><!--partitionlist--></tr>");
  }

  // As the defragmentation worker hands a letter on, at the start of its job.
  void defragment(char letter = 'C', int page_number = 1, int32_t run_mode = 1) {
    engine().job.run_mode = run_mode;
    walk().interrupted = 0;
    engine().job.current_letter_text.set(std::string(1, letter));
    const int32_t slot = dravik::slot_of_letter(static_cast<unsigned char>(letter));
    engine().job.current_slot = slot;
    dravik::defrag_volume(dravik::defrag_records_of(engine()),
                          dravik::defrag_turn{letter, slot, page_number});
  }

  // Adds a file of the given clusters (64 KiB each) in the given runs.
  void add_file(const std::string& path, const std::vector<dravik::sim::file_run>& runs,
                DWORD attributes = FILE_ATTRIBUTE_ARCHIVE, uint64_t size = 0) {
    uint64_t clusters = 0;
    for (const dravik::sim::file_run& run : runs) clusters += run.length;
    sim.add_file(path, size != 0 ? size : clusters * roomy_cluster_bytes, runs, attributes);
  }

  std::vector<dravik::sim::file_run> runs(const std::string& path) { return sim.runs_of(path); }
  const std::string& rows() { return engine().report_strings.fragment_rows; }
  // How many rows the defragmentation table holds.
  size_t row_count() {
    size_t count = 0;
    for (size_t at = rows().find("<TR>"); at != std::string::npos; at = rows().find("<TR>", at + 1))
      ++count;
    return count;
  }

  message_recorder messages;
};

}  // namespace dravik::testing
