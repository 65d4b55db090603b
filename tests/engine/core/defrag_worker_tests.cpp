// Defragmentation jobs through the run exports: the worker takes the letters
// again after the analysis, passes over volumes without room with a message,
// shows its moves in the status, and ends with the index page however it
// ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "defrag/defrag_fixture.h"
#include "dravik/run_exports.h"

namespace dravik::testing {
namespace {


class DefragWorker : public DefragFixture {
 protected:
  // A volume with exactly free_clusters free clusters of the given size and
  // one fragmented file of two clusters.
  void add_volume_with_free_space(char letter, DWORD bytes_per_sector, DWORD sectors_per_cluster,
                                  uint64_t free_clusters) {
    sim::volume_geometry geometry;
    geometry.bytes_per_sector = bytes_per_sector;
    geometry.sectors_per_cluster = sectors_per_cluster;
    geometry.total_clusters = free_clusters + 2;
    sim.add_volume(letter, geometry);
    const std::string path = std::string(1, letter) + ":\\frag.bin";
    sim.add_file(path, 2 * bytes_per_sector * sectors_per_cluster, {{10, 1}, {20, 1}});
  }
};

// Catches the boundary of the free-space rule moved, the message missing, not
// naming the volume or not modal-OK, and a volume without room given a
// header cell or a page; and a job that does not end with its index page,
// the stop set and the mode cleared.
TEST_F(DefragWorker, VolumesWithoutRoomGetTheMessageAndNothingElse) {
  add_volume_with_free_space('C', 25, 16, 131072);  // 400 x 131,072 = 52,428,800 bytes
  add_volume_with_free_space('D', 23, 17, 134089);  // 391 x 134,089 = 52,428,799 bytes
  load();
  EXPECT_EQ(DLL_DefragVolume("CD"), 1);

  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(messages.texts[0], "没有足够空间, 卷 D 不能进行碎片整理.");
  EXPECT_EQ(messages.types[0], UINT{MB_OK});
  EXPECT_EQ(sim.runs_of("C:\\frag.bin").size(), 1u);
  EXPECT_EQ(sim.runs_of("D:\\frag.bin").size(), 2u);
  EXPECT_TRUE(folder.exists("defragreport1.html"));
  EXPECT_FALSE(folder.exists("defragreport2.html"));
  EXPECT_EQ(read("defragreporttop.html"),
            "<tr><td class=header width=50><a href=defragreport1.html target=mainFrame>C:\\</a>"
            "</td></tr>");
  EXPECT_EQ(engine().job.stop_requested, 1);
  EXPECT_EQ(engine().job.run_mode, 0);
  EXPECT_EQ(engine().job.defrag_worker.load(), nullptr);
}

// Catches a status that does not show the defragmentation while a file is
// moved, the source and target of another extent or file, and numbers that do
// not advance by one per poll.
TEST_F(DefragWorker, StatusShowsTheMoveInProgress) {
  sim.add_volume('C', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a.bin", scattered(200, 3));  // goes to 100
  std::vector<WorkingStatus> polls;
  sim.set_move_hook([&polls](const sim::move_request& request) {
    if (request.number != 2) return;
    polls.push_back(*DLL_GetWorkingStatus());
    polls.push_back(*DLL_GetWorkingStatus());
  });
  load();
  EXPECT_EQ(DLL_DefragVolume("C"), 1);

  ASSERT_EQ(polls.size(), 2u);
  for (uint64_t n = 1; n <= 2; ++n) {
    const WorkingStatus& status = polls[n - 1];
    EXPECT_EQ(status.state, working_defragmenting);
    EXPECT_EQ(status.volume, 'C');
    EXPECT_STREQ(status.itemName, "a.bin");
    EXPECT_EQ(status.moveFrom, 1 + n) << "VCN 1, the second extent";
    EXPECT_EQ(status.moveTo, 101 + n) << "behind the first extent at 100";
  }
  EXPECT_EQ(engine().status.moving, 0);
}

// Catches a stop during a move that loses the volume's page or the index
// page, or that lets the worker take the next letter.
TEST_F(DefragWorker, AStopDuringAMoveStillWritesThePageAndTheIndex) {
  sim.add_volume('C', roomy_volume());
  sim.add_volume('D', roomy_volume());
  sim.reserve_clusters('C', 0, 100);
  add_file("C:\\a.bin", scattered(200, 3));
  add_file("D:\\b.bin", scattered(200, 3));
  sim.set_move_hook([](const sim::move_request& request) {
    if (request.number == 2) DLL_WorkingStop();
  });
  load();
  EXPECT_EQ(DLL_OptimizedDefragVolume("CD"), 1);

  EXPECT_TRUE(folder.exists("defragreport1.html"));
  EXPECT_EQ(read("defragreport1.html").find("Optimization"), std::string::npos);
  EXPECT_FALSE(folder.exists("defragreport2.html"));
  EXPECT_EQ(sim.runs_of("D:\\b.bin").size(), 3u);
  EXPECT_EQ(read("defragreporttop.html"),
            "<tr><td class=header width=50><a href=defragreport1.html target=mainFrame>C:\\</a>"
            "</td></tr>");
  EXPECT_EQ(engine().job.run_mode, 0);
}

}  // namespace
}  // namespace dravik::testing
