#pragma once
// The engine loaded over simulated volumes in a folder of the test's own,
// with short report templates, for tests that analyse one volume at a time
// the way the analysis worker does for each letter of a job.

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analysis/analysis_volume.h"
#include "cell_counts_compare.h"
#include "core/engine_lifetime.h"
#include "state/volume_slots.h"
#include "scratch_folder/scratch_folder.h"
#include "simulated_volume/simulated_volume.h"
#include "platform/volume_io.h"

namespace dravik::testing {

// Passes every call to another volume_io. It can report each directory entry
// a search returns (a test stops the walk there), answer the extent reads
// of chosen files with a successful read of no extent, which the simulator
// never gives, whose header claims a given extent count, and report a move
// as done without carrying it out, as a file system that accepts a move only
// in part. Single-threaded tests only.
class scripted_volume_io final : public dravik::volume_io {
 public:
  explicit scripted_volume_io(dravik::volume_io& inner) : inner_(inner) {}

  std::function<void(const char* name)> on_entry;
  // Paths as the engine opens them, and the count their empty answer claims.
  std::map<std::string, DWORD> files_without_extents;
  bool fail_free_space = false;  // GetDiskFreeSpaceA fails, leaving 0s
  // Called with each FSCTL_MOVE_FILE; true answers success without a move.
  std::function<bool(const MOVE_FILE_DATA&)> pretend_move;

  UINT get_drive_type(const char* root) override { return inner_.get_drive_type(root); }
  BOOL get_volume_information(const char* root, char* volume_name, DWORD volume_name_size,
                              DWORD* serial_number, DWORD* max_component_length,
                              DWORD* file_system_flags, char* file_system_name,
                              DWORD file_system_name_size) override {
    return inner_.get_volume_information(root, volume_name, volume_name_size, serial_number,
                                         max_component_length, file_system_flags,
                                         file_system_name, file_system_name_size);
  }
  BOOL get_disk_free_space(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector,
                           DWORD* free_clusters, DWORD* total_clusters) override {
    if (fail_free_space) return FALSE;
    return inner_.get_disk_free_space(root, sectors_per_cluster, bytes_per_sector, free_clusters,
                                      total_clusters);
  }
  HANDLE create_file(const char* name, DWORD desired_access, DWORD share_mode,
                     DWORD creation_disposition, DWORD flags_and_attributes) override {
    const HANDLE handle = inner_.create_file(name, desired_access, share_mode,
                                             creation_disposition, flags_and_attributes);
    const auto found = files_without_extents.find(name);
    if (found != files_without_extents.end() && handle != INVALID_HANDLE_VALUE)
      without_extents_[handle] = found->second;
    return handle;
  }
  HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) override {
    const HANDLE search = inner_.find_first_file(pattern, data);
    if (search != INVALID_HANDLE_VALUE && on_entry) on_entry(data->cFileName);
    return search;
  }
  BOOL find_next_file(HANDLE find, WIN32_FIND_DATAA* data) override {
    const BOOL found = inner_.find_next_file(find, data);
    if (found && on_entry) on_entry(data->cFileName);
    return found;
  }
  BOOL find_close(HANDLE find) override { return inner_.find_close(find); }
  BOOL device_io_control(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                         void* out_buffer, DWORD out_size, DWORD* bytes_returned) override {
    if (control_code == FSCTL_MOVE_FILE && pretend_move && in_size >= sizeof(MOVE_FILE_DATA) &&
        pretend_move(*static_cast<const MOVE_FILE_DATA*>(in_buffer))) {
      *bytes_returned = 0;
      return TRUE;
    }
    const auto empty = without_extents_.find(device);
    if (control_code == FSCTL_GET_RETRIEVAL_POINTERS && empty != without_extents_.end() &&
        out_size >= 16) {
      std::memset(out_buffer, 0, 16);
      std::memcpy(out_buffer, &empty->second, sizeof empty->second);
      *bytes_returned = 16;
      return TRUE;
    }
    return inner_.device_io_control(device, control_code, in_buffer, in_size, out_buffer,
                                    out_size, bytes_returned);
  }
  BOOL get_file_size_ex(HANDLE file, LARGE_INTEGER* size) override {
    return inner_.get_file_size_ex(file, size);
  }
  BOOL close_handle(HANDLE handle) override {
    without_extents_.erase(handle);
    return inner_.close_handle(handle);
  }
  DWORD get_last_error() override { return inner_.get_last_error(); }
  BOOL disable_fs_redirection(void** old_value) override {
    return inner_.disable_fs_redirection(old_value);
  }
  BOOL revert_fs_redirection(void* old_value) override {
    return inner_.revert_fs_redirection(old_value);
  }

 private:
  dravik::volume_io& inner_;
  std::map<HANDLE, DWORD> without_extents_;
};

class AnalysisFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    // As the shipped 32-bit build on 64-bit Windows: every open and search
    // made with the file system redirection on is misuse.
    sim.set_wow64(true);
    previous_ = dravik::install_volume_io(&io);
    write("analysisreportmodel.html", "<html>\r\n<!--table-->\r\n</html>");
    write("analysisreporttopmodel.html", "<tr><!--partitionlist--></tr>");
  }
  void TearDown() override {
    dravik::unload_engine();
    dravik::install_volume_io(previous_);
    EXPECT_EQ(sim.open_handle_count(), 0u) << joined(sim.open_handles());
    EXPECT_TRUE(sim.misuse().empty()) << joined(sim.misuse());
    EXPECT_TRUE(sim.check_invariants().empty()) << joined(sim.check_invariants());
  }

  // Loads the engine and clears its stop, as a run export does before the
  // worker starts.
  void load() {
    ASSERT_TRUE(dravik::load_engine({folder.file("Tessarel.exe")}));
    engine().job.stop_requested = 0;
  }
  dravik::engine_state& engine() { return *dravik::current_engine(); }
  dravik::walk_state& walk() { return engine().walk; }

  // As the analysis worker hands a letter on.
  void analyse(char letter = 'C', int page_number = 1) {
    const int32_t slot = dravik::slot_of_letter(static_cast<unsigned char>(letter));
    const dravik::analysis_turn turn{letter, slot, page_number};
    dravik::analyse_volume(dravik::analysis_records_of(engine()), turn);
  }

  dravik::cell_counts cell(int index, int slot = 0) {
    return (*engine().volumes[slot].cells)[index].counts();
  }
  std::vector<std::string> list(int index, int slot = 0) {
    const CellFileList& entries = engine().file_lists[slot].list(index);
    return std::vector<std::string>(entries.begin(), entries.end());
  }
  // Every cell whose counters are not all zero, with its index.
  std::vector<std::pair<int, dravik::cell_counts>> used_cells(int slot = 0) {
    std::vector<std::pair<int, dravik::cell_counts>> used;
    for (int i = 0; i < dravik::cells_per_volume; ++i) {
      const dravik::cell_counts counts = cell(i, slot);
      if (!(counts == dravik::cell_counts{})) used.emplace_back(i, counts);
    }
    return used;
  }

  void write(const std::string& name, const std::string& text) {
    folder.write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  std::string read(const std::string& name) {
    const std::vector<uint8_t> bytes = folder.read_bytes(name);
    return std::string(bytes.begin(), bytes.end());
  }

  static std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  }

  tessarel::testing::scratch_folder folder;
  dravik::sim::simulated_volume sim;
  scripted_volume_io io{sim};

 private:
  dravik::volume_io* previous_ = nullptr;
};

// A small volume: 4 KiB clusters, and one cluster per cell up to 1000
// clusters.
inline dravik::sim::volume_geometry test_volume(uint64_t clusters = 1000,
                                                const char* file_system = "NTFS") {
  dravik::sim::volume_geometry geometry;
  geometry.total_clusters = clusters;
  geometry.file_system = file_system;
  return geometry;
}

}  // namespace dravik::testing
