#include "defrag/optimize_pass.h"

#include <winioctl.h>

#include <iterator>

#include "text/ansi_text.h"
#include "cells/cell_updates.h"
#include "cells/contiguous_cells.h"
#include "volume/find_handle.h"
#include "volume/free_runs.h"
#include "volume/redirection_off.h"
#include "defrag/move_work.h"
#include "defrag/moving_scope.h"
#include "reports/report_rows.h"
#include "platform/volume_io.h"

namespace dravik {

namespace {

// Files of this many bytes or fewer change no cell when they move, on every
// volume.
constexpr uint64_t smallest_counted_file = 1048576;

class optimize_pass {
 public:
  optimize_pass(defrag_records& records, optimize_map& set) noexcept
      : records_(records),
        walk_(records.walk),
        status_(records.status),
        set_(set),
        volume_(records.volumes[records.job.working_slot].handle.get()),
        fat_(records.volumes[records.job.working_slot].file_system_name != "NTFS") {}

  void run() {
    status_.totalUnits = set_.size();
    status_.doneUnits = 1;
    auto position = set_.begin();
    while (position != set_.end()) {
      // A stop made during the walk's last move reaches no walk entry; the
      // pass sees it here, before its first entry, and ends as interrupted.
      if (records_.job.stop_requested.get() != 0) {
        walk_.interrupted = 1;
        break;
      }
      if (!look_up(position->second.path)) {
        ++position;
      } else if (!records_.work.bitmap.read(volume_)) {
        // Skipped without the stop test, as the next entry begins with one.
        ++position;
        status_.doneUnits.add(1);
        continue;
      } else {
        position = try_entry(position);
      }
      if (records_.job.stop_requested.get() != 0) {
        walk_.interrupted = 1;
        break;
      }
      status_.doneUnits.add(1);
    }
  }

 private:
  // The file's size and attributes into the walk's find record; false when
  // it is no longer there, or is now a symbolic link (which opens as its
  // target, possibly on another volume).
  bool look_up(const std::string& path) {
    const find_handle search(current_volume_io().find_first_file(path.c_str(), &walk_.find_record));
    if (!search.is_open()) return false;
    char* name = walk_.find_record.cFileName;
    name[sizeof walk_.find_record.cFileName - 1] = '\0';
    status_.current_entry_name.set(name);
    return (walk_.find_record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  }

  // Whether the open file still lies where the walk recorded it: one real
  // extent of the recorded size at the recorded position (on FAT, unmoved
  // files were recorded 2 clusters further on). The entry may be hours old:
  // the file may have grown or been replaced since, or be a second name of
  // a file already moved under its first.
  bool still_as_recorded(HANDLE file, const optimize_entry& entry, uint64_t clusters) {
    int64_t lcn = 0;
    uint64_t length = 0;
    if (!read_single_extent(records_.extents, file, lcn, length) || length != clusters)
      return false;
    const auto recorded = static_cast<int64_t>(entry.position);
    return lcn == recorded || (fat_ && lcn + 2 == recorded);
  }

  // Whether the moved file now lies in one extent at the target; a move the
  // file system took but carried out otherwise is no success.
  bool now_at(HANDLE file, uint64_t target, uint64_t clusters) {
    int64_t lcn = 0;
    uint64_t length = 0;
    return read_single_extent(records_.extents, file, lcn, length) &&
           lcn == static_cast<int64_t>(target) && length == clusters;
  }

  // The first free run of the bitmap just read that begins before position
  // and holds clusters; false without one or at a stop. Taken in the scan
  // itself, which ends there: the runs after it are never looked at.
  bool choose_run(int64_t position, int64_t clusters, uint64_t& start) {
    bool chosen = false;
    for_each_free_run_until(records_.work.bitmap.view(), [&](uint64_t run_start, uint64_t length) {
      if (static_cast<int64_t>(run_start) >= position) return false;
      if (static_cast<int64_t>(length) >= clusters) {
        start = run_start;
        chosen = true;
        return false;
      }
      return records_.job.stop_requested.get() == 0;
    });
    return chosen;
  }

  // Moves the entry's file if a run before it holds it; returns the position
  // of the next entry.
  optimize_map::iterator try_entry(optimize_map::iterator position) {
    const uint64_t clusters = position->first;
    const optimize_entry& entry = position->second;
    uint64_t target = 0;
    if (!choose_run(static_cast<int64_t>(entry.position), static_cast<int64_t>(clusters), target))
      return std::next(position);

    move_work& mover = records_.mover;
    volume_handle& file = mover.current_file;
    file.reset(current_volume_io().create_file(entry.path.c_str(), 0, 0, OPEN_EXISTING, 0));
    if (!file.is_open()) return std::next(position);
    if (!still_as_recorded(file.get(), entry, clusters)) {
      file.close();
      return std::next(position);
    }

    // The status reads the source from this copy, never from the entry,
    // which goes while the file is still being moved.
    status_.optimize_source = entry.position;
    set_move_request(mover, status_, file.get(), 0, static_cast<int64_t>(target),
                     static_cast<DWORD>(clusters));
    const moving_scope moving(status_);
    const WIN32_FIND_DATAA& record = walk_.find_record;
    walk_.file_size = uint64_t{record.nFileSizeHigh} << 32 | record.nFileSizeLow;
    DWORD returned = 0;
    if (records_.job.stop_requested.get() != 0 ||
        !current_volume_io().device_io_control(volume_, FSCTL_MOVE_FILE, &mover.move_request,
                                               sizeof mover.move_request, nullptr, 0,
                                               &returned)) {
      file.close();
      return std::next(position);
    }
    if (!now_at(file.get(), target, clusters)) {
      file.close();
      return std::next(position);
    }

    if (walk_.file_size > smallest_counted_file &&
        record.dwFileAttributes != FILE_ATTRIBUTE_READONLY)
      move_cells(entry, clusters, target);
    append_optimize_row(records_.reports, entry.path, entry.position, target, clusters);
    const auto next = set_.erase(position);
    file.close();
    return next;
  }

  // The file's contiguous counts leave the cells of its recorded place and
  // enter those of its new one. Recorded positions already carry the FAT
  // offset, so none is added here.
  void move_cells(const optimize_entry& entry, uint64_t clusters, uint64_t target) {
    cell_cursor& cursor = records_.cursor;
    cursor.in_system_folder =
        ansi_contains_ignoring_case(entry.path.c_str(), entry.path.size(), "system32") ? 1 : 0;
    for_each_cell_of_extent(cursor, static_cast<int64_t>(entry.position), clusters, 0,
                            [&cursor] { remove_contiguous_from_cell(cursor); });
    for_each_cell_of_extent(cursor, static_cast<int64_t>(target), clusters, 0,
                            [&cursor] { add_to_cell(cursor, contribution_contiguous); });
  }

  defrag_records& records_;
  walk_state& walk_;
  status_feed& status_;
  optimize_map& set_;
  const HANDLE volume_;
  const bool fat_;
};

}  // namespace

void optimize_volume(defrag_records& records, optimize_map& set) {
  const redirection_off real_names;
  optimize_pass(records, set).run();
}

}  // namespace dravik
