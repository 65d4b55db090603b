// A defragmentation stopped after every move in turn, plain and optimised:
// whenever it stops, the volume stays sound, no handle stays open and every
// file still reads its own data in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "defrag/defrag_fixture.h"
#include "simulated_volume/volume_generator.h"

namespace dravik::testing {
namespace {

using sim::extent;
using sim::node_id;
using sim::volume_model;

// A small generated NTFS volume (64 KiB clusters, about 3,000 of them free, so it
// may be defragmented) with many fragmented files, compressed and sparse
// ones among them, and the entries that never open.
sim::generator_settings small_fragmented_volume() {
  sim::generator_settings settings;
  settings.seed = 27;
  settings.sectors_per_cluster = 128;
  settings.total_clusters = 6000;
  settings.files = 240;
  settings.folders = 24;
  settings.max_depth = 3;
  settings.fragmented_share = 0.4;
  settings.max_fragments = 8;
  settings.compressed_share = 0.05;
  settings.sparse_share = 0.05;
  settings.free_share = 0.5;
  settings.free_scatter = 0.8;
  settings.track_contents = true;
  return settings;
}

// What each cluster of the volume holds, modelled apart from the simulator:
// every cluster a file had at the start is named for its file and VCN, and
// each move the simulator carried out carries the names from the source to
// the target clusters.
class content_model {
 public:
  explicit content_model(const volume_model& volume) : volume_(volume) {
    held_.assign(static_cast<size_t>(volume.geometry().total_clusters), 0);
    for (node_id node = 0; node < volume.node_count(); ++node) {
      if (!volume.alive(node) || volume.is_directory(node)) continue;
      files_.push_back(node);
      ids_["C:" + volume.path_of(node)] = node;
      real_clusters_.push_back(0);
      each_real_cluster(node, [&](int64_t vcn, int64_t lcn) {
        held_[static_cast<size_t>(lcn)] = name_of(node, vcn);
        ++real_clusters_.back();
      });
    }
  }

  // Before a move request reaches the volume: the previous request is
  // carried into the model when the simulator counted it done.
  void before_move(const sim::move_request& request, uint64_t moves_done) {
    settle(moves_done);
    const node_id node = ids_.at(request.path);
    pending_ = pending_move{node, request.starting_lcn, {}};
    for (DWORD k = 0; k < request.cluster_count; ++k)
      pending_->sources.push_back(lcn_of(node, request.starting_vcn + k));
  }

  void settle(uint64_t moves_done) {
    if (pending_ && moves_done > moves_seen_) {
      std::vector<uint64_t> names;
      for (int64_t source : pending_->sources) names.push_back(take(source));
      for (size_t k = 0; k < names.size(); ++k) held_.at(pending_->target + k) = names[k];
    }
    moves_seen_ = moves_done;
    pending_.reset();
  }

  // One line for each of the first few files whose clusters, read in VCN
  // order, are not its own data, or whose count of real clusters changed.
  std::vector<std::string> damaged_files() const {
    constexpr size_t shown = 5;
    std::vector<std::string> damaged;
    for (size_t i = 0; i < files_.size() && damaged.size() < shown; ++i) {
      const node_id node = files_[i];
      uint64_t clusters = 0;
      bool in_order = true;
      each_real_cluster(node, [&](int64_t vcn, int64_t lcn) {
        ++clusters;
        if (held_[static_cast<size_t>(lcn)] != name_of(node, vcn)) in_order = false;
      });
      if (!in_order)
        damaged.push_back(volume_.path_of(node) + ": clusters out of order");
      else if (clusters != real_clusters_[i])
        damaged.push_back(volume_.path_of(node) + ": clusters lost");
    }
    return damaged;
  }

 private:
  struct pending_move {
    node_id node;
    int64_t target;
    std::vector<int64_t> sources;
  };

  static uint64_t name_of(node_id node, int64_t vcn) {
    return (uint64_t{node} + 1) << 32 | static_cast<uint64_t>(vcn);
  }

  template <typename visit>
  void each_real_cluster(node_id node, visit&& on_cluster) const {
    int64_t start = 0;
    for (uint32_t i = 0; i < volume_.extent_count(node); ++i) {
      const extent& e = volume_.extents(node)[i];
      if (e.lcn != sim::virtual_lcn)
        for (int64_t vcn = start; vcn < e.next_vcn; ++vcn) on_cluster(vcn, e.lcn + vcn - start);
      start = e.next_vcn;
    }
  }

  int64_t lcn_of(node_id node, int64_t vcn) const {
    int64_t start = 0;
    for (uint32_t i = 0; i < volume_.extent_count(node); ++i) {
      const extent& e = volume_.extents(node)[i];
      if (vcn < e.next_vcn) return e.lcn == sim::virtual_lcn ? -1 : e.lcn + vcn - start;
      start = e.next_vcn;
    }
    return -1;
  }

  uint64_t take(int64_t lcn) {
    if (lcn < 0) return 0;
    const uint64_t name = held_.at(static_cast<size_t>(lcn));
    held_[static_cast<size_t>(lcn)] = 0;
    return name;
  }

  const volume_model& volume_;
  std::vector<uint64_t> held_;  // by LCN; 0: no file's data
  std::vector<node_id> files_;
  std::vector<uint64_t> real_clusters_;  // by index into files_
  std::map<std::string, node_id> ids_;
  std::optional<pending_move> pending_;
  uint64_t moves_seen_ = 0;
};

// How one run ended.
struct run_outcome {
  uint64_t requests = 0;
  bool interrupted = false;
};

class DefragStopSweep : public DefragFixture {
 protected:
  // Defragments a fresh copy of the volume, stopping the engine during the
  // move request numbered stop_at (0: never), and checks what it leaves.
  run_outcome run(int32_t run_mode, uint64_t stop_at) {
    const std::string where = "run mode " + std::to_string(run_mode) + ", stop at move " +
                              std::to_string(stop_at);
    sim::simulated_volume volume_io;
    std::unique_ptr<volume_model> generated = sim::generate_volume(small_fragmented_volume());
    content_model contents(*generated);
    volume_io.add_volume('C', std::move(generated));
    volume_io.set_wow64(true);
    volume_io.set_move_hook([&](const sim::move_request& request) {
      contents.before_move(request, volume_io.moves_done());
      if (request.number == stop_at) engine().job.stop_requested = 1;
    });

    dravik::volume_io* previous = dravik::install_volume_io(&volume_io);
    load();
    const size_t volume_handles = volume_io.open_handle_count();
    defragment('C', 1, run_mode);
    contents.settle(volume_io.moves_done());
    const run_outcome outcome{volume_io.move_requests(), walk().interrupted != 0};
    EXPECT_EQ(volume_io.open_handle_count(), volume_handles) << where;
    dravik::unload_engine();
    dravik::install_volume_io(previous);

    EXPECT_EQ(volume_io.open_handle_count(), 0u) << where << "\n"
                                                  << joined(volume_io.open_handles());
    EXPECT_TRUE(volume_io.misuse().empty()) << where << "\n" << joined(volume_io.misuse());
    EXPECT_TRUE(volume_io.check_invariants().empty())
        << where << "\n" << joined(volume_io.check_invariants());
    EXPECT_TRUE(contents.damaged_files().empty())
        << where << "\n" << joined(contents.damaged_files());
    return outcome;
  }
};

struct sweep_case {
  const char* name;
  int32_t run_mode;
};

// Catches a stop that loses or mixes up a file's clusters, leaves a file or
// search handle open, lets a move through after the stop, or leaves an
// unfinished run looking finished (its date recorded, its files optimised),
// at whichever move it comes.
TEST_F(DefragStopSweep, AStopAtAnyMoveLosesNothing) {
  const sweep_case cases[] = {{"plain", 1}, {"optimised", 2}};
  for (const sweep_case& c : cases) {
    const run_outcome full = run(c.run_mode, 0);
    ASSERT_GT(full.requests, 20u) << c.name << ": too few moves to sweep";
    EXPECT_FALSE(full.interrupted) << c.name;
    for (uint64_t n = 1; n <= full.requests; ++n) {
      const run_outcome stopped = run(c.run_mode, n);
      EXPECT_EQ(stopped.requests, n) << c.name << ": moves after a stop at move " << n;
      if (!stopped.interrupted) {
        EXPECT_EQ(n, full.requests) << c.name << ": a run stopped at move " << n
                                    << " reported as finished";
      }
    }
    std::printf("[ sweep    ] %s defragmentation: %llu stop points, one at each move\n", c.name,
                static_cast<unsigned long long>(full.requests));
  }
}

}  // namespace
}  // namespace dravik::testing
