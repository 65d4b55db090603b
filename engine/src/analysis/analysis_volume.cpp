#include "analysis/analysis_volume.h"

#include <ctime>
#include <iterator>

#include "analysis/analysis_variant.h"
#include "analysis/analysis_walk.h"
#include "files/defrag_date_file.h"
#include "core/engine_state.h"
#include "options/exclusion_lists.h"
#include "reports/report_index.h"
#include "reports/report_pages.h"
#include "reports/report_percentage.h"
#include "reports/report_time.h"
#include "volume/volume_access.h"
#include "reports/volume_page_figures.h"

namespace dravik {

namespace {

// Binds the walk to one slot's map, lists and exclusions, and lets go of
// them (and of the free runs) however the analysis ends.
class volume_binding {
 public:
  volume_binding(engine_state& engine, int slot) : context_(engine.context) {
    volume_table_entry& volume = engine.volumes[slot];
    context_.working_slot = slot;
    context_.bytes_per_cluster = volume.bytes_per_cluster;
    context_.cursor.cells = volume.cells.get();
    context_.cursor.cell_index = 0;
    context_.cursor.in_system_folder = 0;
    context_.walk.file_lists = &engine.file_lists[slot];
    context_.walk.exclusions.build(engine.options.excluded_folders, engine.options.excluded_files);
  }
  ~volume_binding() {
    context_.free_runs_by_length.clear();
    context_.free_run_cursor = context_.free_runs_by_length.end();
    context_.walk.exclusions.clear();
    context_.walk.file_lists = nullptr;
    context_.cursor.cells = nullptr;
  }
  volume_binding(const volume_binding&) = delete;
  volume_binding& operator=(const volume_binding&) = delete;

 private:
  engine_context& context_;
};

void clear_cells(cell_map& cells) noexcept {
  for (cluster_cell& cell : cells) cell.assign({});
}

// The longest free run of the bitmap just read, with the cursor on it.
uint64_t find_longest_free_run(engine_context& context) {
  // The map is emptied after every use; emptying it here too keeps a run of
  // an earlier volume from ever counting on this one.
  context.free_runs_by_length.clear();
  scan_free_runs_by_length(context);
  if (context.free_runs_by_length.empty()) {
    context.free_run_cursor = context.free_runs_by_length.end();
    return 0;
  }
  context.free_run_cursor = std::prev(context.free_runs_by_length.end());
  return context.free_run_cursor->first;
}

void reset_walk_counts(walk_state& walk) noexcept {
  walk.directories_scanned = 0;
  walk.files_scanned = 0;
  walk.big_fragment_files = 0;
  walk.small_fragment_files = 0;
}

// The volume's page from the walk's counts and the volume's facts at load.
void write_page(engine_state& engine, int slot, char letter, int page_number) {
  const volume_table_entry& volume = engine.volumes[slot];
  const cell_map& cells = *volume.cells;
  write_analysis_page(engine.context.report_strings, engine.globals.application_folder,
                      page_number, volume_figures_of(volume, letter),
                      walk_figures_of(engine.context.walk), engine.context.walk.recency_state,
                      count_fragmentation_cells(cells.data(), cells.size()),
                      engine.volumes[slot].fragmentation_text);
}

void analyse_mapped_volume(engine_state& engine, int slot, char letter, int page_number) {
  engine_context& context = engine.context;
  volume_table_entry& volume = engine.volumes[slot];
  report_strings& strings = context.report_strings;
  const std::string& folder = engine.globals.application_folder;

  add_volume_index_cell(strings, report_kind::analysis, page_number, letter);
  clear_cells(*volume.cells);
  if (!compute_cell_size(context, slot)) return;

  const volume_binding binding(engine, slot);
  walk_state& walk = context.walk;
  walk.longest_free_run = find_longest_free_run(context);
  engine.file_lists[slot].clear();

  context.totalUnits = volume.used_clusters;
  context.doneUnits = 1;
  reset_walk_counts(walk);
  strings.fragment_rows.clear();
  mark_start_time(strings, report_clock_now());

  const int32_t recency = read_recency_state(folder + "defragdate", slot, std::time(nullptr));
  engine.globals.recency_state = recency;
  walk.recency_state = recency;

  analyse_tree(context, choose_analysis_variant(volume.file_system_name, volume.bytes_per_cluster,
                                                volume.used_clusters));
  mark_finish_time(strings, report_clock_now());
  write_page(engine, slot, letter, page_number);
}

}  // namespace

void analyse_volume(engine_state& engine, const analysis_turn& turn) noexcept {
  const int slot = turn.slot;
  if (slot < 0 || slot >= slot_count || !engine.context.volume_handles[slot].is_open() ||
      engine.volumes[slot].cells == nullptr)
    return;
  try {
    analyse_mapped_volume(engine, slot, turn.letter, turn.page_number);
  } catch (...) {
    // Out of memory: this volume gets no page; the worker goes on.
  }
}

}  // namespace dravik
