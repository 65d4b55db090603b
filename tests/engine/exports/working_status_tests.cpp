// DLL_GetWorkingStatus: the state derived from the workers on every poll,
// the progress of a volume without a map, the last run's numbers while idle,
// and the move numbers that advance by one per poll.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dravik/run_exports.h"
#include "dravik/volume_exports.h"
#include "loaded_engine.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::testing {
namespace {

using sim::testing::small_ntfs;

class WorkingStatusPoll : public LoadedEngine {
 protected:
  void SetUp() override {
    LoadedEngine::SetUp();
    sim.add_volume('C', small_ntfs());
    sim.add_volume('E', small_ntfs());
    sim.fail_bitmap_reads('E', ERROR_INVALID_FUNCTION);  // fixed, but without a map
    ASSERT_TRUE(load());
  }

  job_control& job() { return engine().job; }
};

// Catches a volume without a map reported with the last run's progress, or
// with a worker's state, instead of 1 of 100.
TEST_F(WorkingStatusPoll, VolumeWithoutMapShowsOneOfHundred) {
  engine().status.totalUnits = 5000;
  engine().status.doneUnits = 4000;
  fake_worker_pointer worker(job().analysis_worker);
  for (int letter : {'E', 'Q', 'e'}) {
    DLL_SetCurrentVolume(letter);
    const WorkingStatus* status = DLL_GetWorkingStatus();
    EXPECT_EQ(status->state, working_idle) << char(letter);
    EXPECT_EQ(status->totalUnits, 100u) << char(letter);
    EXPECT_EQ(status->doneUnits, 1u) << char(letter);
  }
  DLL_SetCurrentVolume('C');
  EXPECT_EQ(DLL_GetWorkingStatus()->state, working_analysing);
  EXPECT_EQ(DLL_GetWorkingStatus()->doneUnits, 4000u);
}

// Catches an idle status that resets the progress instead of keeping the
// numbers the last run left.
TEST_F(WorkingStatusPoll, IdleKeepsTheLastRunsNumbers) {
  install_analysis_step(engine(), [](engine_state& e, const analysis_turn&) {
    e.status.totalUnits = 900;
    e.status.doneUnits = 875;
    e.status.current_entry_name.set("pagefile.sys");
  });
  ASSERT_EQ(DLL_AnalyseVolume("C"), 1);
  const WorkingStatus* status = DLL_GetWorkingStatus();
  EXPECT_EQ(status->state, working_idle);
  EXPECT_EQ(status->totalUnits, 900u);
  EXPECT_EQ(status->doneUnits, 875u);
  EXPECT_EQ(status->volume, 'C');
  EXPECT_STREQ(status->itemName, "pagefile.sys");
}

// Catches the letter or the name read from storage a worker frees or
// rewrites: both are copies, the letter 0 while no letter was taken.
TEST_F(WorkingStatusPoll, LetterAndNameAreCopies) {
  EXPECT_EQ(DLL_GetWorkingStatus()->volume, '\0');
  EXPECT_STREQ(DLL_GetWorkingStatus()->itemName, "");
  const std::string longest(MAX_PATH - 1, 'n');
  job().current_letter_text.set("D");
  engine().status.current_entry_name.set(longest.c_str());
  WorkingStatus* status = DLL_GetWorkingStatus();
  job().current_letter_text.set("");
  engine().status.current_entry_name.set(nullptr);
  EXPECT_EQ(status->volume, 'D');
  EXPECT_EQ(std::string(status->itemName), longest);
}

// Catches move numbers that do not advance per poll, that use the wrong
// source while optimising, or that keep counting after the move.
TEST_F(WorkingStatusPoll, MoveNumbersAdvanceByOnePerPoll) {
  fake_worker_pointer worker(job().defrag_worker);
  engine().status.moving = 1;
  engine().status.move_poll_count = 0;
  set_move_request(engine().mover, engine().status, nullptr, 100, 5000, 8);

  const WorkingStatus* status = DLL_GetWorkingStatus();
  EXPECT_EQ(status->state, working_defragmenting);
  EXPECT_EQ(status->moveFrom, 101u);
  EXPECT_EQ(status->moveTo, 5001u);
  DLL_GetWorkingStatus();
  EXPECT_EQ(status->moveFrom, 102u);
  EXPECT_EQ(status->moveTo, 5002u);

  // The next file: the mover restarts the count with its new target.
  engine().status.move_poll_count = 0;
  set_move_request(engine().mover, engine().status, nullptr, 0, 7000, 3);
  DLL_GetWorkingStatus();
  EXPECT_EQ(status->moveFrom, 1u);
  EXPECT_EQ(status->moveTo, 7001u);

  // Optimising: the source is the entry's recorded position.
  engine().status.optimising = 1;
  engine().status.optimize_source = 1000;
  engine().status.move_poll_count = 0;
  set_move_request(engine().mover, engine().status, nullptr, 0, 40, 8);
  DLL_GetWorkingStatus();
  EXPECT_EQ(status->state, working_optimising);
  EXPECT_EQ(status->moveFrom, 1001u);
  EXPECT_EQ(status->moveTo, 41u);
  DLL_GetWorkingStatus();
  EXPECT_EQ(status->moveFrom, 1002u);
  EXPECT_EQ(status->moveTo, 42u);

  engine().status.moving = 0;
  DLL_GetWorkingStatus();
  EXPECT_EQ(status->moveFrom, 0u);
  EXPECT_EQ(status->moveTo, 0u);
  EXPECT_EQ(engine().status.move_poll_count, 2u) << "polls between moves count nothing";
}

// Catches move numbers rewritten outside the defragmentation: the host reads
// them only in states 2 and 3, and they keep their last values otherwise.
TEST_F(WorkingStatusPoll, MoveNumbersChangeOnlyWhileDefragmenting) {
  engine().status.moving = 1;
  set_move_request(engine().mover, engine().status, nullptr, 10, 20, 1);
  {
    fake_worker_pointer worker(job().defrag_worker);
    DLL_GetWorkingStatus();
  }
  const uint64_t from = DLL_GetWorkingStatus()->moveFrom;
  EXPECT_NE(from, 0u);
  fake_worker_pointer analysing(job().analysis_worker);
  EXPECT_EQ(DLL_GetWorkingStatus()->state, working_analysing);
  EXPECT_EQ(DLL_GetWorkingStatus()->moveFrom, from);
}

}  // namespace
}  // namespace dravik::testing
