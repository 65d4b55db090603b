#include "analysis/analysis_volume.h"

#include <ctime>
#include <iterator>

#include "analysis/analysis_variant.h"
#include "analysis/analysis_walk.h"
#include "files/defrag_date_file.h"
#include "options/exclusion_index.h"
#include "options/exclusion_lists.h"
#include "reports/report_index.h"
#include "reports/report_pages.h"
#include "reports/report_percentage.h"
#include "reports/report_time.h"
#include "volume/volume_access.h"
#include "reports/volume_page_figures.h"

namespace dravik {

namespace {

// Binds the records to one slot's map and lists, and lets go of them (and of
// the free runs) however the analysis ends.
class volume_binding {
 public:
  volume_binding(const analysis_volume_records& records, int slot) : records_(records) {
    volume_table_entry& volume = records.volumes[slot];
    records.job.working_slot = slot;
    records.job.bytes_per_cluster = volume.bytes_per_cluster;
    records.cursor.cells = volume.cells.get();
    records.cursor.cell_index = 0;
    records.cursor.in_system_folder = 0;
    records.walk.file_lists = &records.file_lists[slot];
  }
  ~volume_binding() {
    records_.work.empty_free_runs_by_length();
    records_.walk.file_lists = nullptr;
    records_.cursor.cells = nullptr;
  }
  volume_binding(const volume_binding&) = delete;
  volume_binding& operator=(const volume_binding&) = delete;

 private:
  const analysis_volume_records& records_;
};

void clear_cells(cell_map& cells) noexcept {
  for (cluster_cell& cell : cells) cell.assign({});
}

// The longest free run of the bitmap just read, with the cursor on it.
uint64_t find_longest_free_run(volume_work& work) {
  // The map is emptied after every use; emptying it here too keeps a run of
  // an earlier volume from ever counting on this one.
  work.free_runs_by_length.clear();
  scan_free_runs_by_length(work);
  if (work.free_runs_by_length.empty()) {
    work.free_run_cursor = work.free_runs_by_length.end();
    return 0;
  }
  work.free_run_cursor = std::prev(work.free_runs_by_length.end());
  return work.free_run_cursor->first;
}

void reset_walk_counts(walk_state& walk) noexcept {
  walk.directories_scanned = 0;
  walk.files_scanned = 0;
  walk.big_fragment_files = 0;
  walk.small_fragment_files = 0;
}

// The volume's page from the walk's counts and the volume's facts at load.
void write_page(const analysis_volume_records& records, int slot, char letter, int page_number) {
  volume_table_entry& volume = records.volumes[slot];
  const cell_map& cells = *volume.cells;
  write_analysis_page(records.reports, records.application_folder, page_number,
                      volume_figures_of(volume, letter), walk_figures_of(records.walk),
                      records.walk.recency_state,
                      count_fragmentation_cells(cells.data(), cells.size()),
                      volume.fragmentation_text);
}

void analyse_mapped_volume(const analysis_volume_records& records, int slot, char letter,
                           int page_number) {
  volume_table_entry& volume = records.volumes[slot];
  report_strings& strings = records.reports;
  const std::string& folder = records.application_folder;

  add_volume_index_cell(strings, report_kind::analysis, page_number, letter);
  clear_cells(*volume.cells);
  if (!compute_cell_size(records.work.bitmap, volume.handle.get(), records.cursor)) return;

  const volume_binding binding(records, slot);
  // The exclusions as they stand when the volume begins.
  exclusion_index exclusions;
  exclusions.build(records.options.excluded_folders, records.options.excluded_files);
  walk_state& walk = records.walk;
  walk.longest_free_run = find_longest_free_run(records.work);
  records.file_lists[slot].clear();

  records.status.totalUnits = volume.used_clusters;
  records.status.doneUnits = 1;
  reset_walk_counts(walk);
  strings.fragment_rows.clear();
  mark_start_time(strings, report_clock_now());

  const int32_t recency = read_recency_state(folder + "defragdate", slot, std::time(nullptr));
  records.job.recency_state = recency;
  walk.recency_state = recency;

  const analysis_walk_records walk_records{
      records.job, records.status, records.volumes, walk, records.cursor, records.extents, strings,
      exclusions};
  analyse_tree(walk_records, choose_analysis_variant(volume.file_system_name,
                                                     volume.bytes_per_cluster,
                                                     volume.used_clusters));
  mark_finish_time(strings, report_clock_now());
  write_page(records, slot, letter, page_number);
}

}  // namespace

void analyse_volume(const analysis_volume_records& records, const analysis_turn& turn) noexcept {
  const int slot = turn.slot;
  if (slot < 0 || slot >= slot_count || !records.volumes[slot].handle.is_open() ||
      records.volumes[slot].cells == nullptr)
    return;
  try {
    analyse_mapped_volume(records, slot, turn.letter, turn.page_number);
  } catch (...) {
    // Out of memory: this volume gets no page; the worker goes on.
  }
}

}  // namespace dravik
