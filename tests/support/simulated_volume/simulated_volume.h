#pragma once
// A volume_io over in-memory volumes, for the engine's tests and benchmarks
// (Wine answers none of the defragmentation control codes).
//
// It models the platform as documented: drive letters with drive types;
// volumes with a file system name, geometry and a cluster bitmap kept equal
// to reserved clusters plus every file's extents; a case-insensitive tree
// whose subdirectories list "." and ".." (the root does not); files with
// sizes and extents, virtual (LCN -1) extents and files without clusters;
// FindFirstFileA/FindNextFileA, CreateFileA of "\\.\X:" and of entries, and
// FSCTL_GET_VOLUME_BITMAP, FSCTL_GET_RETRIEVAL_POINTERS and FSCTL_MOVE_FILE
// with their buffer layouts and errors. FSCTL_MOVE_FILE really moves the
// clusters.
//
// Like NTFS it has hard links (several names of one file), file symbolic
// links (followed by CreateFileA unless FILE_FLAG_OPEN_REPARSE_POINT, also
// to another volume) and directory junctions, and it can hold the clusters
// a move frees until a checkpoint, refusing them as move targets meanwhile.
//
// For tests it can refuse opens of chosen entries, fail bitmap reads, call a
// hook before every move, check its own invariants and list the handles
// still open.
//
// Thread-safe: every call takes one lock (the move hook runs outside it and
// may call back in). The last error is kept per thread, like GetLastError.
// The building calls throw std::invalid_argument on a test's mistake; the
// volume_io calls never throw.

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "handle_table.h"
#include "platform/volume_io.h"
#include "volume_model.h"
#include "win32_path.h"

namespace dravik::sim {

// A FILETIME value for entries added without one (2021-01-01 00:00 UTC).
constexpr uint64_t default_file_time = 132539328000000000ull;

// One FSCTL_MOVE_FILE as it reaches the simulator, before it is checked
// further or carried out.
struct move_request {
  char letter;
  std::string path;  // "X:\dir\name"
  int64_t starting_vcn;
  int64_t starting_lcn;
  DWORD cluster_count;
  uint64_t number;  // 1 for the first move request this simulator sees
};
using move_hook = std::function<void(const move_request&)>;

class simulated_volume final : public volume_io {
 public:
  simulated_volume();
  ~simulated_volume() override;
  simulated_volume(const simulated_volume&) = delete;
  simulated_volume& operator=(const simulated_volume&) = delete;

  // --- drives and volumes -------------------------------------------------
  // A drive letter without a volume in it (a card reader without a card):
  // its queries fail with ERROR_NOT_READY.
  void add_drive(char letter, UINT drive_type);
  void add_volume(char letter, const volume_geometry& geometry, UINT drive_type = DRIVE_FIXED);
  void add_volume(char letter, std::unique_ptr<volume_model> volume, UINT drive_type = DRIVE_FIXED);
  void reserve_clusters(char letter, uint64_t lcn, uint64_t count);

  // --- the tree (paths "X:\dir\name"; missing parents are created) --------
  void add_directory(std::string_view path, DWORD attributes = 0,
                     uint64_t time = default_file_time);
  void add_file(std::string_view path, uint64_t size, const std::vector<file_run>& runs,
                DWORD attributes = FILE_ATTRIBUTE_ARCHIVE, uint64_t time = default_file_time);
  void remove(std::string_view path);
  void set_junction_target(std::string_view junction, std::string_view target);
  // Another name, on the same volume, for an existing file: both are listed
  // with the same size, attributes and times and open the one file, whose
  // clusters stay until its last name is removed. Throws for a directory,
  // a symbolic link or another volume.
  void add_hard_link(std::string_view existing_file, std::string_view new_path);
  // A file symbolic link listed with FILE_ATTRIBUTE_REPARSE_POINT |
  // FILE_ATTRIBUTE_ARCHIVE, size 0 and no clusters. target is "X:\dir\name"
  // on any drive and need not exist; opening the link follows it (a missing
  // target fails as its path does: ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND;
  // more than 31 links in a row, ERROR_CANT_RESOLVE_FILENAME).
  void add_file_symlink(std::string_view link, std::string_view target);

  // --- delayed reuse of freed clusters --------------------------------------
  // While holding, the clusters FSCTL_MOVE_FILE frees show free in the bitmap
  // but a move whose target touches one fails with ERROR_INVALID_PARAMETER;
  // take_free_clusters passes them over. Turning holding off releases them.
  void hold_freed_clusters(char letter, bool hold);
  // Releases every held cluster of the volume; holding stays as it was.
  void checkpoint(char letter);
  uint64_t held_clusters(char letter) const;

  // --- a 32-bit process on 64-bit Windows ------------------------------------
  // On: the volumes are seen as a 32-bit process on 64-bit Windows sees them.
  // Turning the file system's redirection off and reverting it work, per
  // thread (the state is shared by every simulator, as the platform's is),
  // and a CreateFileA, FindFirstFileA or FindNextFileA made while the calling
  // thread's redirection is on is misuse: the platform would answer from the
  // system folder's 32-bit stand-in, not from the volume's own files. Off
  // (the default), both redirection calls fail with ERROR_INVALID_FUNCTION,
  // as for a 64-bit process, and nothing is checked.
  void set_wow64(bool on);
  // Whether the calling thread has turned its redirection off.
  static bool redirection_off_here();

  // --- failures on demand -------------------------------------------------
  // Every CreateFileA of the entry fails with error (0 lets it open again).
  void set_open_error(std::string_view path, DWORD error);
  // CreateFileA of "\\.\X:" fails with error (0 lets it open again).
  void set_volume_open_error(char letter, DWORD error);
  // The next `times` bitmap reads of the volume fail with error (-1: all).
  void fail_bitmap_reads(char letter, DWORD error, int times = -1);
  // Called before every FSCTL_MOVE_FILE whose handles are valid; it may stop
  // the engine or take clusters (take_free_clusters) so the move fails.
  void set_move_hook(move_hook hook);
  // Another process takes the free clusters of the range; returns how many.
  uint64_t take_free_clusters(char letter, uint64_t lcn, uint64_t count);

  // --- inspection ---------------------------------------------------------
  std::vector<file_run> runs_of(std::string_view path) const;
  bool cluster_used(char letter, uint64_t lcn) const;
  uint64_t free_clusters(char letter) const;
  // One line per broken invariant of any volume; empty when all hold.
  std::vector<std::string> check_invariants() const;
  size_t open_handle_count() const;
  std::vector<std::string> open_handles() const;
  // Calls the platform would not survive or that leak there: closing an
  // invalid handle, CloseHandle on a search, null output pointers.
  std::vector<std::string> misuse() const;
  uint64_t move_requests() const;
  uint64_t moves_done() const;
  // Calls visit with each volume, in letter order, under the lock. Returns
  // false, calling nothing, when the lock stays taken longer than wait: at
  // process exit a thread may have been ended while holding it.
  using volume_visitor = std::function<void(char letter, const volume_model& volume)>;
  bool visit_volumes(const volume_visitor& visit, std::chrono::milliseconds wait) const;

  // --- volume_io ------------------------------------------------------------
  UINT get_drive_type(const char* root) override;
  BOOL get_volume_information(const char* root, char* volume_name, DWORD volume_name_size,
                              DWORD* serial_number, DWORD* max_component_length,
                              DWORD* file_system_flags, char* file_system_name,
                              DWORD file_system_name_size) override;
  BOOL get_disk_free_space(const char* root, DWORD* sectors_per_cluster, DWORD* bytes_per_sector,
                           DWORD* free_clusters, DWORD* total_clusters) override;
  HANDLE create_file(const char* name, DWORD desired_access, DWORD share_mode,
                     DWORD creation_disposition, DWORD flags_and_attributes) override;
  HANDLE find_first_file(const char* pattern, WIN32_FIND_DATAA* data) override;
  BOOL find_next_file(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL find_close(HANDLE find) override;
  BOOL device_io_control(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                         void* out_buffer, DWORD out_size, DWORD* bytes_returned) override;
  BOOL get_file_size_ex(HANDLE file, LARGE_INTEGER* size) override;
  BOOL close_handle(HANDLE handle) override;
  DWORD get_last_error() override;
  BOOL disable_fs_redirection(void** old_value) override;
  BOOL revert_fs_redirection(void* old_value) override;

 private:
  struct drive {
    bool present = false;
    UINT type = DRIVE_NO_ROOT_DIR;
    std::unique_ptr<volume_model> volume;
    DWORD open_error = 0;
    DWORD bitmap_error = 0;
    int bitmap_failures = 0;  // -1: every read
  };

  drive* drive_of(char letter);
  const drive* drive_of(char letter) const;
  volume_model& volume_of(char letter);
  const volume_model& volume_of(char letter) const;
  // The volume of a building or inspection path; parsed keeps views into text.
  volume_model& model_for_path(const std::string& text, win32_path& parsed) const;
  // The entry such a path names (throws when missing).
  node_id build_parents(volume_model& volume, const win32_path& parsed);
  node_id existing_node(std::string_view path, char* letter = nullptr) const;
  // The drive a root such as "C:\" names, or null; sets the error to report.
  drive* root_drive(const char* root, DWORD& error);
  // CreateFileA of an entry (not a volume), following symbolic links.
  HANDLE open_entry(const win32_path& path, DWORD desired_access, DWORD creation_disposition,
                    DWORD flags_and_attributes);
  // The entry a path names, through the junctions on the way and, unless
  // FILE_FLAG_OPEN_REPARSE_POINT, a junction at the end: 0, or the error
  // CreateFileA gives. Symbolic links are left to the caller.
  DWORD find_entry(const win32_path& path, DWORD creation_disposition, DWORD flags_and_attributes,
                   node_id& entry);
  void fill_find_data(const volume_model& volume, node_id directory, node_id entry,
                      WIN32_FIND_DATAA* data) const;
  std::string describe(const open_handle& handle) const;
  void note_misuse(std::string what);
  // Notes a name-based call made while the calling thread's redirection is on.
  void check_redirection(const char* call, const char* name);
  BOOL move_file(HANDLE device, const void* in_buffer, DWORD in_size, DWORD* bytes_returned);

  mutable std::mutex mutex_;
  std::array<drive, 26> drives_;
  handle_table handles_;
  move_hook move_hook_;
  uint64_t move_requests_ = 0;
  uint64_t moves_done_ = 0;
  std::vector<std::string> misuse_;
  bool wow64_ = false;
  mutable win32_path scratch_path_;
};

}  // namespace dravik::sim
