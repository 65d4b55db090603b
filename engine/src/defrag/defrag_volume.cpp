#include "defrag/defrag_volume.h"

#include <cstdio>
#include <ctime>

#include "analysis/analysis_variant.h"
#include "files/defrag_date_file.h"
#include "defrag/defrag_walk.h"
#include "core/engine_state.h"
#include "options/exclusion_lists.h"
#include "classlib/message_box.h"
#include "defrag/optimize_pass.h"
#include "defrag/optimize_set.h"
#include "reports/report_index.h"
#include "reports/report_pages.h"
#include "reports/report_time.h"
#include "volume/volume_access.h"
#include "reports/volume_page_figures.h"

namespace dravik {

namespace {

// Binds the walk to one slot's map, the folder exclusions and, in run mode 2,
// the optimisation set; lets go of them, of the free runs and of every
// recorded entry however the volume ends, so no later pass sees them.
class defrag_binding {
 public:
  defrag_binding(engine_state& engine, int slot) : engine_(engine), context_(engine.context) {
    volume_table_entry& volume = engine.volumes[slot];
    context_.working_slot = slot;
    context_.bytes_per_cluster = volume.bytes_per_cluster;
    context_.cursor.cells = volume.cells.get();
    context_.cursor.cell_index = 0;
    context_.cursor.in_system_folder = 0;
    context_.walk.defrag_exclusions = &engine.options.excluded_folders;
    free_optimize_set(engine.optimize_set);
    context_.walk.optimize_set = engine.globals.run_mode == 2 ? &engine.optimize_set : nullptr;
  }
  ~defrag_binding() {
    context_.free_runs_by_length.clear();
    context_.free_run_cursor = context_.free_runs_by_length.end();
    context_.free_runs_by_start.clear();
    context_.walk.defrag_exclusions = nullptr;
    context_.walk.optimize_set = nullptr;
    free_optimize_set(engine_.optimize_set);
    context_.cursor.cells = nullptr;
  }
  defrag_binding(const defrag_binding&) = delete;
  defrag_binding& operator=(const defrag_binding&) = delete;

 private:
  engine_state& engine_;
  engine_context& context_;
};

// optimising is 1 for the status poll while the pass runs, however it ends.
class optimising_scope {
 public:
  explicit optimising_scope(engine_context& context) noexcept : context_(context) {
    context_.optimising = 1;
  }
  ~optimising_scope() { context_.optimising = 0; }
  optimising_scope(const optimising_scope&) = delete;
  optimising_scope& operator=(const optimising_scope&) = delete;

 private:
  engine_context& context_;
};

void reset_walk_counts(walk_state& walk) noexcept {
  walk.directories_scanned = 0;
  walk.files_scanned = 0;
  walk.big_fragment_files = 0;
}

void set_recency(engine_state& engine, int32_t recency) noexcept {
  engine.globals.recency_state = recency;
  engine.context.walk.recency_state = recency;
}

void optimise(engine_state& engine) {
  engine_context& context = engine.context;
  context.report_strings.optimize_rows.clear();
  const optimising_scope optimising(context);
  optimize_volume(context, engine.optimize_set);
  context.walk.optimize_set = nullptr;
  free_optimize_set(engine.optimize_set);
}

void defrag_mapped_volume(engine_state& engine, int slot, char letter, int page_number) {
  engine_context& context = engine.context;
  volume_table_entry& volume = engine.volumes[slot];
  report_strings& strings = context.report_strings;
  walk_state& walk = context.walk;
  const std::string& folder = engine.globals.application_folder;

  if (!has_room_to_defragment(volume.bytes_per_cluster, volume.free_clusters)) {
    AfxMessageBox(free_space_message(engine.globals.current_letter_text.get()).c_str(), MB_OK);
    return;
  }
  add_volume_index_cell(strings, report_kind::defrag, page_number, letter);
  if (!compute_cell_size(context, slot)) return;

  const defrag_binding binding(engine, slot);
  reset_walk_counts(walk);
  context.totalUnits = volume.used_clusters;
  context.doneUnits = 1;
  strings.fragment_rows.clear();
  mark_start_time(strings, report_clock_now());
  set_recency(engine, read_recency_state(folder + "defragdate", slot, std::time(nullptr)));

  defrag_tree(context, choose_analysis_variant(volume.file_system_name, volume.bytes_per_cluster,
                                               volume.used_clusters));
  walk.defrag_exclusions = nullptr;

  if (walk.interrupted == 0 && write_defrag_date(folder + "defragdate", slot, std::time(nullptr)))
    set_recency(engine, recency_recent);
  if (walk.interrupted == 0 && engine.globals.run_mode == 2) optimise(engine);

  mark_finish_time(strings, report_clock_now());
  write_defrag_page(strings, folder, page_number, volume_figures_of(volume, letter),
                    walk_figures_of(walk), volume.fragmentation_text,
                    engine.globals.run_mode == 2 && walk.interrupted == 0);
}

}  // namespace

bool has_room_to_defragment(uint32_t bytes_per_cluster, uint64_t free_clusters) noexcept {
  // Free clusters come from a 32-bit count, so the product fits 64 bits.
  return uint64_t{bytes_per_cluster} * free_clusters >= least_free_bytes_to_defragment;
}

std::string free_space_message(const std::string& letter_text) {
  char text[300];
  std::snprintf(text, sizeof text, "没有足够空间, 卷 %.200s 不能进行碎片整理.",
                letter_text.c_str());
  return text;
}

void defrag_volume(engine_state& engine, const defrag_turn& turn) noexcept {
  const int slot = turn.slot;
  if (slot < 0 || slot >= slot_count || !engine.context.volume_handles[slot].is_open() ||
      engine.volumes[slot].cells == nullptr)
    return;
  try {
    defrag_mapped_volume(engine, slot, turn.letter, turn.page_number);
  } catch (...) {
    // Out of memory: this volume gets no page; the worker goes on.
  }
}

}  // namespace dravik
