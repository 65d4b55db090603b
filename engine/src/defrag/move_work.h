#pragma once
// What a mover or the optimisation pass holds while it moves a file: the file,
// where its next extent goes, and the FSCTL_MOVE_FILE request being sent.
// Defragmentation worker only.

#include <windows.h>
#include <winioctl.h>

#include <cstdint>

#include "defrag/freed_clusters.h"
#include "state/status_feed.h"
#include "state/volume_handle.h"

namespace dravik {

struct move_work {
  // The file a mover holds open while it works on it.
  volume_handle current_file;
  // Where the next extent of the file being moved goes.
  uint64_t target_lcn = 0;
  // The move in progress; fill it with set_move_request.
  MOVE_FILE_DATA move_request{};
  // What the moves of the current NTFS volume's walk have freed: a target
  // for its movers only when nothing else holds a file.
  freed_clusters freed_by_walk;
  // The moves the file system refused in the current volume's walk.
  uint64_t refused_moves = 0;
};

// Fills the move request for one FSCTL_MOVE_FILE and publishes its source and
// target for the status poll. Worker thread.
inline void set_move_request(move_work& work, status_feed& status, HANDLE file,
                             int64_t starting_vcn, int64_t starting_lcn,
                             DWORD cluster_count) noexcept {
  work.move_request.FileHandle = file;
  work.move_request.StartingVcn.QuadPart = starting_vcn;
  work.move_request.StartingLcn.QuadPart = starting_lcn;
  work.move_request.ClusterCount = cluster_count;
  status.move_source = static_cast<uint64_t>(starting_vcn);
  status.move_target = static_cast<uint64_t>(starting_lcn);
}

}  // namespace dravik
