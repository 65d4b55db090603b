#include "defrag/file_mover.h"

#include <winioctl.h>

#include <string_view>

#include "cells/cell_updates.h"
#include "cells/contiguous_cells.h"
#include "volume/file_extents.h"
#include "defrag/move_work.h"
#include "defrag/moving_scope.h"
#include "defrag/optimize_set.h"
#include "reports/report_rows.h"
#include "volume/volume_access.h"
#include "platform/volume_io.h"

namespace dravik {

namespace {

// Closes the mover's current file however the mover leaves it.
class current_file_scope {
 public:
  explicit current_file_scope(volume_handle& file) noexcept : file_(file) {}
  ~current_file_scope() { file_.close(); }
  current_file_scope(const current_file_scope&) = delete;
  current_file_scope& operator=(const current_file_scope&) = delete;

 private:
  volume_handle& file_;
};

class file_mover {
 public:
  file_mover(defrag_records& records, const analysis_variant& variant) noexcept
      : records_(records), walk_(records.walk), work_(records.work), variant_(variant) {}

  void run() {
    volume_handle& file = records_.mover.current_file;
    file.reset(current_volume_io().create_file(walk_.walk_path, 0, 0, OPEN_EXISTING, 0));
    if (!file.is_open()) return;
    const current_file_scope closing(file);

    extent_list extents;
    if (!read_file_extents(records_.extents, file.get(), extents, mover_extent_buffer_growth))
      return;
    const uint32_t count = extents.count();
    if (count == 1) {
      // A virtual single extent is recorded too: on NTFS its position has
      // every bit set, -1, before which no free run begins, so the pass never
      // moves it.
      record(static_cast<uint64_t>(extents.lcn(0) + variant_.lcn_offset()), extents.length(0));
    }
    if (count <= 1 || !needs_move(extents)) return;

    uint64_t run_start = 0;
    if (!choose_run(run_start)) {
      work_.empty_free_runs_by_length();
      return;
    }

    // The status poll shows the first extent's move from the moment moving
    // is set, never the last file's.
    set_move_request(records_.mover, records_.status, file.get(), extents.starting_vcn(),
                     static_cast<int64_t>(run_start), static_cast<DWORD>(extents.length(0)));
    const moving_scope moving(records_.status);
    const bool moved = move_extents(extents, run_start);
    work_.empty_free_runs_by_length();
    if (!moved) {
      if (updates_cells())
        mark_contiguous_cells(records_.cursor, records_.extents, file.get(),
                              variant_.lcn_offset());
      file.close();
      if (records_.job.stop_requested.get() != 0) walk_.interrupted = 1;
      return;
    }

    // What the file system now reports, not what was asked of it: a file
    // that does not lie in one extent after its moves is no success.
    int64_t lcn = 0;
    uint64_t length = 0;
    const bool whole = read_single_extent(records_.extents, file.get(), lcn, length);
    if (whole && updates_cells())
      mark_extent_contiguous(records_.cursor, lcn, length, variant_.lcn_offset());
    file.close();
    if (!whole) return;
    append_defrag_row(records_.reports, path(), count, walk_.file_size, walk_.file_clusters);
    walk_.big_fragment_files += 1;
    record(run_start, walk_.file_clusters);
  }

 private:
  HANDLE volume() const noexcept {
    return records_.volumes[records_.job.working_slot].handle.get();
  }

  std::string_view path() const noexcept {
    return std::string_view(walk_.walk_path, walk_.walk_path_length);
  }

  void record(uint64_t position, uint64_t clusters) noexcept {
    record_for_optimisation(records_.optimize_set, path(), position, clusters);
  }

  // The large variants leave the cells of small files alone, as their
  // analysis did; a file whose only attribute is read-only keeps its cells.
  bool updates_cells() const noexcept {
    return variant_.examines(walk_.file_size) &&
           walk_.find_record.dwFileAttributes != FILE_ATTRIBUTE_READONLY;
  }

  // The shortest free run of a fresh bitmap that holds the whole file; the
  // map keeps the lowest start of each length. On NTFS the clusters this
  // walk has freed may still be refused as targets, so they count as in use
  // unless no run holds the file without them. False when the bitmap cannot
  // be read or no run is long enough.
  bool choose_run(uint64_t& run_start) {
    freed_clusters& freed = records_.mover.freed_by_walk;
    const bool held_back = variant_.ntfs && !freed.empty();
    if (!work_.bitmap.read(volume())) return false;
    if (held_back) freed.count_as_used(work_.bitmap);
    if (take_shortest_run(run_start)) return true;
    if (!held_back || !work_.bitmap.read(volume())) return false;
    return take_shortest_run(run_start);
  }

  bool take_shortest_run(uint64_t& run_start) {
    work_.empty_free_runs_by_length();
    scan_free_runs_by_length(work_);
    const auto run = work_.free_runs_by_length.lower_bound(walk_.file_clusters);
    if (run == work_.free_runs_by_length.end()) return false;
    work_.free_run_cursor = run;
    run_start = run->second;
    return true;
  }

  // Sums the clusters of the extents up to the first that needs no move: a
  // virtual one, or one that continues the one before it end to end. Such a
  // file is left as it is.
  bool needs_move(const extent_list& extents) noexcept {
    walk_.virtual_extent = 0;
    walk_.adjacent_extents = 0;
    walk_.file_clusters = 0;
    for (uint32_t i = 0; i < extents.count(); ++i) {
      walk_.extent_index = i;
      walk_.file_clusters += extents.length(i);
      if (extents.is_virtual(i)) {
        walk_.virtual_extent = 1;
        return false;
      }
      if (i >= 1 &&
          extents.lcn(i - 1) + static_cast<int64_t>(extents.length(i - 1)) == extents.lcn(i)) {
        walk_.adjacent_extents = 1;
        return false;
      }
    }
    return true;
  }

  // Each extent lands right behind the one before it: one call per extent.
  // False at a stop or a refused move.
  bool move_extents(const extent_list& extents, uint64_t run_start) {
    volume_io& io = current_volume_io();
    move_work& mover = records_.mover;
    const HANDLE on_volume = volume();
    const HANDLE file = mover.current_file.get();
    const bool update_fragments = updates_cells() && extents.count() > moved_extent_threshold;
    mover.target_lcn = run_start;
    for (uint32_t i = 0; i < extents.count(); ++i) {
      walk_.extent_index = i;
      const int64_t vcn = i == 0 ? extents.starting_vcn() : extents.next_vcn(i - 1);
      const uint64_t length = extents.length(i);
      set_move_request(mover, records_.status, file, vcn, static_cast<int64_t>(mover.target_lcn),
                       static_cast<DWORD>(length));
      if (records_.job.stop_requested.get() != 0) return false;
      DWORD returned = 0;
      if (!io.device_io_control(on_volume, FSCTL_MOVE_FILE, &mover.move_request,
                                sizeof mover.move_request, nullptr, 0, &returned)) {
        mover.refused_moves += 1;
        return false;
      }
      if (variant_.ntfs) mover.freed_by_walk.add(static_cast<uint64_t>(extents.lcn(i)), length);
      if (update_fragments) {
        point_at_cell(records_.cursor, extents.lcn(i), variant_.lcn_offset());
        remove_fragmented_from_cell(records_.cursor);
      }
      mover.target_lcn += length;
    }
    return true;
  }

  defrag_records& records_;
  walk_state& walk_;
  volume_work& work_;
  const analysis_variant variant_;
};

}  // namespace

void defrag_file(defrag_records& records, const analysis_variant& variant) {
  file_mover(records, variant).run();
}

void defrag_file_ntfs(defrag_records& records) { defrag_file(records, {true, false}); }
void defrag_file_ntfs_large(defrag_records& records) { defrag_file(records, {true, true}); }
void defrag_file_fat(defrag_records& records) { defrag_file(records, {false, false}); }
void defrag_file_fat_large(defrag_records& records) { defrag_file(records, {false, true}); }

}  // namespace dravik
