// The defragmentation of one volume of a job: the free-space rule, the date
// it records, what a stop leaves, and the page it writes.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "files/defrag_date_file.h"
#include "defrag/defrag_fixture.h"

namespace dravik::testing {
namespace {

using sim::file_run;
using Runs = std::vector<file_run>;

struct room_case {
  uint32_t bytes_per_cluster;
  uint64_t free_clusters;
  bool room;
};

// Catches the boundary taken as "more than" 50 MiB, and a product taken in
// 32 bits (65536 x 65536 wraps to 0).
TEST(DefragFreeSpaceRule, NeedsAtLeast52428800FreeBytes) {
  const room_case cases[] = {
      {400, 131072, true},     // 52,428,800
      {391, 134089, false},    // 52,428,799
      {65536, 800, true},      // 52,428,800
      {65536, 799, false},
      {65536, 65536, true},    // 4 GiB
      {0, 1u << 30, false},    // the size query failed at load
  };
  for (const room_case& c : cases)
    EXPECT_EQ(has_room_to_defragment(c.bytes_per_cluster, c.free_clusters), c.room)
        << c.bytes_per_cluster << " x " << c.free_clusters;
}

class DefragVolume : public DefragFixture {
 protected:
  void SetUp() override {
    DefragFixture::SetUp();
    sim.add_volume('C', roomy_volume());
    sim.add_volume('D', roomy_volume());
    sim.reserve_clusters('D', 0, 100);
    add_file("D:\\a.bin", scattered(200, 4));
    add_file("D:\\b.bin", scattered(300, 4));
  }
  std::string page() { return read("defragreport2.html"); }
  std::vector<uint8_t> no_dates() { return std::vector<uint8_t>(26 * 16, 0); }
};

// Catches a finished volume whose date is not recorded at its slot, or
// recorded without the recency following it; a missing "defragdate"
// created; the page or its header cell missing.
TEST_F(DefragVolume, AFinishedVolumeRecordsItsDateAndWritesItsPage) {
  folder.write("defragdate", no_dates());
  load();
  const std::time_t before = std::time(nullptr);
  defragment('D', 2);

  EXPECT_EQ(walk().interrupted, 0);
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 1, before), recency_recent);
  EXPECT_EQ(read_recency_state(folder.file("defragdate"), 0, before), recency_unknown);
  EXPECT_EQ(engine().job.recency_state, recency_recent);
  EXPECT_EQ(engine().report_strings.partition_list,
            "<td class=header width=50><a href=defragreport2.html target=mainFrame>D:\\</a></td>");
  EXPECT_NE(page().find("D:\\a.bin"), std::string::npos);
  EXPECT_NE(page().find("D:\\b.bin"), std::string::npos);
  EXPECT_NE(page().find("<!--optimize-->"), std::string::npos) << "no table in run mode 1";

  DeleteFileA(folder.file("defragdate").c_str());
  defragment('D', 2);
  EXPECT_FALSE(folder.exists("defragdate"));
}

// Catches a stop not seen between two extents, a row for the half-moved
// file, the extents already moved taken back, an interrupted volume recorded
// as defragmented (its fragmentation would be hidden for two days), and an
// optimisation table on its page.
TEST_F(DefragVolume, AStopBetweenTwoExtentsLeavesTheFilePartlyMovedAndTheDate) {
  folder.write("defragdate", no_dates());
  sim.set_move_hook([this](const sim::move_request& request) {
    if (request.number == 2) engine().job.stop_requested = 1;
  });
  load();
  defragment('D', 2, 2);

  EXPECT_EQ(sim.moves_done(), 2u);
  EXPECT_EQ(runs("D:\\a.bin"), (Runs{{207, 2}, {204, 1}, {206, 1}}));
  EXPECT_EQ(runs("D:\\b.bin"), scattered(300, 4));
  EXPECT_EQ(engine().report_strings.fragment_rows, "");
  EXPECT_EQ(engine().status.moving, 0);
  EXPECT_EQ(walk().interrupted, 1);
  EXPECT_EQ(folder.read_bytes("defragdate"), no_dates());
  EXPECT_NE(page().find("<!--optimize-->"), std::string::npos);
  EXPECT_EQ(page().find("Optimization"), std::string::npos);
  EXPECT_TRUE(engine().optimize_set.empty()) << "recorded files kept for a later pass";
}

// Catches a stop that falls between two files taken for a finished
// defragmentation: the rest of the volume was never walked.
TEST_F(DefragVolume, AStopBetweenTwoFilesInterruptsTheVolume) {
  folder.write("defragdate", no_dates());
  sim.set_move_hook([this](const sim::move_request& request) {
    if (request.number == 4) engine().job.stop_requested = 1;  // a.bin's last extent
  });
  load();
  defragment('D', 2, 2);

  EXPECT_EQ(runs("D:\\a.bin").size(), 1u);
  EXPECT_EQ(runs("D:\\b.bin"), scattered(300, 4));
  EXPECT_EQ(walk().interrupted, 1);
  EXPECT_EQ(folder.read_bytes("defragdate"), no_dates());
  EXPECT_NE(page().find("D:\\a.bin"), std::string::npos);
  EXPECT_EQ(page().find("Optimization"), std::string::npos);
}

// Catches an optimised run without its table, and a page written when the
// bitmap could not be read (the header cell stays, as in the analysis).
TEST_F(DefragVolume, OptimisedRunsGetTheirTableAndUnreadableVolumesNoPage) {
  load();
  defragment('D', 2, 2);
  EXPECT_NE(page().find("Optimization  Details"), std::string::npos);
  EXPECT_EQ(engine().status.optimising, 0);

  DeleteFileA(folder.file("defragreport2.html").c_str());
  sim.fail_bitmap_reads('D', ERROR_IO_DEVICE, 1);
  engine().report_strings.partition_list.clear();
  defragment('D', 2, 2);
  EXPECT_FALSE(folder.exists("defragreport2.html"));
  EXPECT_NE(engine().report_strings.partition_list.find("defragreport2.html"),
            std::string::npos);
}

}  // namespace
}  // namespace dravik::testing
