#include "simulated_engine/paced_volume_io.h"

#include <windows.h>

#include <cctype>
#include <charconv>
#include <string>
#include <utility>

namespace dravik::sim {

namespace {

using std::chrono::microseconds;

constexpr microseconds longest_cost{1000000};
// Owed time is slept off once it reaches this much: short enough that a stop
// is seen at once, long enough that the sleep's own granularity hardly counts.
constexpr microseconds sleep_slice{2000};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<microseconds> parse_cost(std::string_view text) {
  text = trimmed(text);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < 0 || microseconds(value) > longest_cost) return std::nullopt;
  return microseconds(value);
}

microseconds sleep_measured(std::chrono::milliseconds time) {
  const auto start = std::chrono::steady_clock::now();
  Sleep(static_cast<DWORD>(time.count()));
  return std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
}

}  // namespace

std::optional<volume_pace> parse_volume_pace(std::string_view text) {
  volume_pace pace;
  bool any = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    const size_t space = line.find_first_of(" \t");
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view key = line.substr(0, space);
    const std::optional<microseconds> cost = parse_cost(line.substr(space));
    if (!cost) return std::nullopt;
    if (key == "read") {
      pace.per_read = *cost;
    } else if (key == "move") {
      pace.per_move = *cost;
    } else {
      return std::nullopt;
    }
    any = true;
  }
  if (!any) return std::nullopt;
  return pace;
}

paced_volume_io::paced_volume_io(volume_io& inner, volume_pace pace, sleep_function sleep)
    : inner_(inner), pace_(pace), sleep_(sleep ? std::move(sleep) : sleep_function(&sleep_measured)) {}

void paced_volume_io::wait(microseconds cost) {
  // Owed time is the calling thread's: the engine's workers and the
  // program's thread each pay for their own calls.
  thread_local microseconds owed{0};
  owed += cost;
  if (owed < sleep_slice) return;
  owed -= sleep_(std::chrono::duration_cast<std::chrono::milliseconds>(owed));
  // A sleep far longer than asked (a busy machine) is not paid back by
  // running the next calls at full speed.
  if (owed < -sleep_slice) owed = -sleep_slice;
}

UINT paced_volume_io::get_drive_type(const char* root) { return inner_.get_drive_type(root); }

BOOL paced_volume_io::get_volume_information(const char* root, char* volume_name,
                                             DWORD volume_name_size, DWORD* serial_number,
                                             DWORD* max_component_length,
                                             DWORD* file_system_flags, char* file_system_name,
                                             DWORD file_system_name_size) {
  return inner_.get_volume_information(root, volume_name, volume_name_size, serial_number,
                                       max_component_length, file_system_flags, file_system_name,
                                       file_system_name_size);
}

BOOL paced_volume_io::get_disk_free_space(const char* root, DWORD* sectors_per_cluster,
                                          DWORD* bytes_per_sector, DWORD* free_clusters,
                                          DWORD* total_clusters) {
  return inner_.get_disk_free_space(root, sectors_per_cluster, bytes_per_sector, free_clusters,
                                    total_clusters);
}

HANDLE paced_volume_io::create_file(const char* name, DWORD desired_access, DWORD share_mode,
                                    DWORD creation_disposition, DWORD flags_and_attributes) {
  wait(pace_.per_read);
  return inner_.create_file(name, desired_access, share_mode, creation_disposition,
                            flags_and_attributes);
}

HANDLE paced_volume_io::find_first_file(const char* pattern, WIN32_FIND_DATAA* data) {
  wait(pace_.per_read);
  return inner_.find_first_file(pattern, data);
}

BOOL paced_volume_io::find_next_file(HANDLE find, WIN32_FIND_DATAA* data) {
  wait(pace_.per_read);
  return inner_.find_next_file(find, data);
}

BOOL paced_volume_io::find_close(HANDLE find) { return inner_.find_close(find); }

BOOL paced_volume_io::device_io_control(HANDLE device, DWORD control_code, void* in_buffer,
                                        DWORD in_size, void* out_buffer, DWORD out_size,
                                        DWORD* bytes_returned) {
  wait(control_code == FSCTL_MOVE_FILE ? pace_.per_move : pace_.per_read);
  return inner_.device_io_control(device, control_code, in_buffer, in_size, out_buffer, out_size,
                                  bytes_returned);
}

BOOL paced_volume_io::get_file_size_ex(HANDLE file, LARGE_INTEGER* size) {
  return inner_.get_file_size_ex(file, size);
}

BOOL paced_volume_io::close_handle(HANDLE handle) { return inner_.close_handle(handle); }

DWORD paced_volume_io::get_last_error() { return inner_.get_last_error(); }

BOOL paced_volume_io::disable_fs_redirection(void** old_value) {
  return inner_.disable_fs_redirection(old_value);
}

BOOL paced_volume_io::revert_fs_redirection(void* old_value) {
  return inner_.revert_fs_redirection(old_value);
}

}  // namespace dravik::sim
