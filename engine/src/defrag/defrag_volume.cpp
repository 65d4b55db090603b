#include "defrag/defrag_volume.h"

#include <cstdio>
#include <ctime>

#include "analysis/analysis_variant.h"
#include "files/defrag_date_file.h"
#include "defrag/defrag_walk.h"
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

// Binds the records to one slot's map, the folder exclusions and, in run mode
// 2, the optimisation set; lets go of them, of the free runs and of every
// recorded entry however the volume ends, so no later pass sees them.
class defrag_binding {
 public:
  defrag_binding(const defrag_volume_records& volume_records, defrag_records& records, int slot)
      : optimize_set_(volume_records.optimize_set), records_(records) {
    volume_table_entry& volume = volume_records.volumes[slot];
    volume_records.job.working_slot = slot;
    volume_records.job.bytes_per_cluster = volume.bytes_per_cluster;
    records.cursor.cells = volume.cells.get();
    records.cursor.cell_index = 0;
    records.cursor.in_system_folder = 0;
    records.exclusions = &volume_records.options.excluded_folders;
    records.mover.freed_by_walk.clear();
    records.mover.refused_moves = 0;
    free_optimize_set(optimize_set_);
    records.optimize_set = volume_records.job.run_mode == 2 ? &optimize_set_ : nullptr;
  }
  ~defrag_binding() {
    records_.work.empty_free_runs_by_length();
    records_.work.free_runs_by_start.clear();
    records_.mover.freed_by_walk.clear();
    records_.exclusions = nullptr;
    records_.optimize_set = nullptr;
    free_optimize_set(optimize_set_);
    records_.cursor.cells = nullptr;
  }
  defrag_binding(const defrag_binding&) = delete;
  defrag_binding& operator=(const defrag_binding&) = delete;

 private:
  optimize_map& optimize_set_;
  defrag_records& records_;
};

// optimising is 1 for the status poll while the pass runs, however it ends.
class optimising_scope {
 public:
  explicit optimising_scope(status_feed& status) noexcept : status_(status) {
    status_.optimising = 1;
  }
  ~optimising_scope() { status_.optimising = 0; }
  optimising_scope(const optimising_scope&) = delete;
  optimising_scope& operator=(const optimising_scope&) = delete;

 private:
  status_feed& status_;
};

void reset_walk_counts(walk_state& walk) noexcept {
  walk.directories_scanned = 0;
  walk.files_scanned = 0;
  walk.big_fragment_files = 0;
}

void set_recency(const defrag_volume_records& volume_records, int32_t recency) noexcept {
  volume_records.job.recency_state = recency;
  volume_records.walk.recency_state = recency;
}

void optimise(const defrag_volume_records& volume_records, defrag_records& records) {
  records.reports.optimize_rows.clear();
  const optimising_scope optimising(records.status);
  optimize_volume(records, volume_records.optimize_set);
  records.optimize_set = nullptr;
  free_optimize_set(volume_records.optimize_set);
}

void defrag_mapped_volume(const defrag_volume_records& volume_records, int slot, char letter,
                          int page_number) {
  job_control& job = volume_records.job;
  volume_table_entry& volume = volume_records.volumes[slot];
  report_strings& strings = volume_records.reports;
  walk_state& walk = volume_records.walk;
  const std::string& folder = volume_records.application_folder;

  if (!has_room_to_defragment(volume.bytes_per_cluster, volume.free_clusters)) {
    AfxMessageBox(free_space_message(job.current_letter_text.get()).c_str(), MB_OK);
    return;
  }
  add_volume_index_cell(strings, report_kind::defrag, page_number, letter);
  if (!compute_cell_size(volume_records.work.bitmap, volume.handle.get(), volume_records.cursor))
    return;

  defrag_records records{job,
                         volume_records.status,
                         volume_records.volumes,
                         walk,
                         volume_records.cursor,
                         volume_records.extents,
                         volume_records.work,
                         volume_records.mover,
                         strings};
  const defrag_binding binding(volume_records, records, slot);
  reset_walk_counts(walk);
  volume_records.status.totalUnits = volume.used_clusters;
  volume_records.status.doneUnits = 1;
  strings.fragment_rows.clear();
  mark_start_time(strings, report_clock_now());
  set_recency(volume_records, read_recency_state(folder + "defragdate", slot, std::time(nullptr)));

  defrag_tree(records, choose_analysis_variant(volume.file_system_name, volume.bytes_per_cluster,
                                               volume.used_clusters));
  records.exclusions = nullptr;
  records.mover.freed_by_walk.clear();

  if (walk.interrupted == 0 && write_defrag_date(folder + "defragdate", slot, std::time(nullptr)))
    set_recency(volume_records, recency_recent);
  if (walk.interrupted == 0 && job.run_mode == 2) optimise(volume_records, records);

  mark_finish_time(strings, report_clock_now());
  write_defrag_page(strings, folder, page_number, volume_figures_of(volume, letter),
                    walk_figures_of(walk), volume.fragmentation_text,
                    job.run_mode == 2 && walk.interrupted == 0);
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

void defrag_volume(const defrag_volume_records& records, const defrag_turn& turn) noexcept {
  const int slot = turn.slot;
  if (slot < 0 || slot >= slot_count || !records.volumes[slot].handle.is_open() ||
      records.volumes[slot].cells == nullptr)
    return;
  try {
    defrag_mapped_volume(records, slot, turn.letter, turn.page_number);
  } catch (...) {
    // Out of memory: this volume gets no page; the worker goes on.
  }
}

}  // namespace dravik
