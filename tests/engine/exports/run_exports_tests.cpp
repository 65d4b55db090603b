// The run exports through their C interface, over simulated volumes: which
// letters the analysis worker takes and in what order, how a run ends by its
// mode, and that the export blocks until the workers have ended.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "dravik/run_exports.h"
#include "loaded_engine.h"
#include "message_recorder.h"
#include "simulated_volume/simulated_test_support.h"

namespace dravik::testing {
namespace {

using sim::testing::small_ntfs;

std::vector<uint8_t> bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

struct visit {
  char letter;
  int32_t slot;
  int page_number;
  char status_letter;    // current_letter_text as the step saw it
  int32_t current_slot;  // current_slot as the step saw it
};

class RunExports : public LoadedEngine {
 protected:
  void SetUp() override {
    LoadedEngine::SetUp();
    sim.add_volume('C', small_ntfs());
    sim.add_volume('D', small_ntfs());
    sim.add_volume('F', small_ntfs());
    sim.set_volume_open_error('F', ERROR_ACCESS_DENIED);  // fixed, but without a map
    folder.write("analysisreporttopmodel.html", bytes("<tr><!--partitionlist--></tr>"));
    ASSERT_TRUE(load());
  }

  // Records every letter the analysis hands to its per-volume step.
  void record_visits() {
    install_analysis_step(engine(), [this](engine_state& e, const analysis_turn& turn) {
      visits.push_back({turn.letter, turn.slot, turn.page_number,
                        e.job.current_letter_text.first(), e.job.current_slot});
    });
  }

  std::string analysis_index() {
    const std::vector<uint8_t> page = folder.read_bytes("analysisreporttop.html");
    return std::string(page.begin(), page.end());
  }

  std::vector<visit> visits;
  // The small volumes have no room to be defragmented: each gets a message.
  message_recorder messages;
};

// Catches letters taken out of order, page numbers that skip a volume
// without a map, and a step run for a volume without a map.
TEST_F(RunExports, AnalysisTakesTheLettersInOrder) {
  record_visits();
  EXPECT_EQ(DLL_AnalyseVolume("DFaC"), 1);
  ASSERT_EQ(visits.size(), 3u) << "F has no map";
  const struct {
    char letter;
    int32_t slot;
    int page_number;
  } expected[] = {{'D', 1, 1}, {'a', 0, 3}, {'C', 0, 4}};
  for (size_t i = 0; i < visits.size(); ++i) {
    EXPECT_EQ(visits[i].letter, expected[i].letter) << i;
    EXPECT_EQ(visits[i].slot, expected[i].slot) << i;
    EXPECT_EQ(visits[i].page_number, expected[i].page_number) << i;
    EXPECT_EQ(visits[i].status_letter, expected[i].letter) << "current_letter_text " << i;
    EXPECT_EQ(visits[i].current_slot, expected[i].slot) << "current_slot " << i;
  }
  EXPECT_EQ(engine().job.current_slot, 0);
  EXPECT_EQ(DLL_GetWorkingStatus()->volume, 'C');
}

// Catches an analysis-only run that ends without its index page or leaves
// the stop clear and the mode set, which the next run and the unload read.
TEST_F(RunExports, AnalysisEndsWithTheIndexPageAndTheStopSet) {
  engine().job.registry_report_present = 1;
  EXPECT_EQ(DLL_AnalyseVolume("C"), 1);
  EXPECT_EQ(analysis_index(),
            "<tr><td class=header width=100><a href=registryreport.html target=mainFrame>"
            "Registry</a></td><td class=header width=50><a href=analysisreport1.html "
            "target=mainFrame>C:\\</a></td></tr>");
  EXPECT_EQ(engine().job.stop_requested, 1);
  EXPECT_EQ(engine().job.run_mode, 0);
  EXPECT_EQ(engine().job.analysis_worker.load(), nullptr);
}

// Catches a letter without a map that does not advance the page number, or
// that gets an index cell pointing to a page never written.
TEST_F(RunExports, ALetterWithoutAMapStillCountsForThePageNumber) {
  folder.write("analysisreportmodel.html", bytes("<!--table-->"));
  EXPECT_EQ(DLL_AnalyseVolume("FD"), 1);
  EXPECT_FALSE(folder.exists("analysisreport1.html"));
  EXPECT_TRUE(folder.exists("analysisreport2.html"));
  EXPECT_EQ(analysis_index(),
            "<tr><td class=header width=50><a href=analysisreport2.html target=mainFrame>"
            "D:\\</a></td></tr>");
}

// Catches an empty or null letter string that hangs the export or skips the
// end of the run.
TEST_F(RunExports, EmptyAndNullLetterStringsStillEndTheRun) {
  record_visits();
  for (const char* letters : {"", static_cast<const char*>(nullptr)}) {
    DeleteFileA(folder.file("analysisreporttop.html").c_str());
    engine().job.stop_requested = 0;
    EXPECT_EQ(DLL_AnalyseVolume(letters), 1);
    EXPECT_TRUE(folder.exists("analysisreporttop.html"));
    EXPECT_EQ(engine().job.stop_requested, 1);
    EXPECT_EQ(engine().job.volume_letters[0], '\0');
  }
  EXPECT_TRUE(visits.empty());
  EXPECT_EQ(DLL_DefragVolume(""), 1);
  EXPECT_EQ(engine().job.run_mode, 0) << "the defragmentation worker ended the run";
}

// Catches a letter string copied past the 256-byte buffer or without its
// terminating NUL.
TEST_F(RunExports, TakesAtMost255Letters) {
  record_visits();
  const std::string letters(300, 'C');
  EXPECT_EQ(DLL_AnalyseVolume(letters.c_str()), 1);
  EXPECT_EQ(strnlen(engine().job.volume_letters, 256), 255u);
  ASSERT_EQ(visits.size(), 255u);
  EXPECT_EQ(visits.back().page_number, 255);
}

// Catches an export that returns while the analysis worker still runs, and
// a status that does not show the analysis meanwhile.
TEST_F(RunExports, AnalysisBlocksUntilTheWorkerEnds) {
  gate entered, release;
  install_analysis_step(engine(), [&](engine_state&, const analysis_turn&) {
    entered.open();
    release.wait();
  });
  std::atomic<int> result{0};
  std::thread job([&] { result = DLL_AnalyseVolume("C"); });
  ASSERT_TRUE(entered.wait());

  EXPECT_EQ(result, 0) << "returned while the worker was held";
  const WorkingStatus* status = DLL_GetWorkingStatus();
  EXPECT_EQ(status->state, working_analysing);
  EXPECT_EQ(status->volume, 'C');

  release.open();
  job.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(engine().job.analysis_worker.load(), nullptr);
  EXPECT_EQ(DLL_GetWorkingStatus()->state, working_idle);
}

// Catches a defragmentation export that returns after the analysis alone:
// the defragmentation worker ends the run with mode 0.
TEST_F(RunExports, DefragmentationBlocksUntilBothWorkersEnd) {
  for (int mode : {1, 2}) {
    engine().job.run_mode = -1;
    EXPECT_EQ(mode == 1 ? DLL_DefragVolume("CD") : DLL_OptimizedDefragVolume("CD"), 1);
    EXPECT_EQ(engine().job.analysis_worker.load(), nullptr) << mode;
    EXPECT_EQ(engine().job.defrag_worker.load(), nullptr) << mode;
    EXPECT_EQ(engine().job.run_mode, 0) << mode;
    EXPECT_EQ(engine().job.stop_requested, 1) << mode;
  }
  EXPECT_EQ(messages.texts.size(), 4u) << "C and D, twice";
  EXPECT_FALSE(folder.exists("analysisreporttop.html")) << "a defragmentation job has no analysis index";
}

// Catches a stop that does not end the letter loop, or a stopped analysis
// that goes on to defragment.
TEST_F(RunExports, StopDuringAnalysisEndsTheJob) {
  install_analysis_step(engine(), [&](engine_state&, const analysis_turn& turn) {
    visits.push_back({turn.letter, turn.slot, turn.page_number, 0, 0});
    if (turn.letter == 'C') DLL_WorkingStop();
  });
  EXPECT_EQ(DLL_DefragVolume("CD"), 1);
  ASSERT_EQ(visits.size(), 1u) << "D was taken after the stop";
  EXPECT_EQ(engine().job.run_mode, 1) << "the defragmentation worker ran";
  EXPECT_EQ(engine().job.stop_requested, 1);

  visits.clear();
  EXPECT_EQ(DLL_AnalyseVolume("CD"), 1);
  EXPECT_EQ(visits.size(), 1u);
  EXPECT_TRUE(folder.exists("analysisreporttop.html")) << "an analysis job writes its index";
}

// Catches a stop made just as the analysis of a defragmentation job ends,
// after the worker has tested the flag: a reset of the flag apart from its
// test would lose it, and the volumes would be defragmented after all (each
// small volume then gets the free-space message).
TEST_F(RunExports, AStopMadeAsTheAnalysisEndsIsNotLost) {
  record_visits();
  engine().after_stop_taken = [](engine_state&) { DLL_WorkingStop(); };
  EXPECT_EQ(DLL_DefragVolume("CD"), 1);
  engine().after_stop_taken = nullptr;
  EXPECT_EQ(visits.size(), 2u);
  EXPECT_TRUE(messages.texts.empty()) << "the defragmentation took the volumes";
  EXPECT_EQ(engine().job.stop_requested, 1);
}

// Catches a stop that leaves the registry report in the next report set.
TEST_F(RunExports, StopDropsTheRegistryReport) {
  engine().job.registry_report_present = 1;
  engine().job.stop_requested = 0;
  DLL_WorkingStop();
  EXPECT_EQ(engine().job.stop_requested, 1);
  EXPECT_EQ(engine().job.registry_report_present, 0);
}

// Catches a second run export that rewrites the letters and the mode under a
// running worker, or that waits for the first run.
TEST_F(RunExports, ARunDuringARunReturnsAtOnceAndChangesNothing) {
  gate entered, release;
  install_analysis_step(engine(), [&](engine_state&, const analysis_turn&) {
    entered.open();
    release.wait();
  });
  std::thread job([&] { DLL_AnalyseVolume("C"); });
  ASSERT_TRUE(entered.wait());

  EXPECT_EQ(DLL_DefragVolume("DF"), 1);
  EXPECT_EQ(DLL_OptimizedDefragVolume(nullptr), 1);
  EXPECT_STREQ(engine().job.volume_letters, "C");
  EXPECT_EQ(engine().job.run_mode, 0);
  EXPECT_EQ(engine().job.stop_requested, 0);

  release.open();
  job.join();
  EXPECT_EQ(engine().job.stop_requested, 1);
}

// Catches an unload that frees the engine under a run export still waiting
// for its worker: the unload stops the worker and lets the export return.
TEST_F(RunExports, UnloadDuringARunStopsItAndWaitsForTheExport) {
  gate entered;
  install_analysis_step(engine(), [&](engine_state& e, const analysis_turn&) {
    entered.open();
    while (e.job.stop_requested == 0) Sleep(1);
  });
  std::atomic<int> result{0};
  std::thread job([&] { result = DLL_DefragVolume("CD"); });
  ASSERT_TRUE(entered.wait());
  unload_engine();
  EXPECT_EQ(current_engine(), nullptr);
  job.join();
  EXPECT_EQ(result, 1);
}

}  // namespace
}  // namespace dravik::testing
