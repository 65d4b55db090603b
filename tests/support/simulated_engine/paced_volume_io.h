#pragma once
// Volume calls a person can watch: the run command's copy of the simulated
// build waits a little before each call that reads or moves clusters, so an
// analysis of C takes seconds instead of a blink and the progress bar, the
// status lines and the moving map show. The setting is the file
// "simulated-pace.txt" beside the library; without it (the tests, the
// end-to-end driver) the volumes answer at full speed.

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/volume_io.h"

namespace dravik::sim {

inline constexpr const wchar_t* pace_file_name = L"simulated-pace.txt";

// What each kind of call costs. Calls that only ask about drives and volumes
// (the program's start-up and its drive list) cost nothing.
struct volume_pace {
  std::chrono::microseconds per_read{0};  // a listing step, an open, a bitmap or extents read
  std::chrono::microseconds per_move{0};  // FSCTL_MOVE_FILE
  bool operator==(const volume_pace& other) const {
    return per_read == other.per_read && per_move == other.per_move;
  }
};

// The setting's text: lines "read <microseconds>" and "move <microseconds>";
// blank lines and lines starting with '#' are skipped. nullopt (no pacing)
// for any other line, a missing number, a negative one or one above a
// second, and when neither line is there.
std::optional<volume_pace> parse_volume_pace(std::string_view text);

// Forwards every call to inner after its wait. The wait is taken in sleeps
// of a few milliseconds, owed time carried per thread, so a call costs its
// share on average even where one sleep is longer than asked; nothing is
// held while it sleeps, and the engine's stop test comes after at most a
// few milliseconds. Any thread, as inner.
class paced_volume_io final : public volume_io {
 public:
  // Sleeps about the time asked and returns the time it took.
  using sleep_function = std::function<std::chrono::microseconds(std::chrono::milliseconds)>;

  // sleep defaults to Sleep measured by the steady clock.
  paced_volume_io(volume_io& inner, volume_pace pace, sleep_function sleep = {});

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
  void wait(std::chrono::microseconds cost);

  volume_io& inner_;
  const volume_pace pace_;
  const sleep_function sleep_;
};

}  // namespace dravik::sim
