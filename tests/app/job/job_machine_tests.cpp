// Jobs from start to report through the registry and volume phases, and
// the progress bar the ticks drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "job/job_fixture.h"
#include "startup/program_texts.h"

namespace tessarel::testing {
namespace {

using Jobs = job_fixture;
using Progress = job_fixture;
using S = std::vector<std::string>;

// Registry then C: the scan (bar 0..7, no timer), then the analysis with the
// timer on C, then report 1. Catches a skipped phase or a report too early.
TEST_F(Jobs, AnalysisRunsRegistryThenVolumesThenReport1) {
  select(L"C", true);
  ASSERT_TRUE(machine.start_analysis());
  EXPECT_EQ(panel.activity(), 1);
  EXPECT_EQ(host.lines("registry"), S{"registry scan"});
  EXPECT_EQ(host.lines("range"), S{"range 7"});
  EXPECT_FALSE(host.timer_running);
  EXPECT_TRUE(machine.busy());
  EXPECT_FALSE(machine.start_analysis()) << "a second job while one runs";

  record(regscan::progress_scan, true, L"HKCU\\A");
  record(regscan::progress_scan_end);
  EXPECT_EQ(host.lines("engine"), S{"engine analyse C"});
  EXPECT_TRUE(host.timer_running);
  EXPECT_TRUE(host.has("show_volume C"));
  EXPECT_FALSE(host.has("report 1"));

  engine_done(0);
  EXPECT_EQ(host.lines("report"), S{"report 1"});
  EXPECT_FALSE(host.timer_running);
  EXPECT_FALSE(host.progress_shown);
  EXPECT_TRUE(idle());
  EXPECT_EQ(exit_action, exit_action_none);
}

// Plain defragmentation of C and D: the defragmentation, then a fresh
// analysis of the same letters, then report 2 (not 1) and nothing between.
TEST_F(Jobs, DefragmentationReanalysesThenOpensReport2) {
  select(L"CD", false);
  ASSERT_TRUE(machine.defrag_plain());
  EXPECT_EQ(host.lines("engine"), S{"engine defragment CD"});
  engine_done(1);
  EXPECT_EQ(host.lines("engine"), (S{"engine defragment CD", "engine analyse CD"}));
  EXPECT_EQ(panel.end_mode(), 2);
  EXPECT_FALSE(host.has("report 1"));
  EXPECT_FALSE(host.has("report 2"));
  engine_done(0);
  EXPECT_EQ(host.lines("report"), S{"report 2"});
  EXPECT_TRUE(idle());
}

// Optimised: two volumes ask first (No starts nothing), one volume does not.
TEST_F(Jobs, OptimisedDefragmentationConfirmsSeveralVolumes) {
  select(L"CD", false);
  host.box_answers = {IDNO};
  EXPECT_FALSE(machine.defrag_optimized());
  ASSERT_EQ(host.box_texts.size(), 1u);
  EXPECT_EQ(host.box_texts[0], msg_confirm_multi_volume);
  EXPECT_TRUE(host.has("box " + std::to_string(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2)));
  EXPECT_FALSE(host.has("engine optimise CD"));
  EXPECT_FALSE(machine.plain_defrag());
  EXPECT_TRUE(idle());

  host.box_answers = {IDYES};
  ASSERT_TRUE(machine.defrag_optimized());
  EXPECT_TRUE(host.has("engine optimise CD"));
  engine_done(1);
  engine_done(0);

  select(L"D", false);
  ASSERT_TRUE(machine.defrag_optimized());
  EXPECT_EQ(host.box_texts.size(), 2u) << "one volume needs no confirmation";
  EXPECT_TRUE(host.has("engine optimise D"));
}

// Registry only: scan and clean (bar 0..2572), report 2 at once; the clean
// display shows every key, the scan display the first and every eleventh.
TEST_F(Jobs, RegistryOnlyDefragmentationCleansAndOpensReport2) {
  select(L"", true);
  ASSERT_TRUE(machine.defrag_plain());
  EXPECT_EQ(host.lines("registry"), S{"registry clean"});
  EXPECT_EQ(host.lines("range"), S{"range 2572"});
  EXPECT_EQ(host.lines("step_size"), S{"step_size 1"});
  for (int i = 0; i < 12; ++i) record(regscan::progress_scan, i < 7, L"scan " + std::to_wstring(i));
  EXPECT_EQ(panel.item_text(), L"scan 11");
  record(regscan::progress_scan, false, L"scan 12");
  EXPECT_EQ(panel.item_text(), L"scan 11") << "countdown between shown keys";
  record(regscan::progress_clean, true, L"clean 0");
  EXPECT_EQ(panel.item_text(), L"clean 0");
  EXPECT_EQ(host.count("stepit"), 8);
  EXPECT_FALSE(host.timer_running);
  record(regscan::progress_clean_end);
  EXPECT_EQ(host.lines("report"), S{"report 2"});
  EXPECT_FALSE(host.has("engine analyse "));
  EXPECT_TRUE(idle());
}

TEST_F(Jobs, NothingCheckedShowsSelectFirstAndStaysIdle) {
  select(L"", false);
  EXPECT_FALSE(machine.start_analysis());
  EXPECT_FALSE(machine.defrag_plain());
  ASSERT_EQ(host.box_texts.size(), 2u);
  EXPECT_EQ(host.box_texts[0], msg_select_before_analysis);
  EXPECT_EQ(host.box_texts[1], msg_select_before_defrag);
  EXPECT_TRUE(idle());
  EXPECT_FALSE(host.has("report 1"));
}

// The map follows the engine's letter from volume to volume.
TEST_F(Jobs, TickFollowsTheEngineLetter) {
  select(L"CD", false);
  ASSERT_TRUE(machine.start_analysis());
  tick('C', 1, 0, 0);
  tick('D', 1, 0, 0);
  tick('D', 1, 0, 0);
  tick(0, 1, 0, 0);
  EXPECT_EQ(host.lines("show_volume"), (S{"show_volume C", "show_volume D"}));
  EXPECT_EQ(host.count("refresh_map 0"), 4);
}

// Totals 1000, 100,000 and 6,553,500 get their own range and exact
// positions; equal and stale done counts change nothing.
TEST_F(Progress, TicksDriveTheBar) {
  for (uint64_t total : {1000ull, 100000ull, 6553500ull}) {
    host.journal.clear();
    select(L"C", false);
    ASSERT_TRUE(machine.start_analysis());
    tick('C', 1, total, 0);
    EXPECT_TRUE(host.lines("range").empty()) << "nothing while done is 0";
    tick('C', 1, total, 10);
    tick('C', 1, total, total - 1);
    tick('C', 1, total, total - 1);
    tick('C', 1, total, 20);
    tick('C', 1, total, total);
    EXPECT_EQ(host.lines("range"), S{"range " + std::to_string(total)});
    EXPECT_EQ(host.lines("pos"), (S{"pos 0", "pos " + std::to_string(total - 1)}));
    engine_done(0);
  }
}

// A new total (the next volume) or a new kind of work resets the bar; a
// total above 2^31 is scaled.
TEST_F(Progress, ResetOnNewTotalOrKindAndScaledAboveInt) {
  select(L"CD", false);
  ASSERT_TRUE(machine.defrag_plain());
  tick('C', 1, 1000, 1);
  tick('D', 1, 1ull << 33, 1ull << 32);
  tick('D', 2, 1ull << 33, 1ull << 32);
  EXPECT_EQ(host.lines("range"), (S{"range 1000", "range 1717986918", "range 1717986918"}));
  EXPECT_EQ(host.lines("pos"),
            (S{"pos 0", "pos 0", "pos 858993459", "pos 0", "pos 858993459"}));
}

// A registry phase starts its bar at 0, also after a job that left it
// full; the range comes first, so the position is not clipped to an old one.
TEST_F(Progress, RegistryPhaseStartsTheBarAtZero) {
  const struct {
    bool defrag;
    const char* range;
  } cases[] = {{false, "range 7"}, {true, "range 2572"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    select(L"C", false);
    ASSERT_TRUE(machine.start_analysis());
    tick('C', 1, 1000, 1);
    tick('C', 1, 1000, 999);
    engine_done(0);
    host.journal.clear();
    select(L"", true);
    ASSERT_TRUE(c.defrag ? machine.defrag_plain() : machine.start_analysis());
    const S bar = host.lines("range");
    const S positions = host.lines("pos");
    EXPECT_EQ(bar, S{c.range});
    EXPECT_EQ(positions, S{"pos 0"});
    const auto range_at = std::find(host.journal.begin(), host.journal.end(), c.range);
    const auto zero_at = std::find(host.journal.begin(), host.journal.end(), "pos 0");
    EXPECT_LT(range_at, zero_at);
    record(c.defrag ? regscan::progress_clean_end : regscan::progress_scan_end);
    ASSERT_TRUE(idle());
  }
}

// A tick outside a volume phase (idle, registry phase, after the end)
// shows nothing, not even the idle engine's numbers.
TEST_F(Progress, TickOutsideAVolumePhaseDoesNothing) {
  host.engine_at('C', 1, 1000, 500);
  machine.on_timer();
  EXPECT_TRUE(host.journal.empty());
  select(L"C", true);
  ASSERT_TRUE(machine.start_analysis());
  machine.on_timer();
  record(regscan::progress_scan_end);
  engine_done(0);
  const size_t after_end = host.journal.size();
  machine.on_timer();
  EXPECT_EQ(host.journal.size(), after_end);
  EXPECT_EQ(host.lines("pos"), S{"pos 0"}) << "the registry phase's start alone";
  EXPECT_EQ(host.lines("range"), S{"range 7"});
}

}  // namespace
}  // namespace tessarel::testing
