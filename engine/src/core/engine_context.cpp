#include "core/engine_context.h"

namespace dravik {

engine_context::engine_context()
    : free_run_cursor(free_runs_by_length.end()),
      extent_buffer(new uint8_t[initial_extent_buffer_size]()),
      extent_buffer_size(initial_extent_buffer_size) {
  build_report_blocks(report_strings);
}

engine_context::~engine_context() { destroy_engine_context(*this); }

void set_move_request(engine_context& context, HANDLE file, int64_t starting_vcn,
                      int64_t starting_lcn, DWORD cluster_count) noexcept {
  context.move_request.FileHandle = file;
  context.move_request.StartingVcn.QuadPart = starting_vcn;
  context.move_request.StartingLcn.QuadPart = starting_lcn;
  context.move_request.ClusterCount = cluster_count;
  context.move_source = static_cast<uint64_t>(starting_vcn);
  context.move_target = static_cast<uint64_t>(starting_lcn);
}

void destroy_engine_context(engine_context& context) noexcept {
  context.bitmap.release();
  context.free_runs_by_length.clear();
  context.free_run_cursor = context.free_runs_by_length.end();
  context.free_runs_by_start.clear();
  for (int slot = 0; slot < slot_count; ++slot) {
    context.volume_handles[slot].close();
    context.letter_strings[slot].clear();
  }
  context.current_file.close();
  context.extent_buffer.reset();
  context.extent_buffer_size = 0;
  context.cursor = cell_cursor{};
  context.walk.file_lists = nullptr;
  context.walk.exclusions.clear();
  context.report_strings = dravik::report_strings{};
}

}  // namespace dravik
