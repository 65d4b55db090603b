// CreateFileA and the directory searches of simulated_volume.
#include <algorithm>
#include <string>

#include "last_error.h"
#include "names.h"
#include "simulated_volume.h"

namespace dravik::sim {

namespace {

constexpr DWORD write_access = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA |
                               FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA | DELETE;

FILETIME file_time(uint64_t value) {
  return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

}  // namespace

simulated_volume::drive* simulated_volume::root_drive(const char* root, DWORD& error) {
  // A root is "X:\"; the calls that take one need its trailing backslash.
  if (root == nullptr || root[0] == '\0' || root[1] != ':' || root[2] != '\\' || root[3] != '\0') {
    error = ERROR_INVALID_NAME;
    return nullptr;
  }
  drive* d = drive_of(root[0]);
  if (d == nullptr) {
    error = ERROR_PATH_NOT_FOUND;
    return nullptr;
  }
  if (!d->volume) {
    error = ERROR_NOT_READY;
    return nullptr;
  }
  return d;
}

UINT simulated_volume::get_drive_type(const char* root) {
  std::lock_guard lock(mutex_);
  if (root == nullptr || root[0] == '\0' || root[1] != ':' || root[2] != '\\' || root[3] != '\0') {
    return DRIVE_NO_ROOT_DIR;
  }
  const drive* d = drive_of(root[0]);
  return d == nullptr ? DRIVE_NO_ROOT_DIR : d->type;
}

BOOL simulated_volume::get_volume_information(const char* root, char* volume_name,
                                              DWORD volume_name_size, DWORD* serial_number,
                                              DWORD* max_component_length, DWORD* file_system_flags,
                                              char* file_system_name, DWORD file_system_name_size) {
  std::lock_guard lock(mutex_);
  DWORD error = 0;
  drive* d = root_drive(root, error);
  if (d == nullptr) return fail(error);
  const volume_geometry& geometry = d->volume->geometry();
  if ((volume_name != nullptr && geometry.label.size() >= volume_name_size) ||
      (file_system_name != nullptr && geometry.file_system.size() >= file_system_name_size)) {
    return fail(ERROR_BAD_LENGTH);
  }
  if (volume_name != nullptr) geometry.label.copy(volume_name, geometry.label.size());
  if (volume_name != nullptr) volume_name[geometry.label.size()] = '\0';
  if (file_system_name != nullptr) {
    geometry.file_system.copy(file_system_name, geometry.file_system.size());
    file_system_name[geometry.file_system.size()] = '\0';
  }
  if (serial_number != nullptr) *serial_number = geometry.serial_number;
  if (max_component_length != nullptr) *max_component_length = 255;
  if (file_system_flags != nullptr) {
    *file_system_flags = d->volume->is_ntfs()
                             ? FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES |
                                   FILE_UNICODE_ON_DISK | FILE_PERSISTENT_ACLS |
                                   FILE_FILE_COMPRESSION | FILE_SUPPORTS_SPARSE_FILES |
                                   FILE_SUPPORTS_REPARSE_POINTS
                             : FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;
  }
  return TRUE;
}

BOOL simulated_volume::get_disk_free_space(const char* root, DWORD* sectors_per_cluster,
                                           DWORD* bytes_per_sector, DWORD* free_clusters,
                                           DWORD* total_clusters) {
  std::lock_guard lock(mutex_);
  DWORD error = 0;
  drive* d = root_drive(root, error);
  if (d == nullptr) return fail(error);
  const volume_model& volume = *d->volume;
  const uint64_t total = volume.bitmap().size();
  const uint64_t free = total - volume.bitmap().used();
  // The 32-bit counts saturate; no simulated volume is that large.
  auto clamp = [](uint64_t v) {
    return v > 0xFFFFFFFFull ? DWORD{0xFFFFFFFF} : static_cast<DWORD>(v);
  };
  if (sectors_per_cluster != nullptr) *sectors_per_cluster = volume.geometry().sectors_per_cluster;
  if (bytes_per_sector != nullptr) *bytes_per_sector = volume.geometry().bytes_per_sector;
  if (free_clusters != nullptr) *free_clusters = clamp(free);
  if (total_clusters != nullptr) *total_clusters = clamp(total);
  return TRUE;
}

HANDLE simulated_volume::create_file(const char* name, DWORD desired_access, DWORD /*share_mode*/,
                                     DWORD creation_disposition, DWORD flags_and_attributes) {
  std::lock_guard lock(mutex_);
  check_redirection("CreateFileA", name);
  win32_path& path = scratch_path_;
  if (const DWORD error = parse_win32_path(name, false, path)) return fail_handle(error);
  if (creation_disposition < CREATE_NEW || creation_disposition > TRUNCATE_EXISTING) {
    return fail_handle(ERROR_INVALID_PARAMETER);
  }
  if (path.volume) {
    drive* d = drive_of(path.letter);
    if (d == nullptr) return fail_handle(ERROR_FILE_NOT_FOUND);
    if (!d->volume) return fail_handle(ERROR_NOT_READY);
    if (d->open_error != 0) return fail_handle(d->open_error);
    open_handle handle;
    handle.kind = handle_kind::volume;
    handle.letter = path.letter;
    return handles_.open(std::move(handle));
  }
  return open_entry(path, desired_access, creation_disposition, flags_and_attributes);
}

DWORD simulated_volume::find_entry(const win32_path& path, DWORD creation_disposition,
                                   DWORD flags_and_attributes, node_id& entry) {
  drive* d = drive_of(path.letter);
  if (d == nullptr) return ERROR_PATH_NOT_FOUND;
  if (!d->volume) return ERROR_NOT_READY;
  const volume_model& volume = *d->volume;

  node_id target = root_node;
  if (!path.components.empty()) {
    node_id directory = root_node;
    if (const DWORD error = volume.enter_directories(
            path.components.data(), path.components.size() - 1, false, directory)) {
      return error;
    }
    target = volume.child(directory, path.components.back());
  }
  // The simulated tree is read-only through the seam: nothing is created
  // or truncated.
  if (target == no_node) {
    return creation_disposition == OPEN_EXISTING || creation_disposition == TRUNCATE_EXISTING
               ? ERROR_FILE_NOT_FOUND
               : ERROR_WRITE_PROTECT;
  }
  if (creation_disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
  if (creation_disposition == CREATE_ALWAYS || creation_disposition == TRUNCATE_EXISTING) {
    return ERROR_WRITE_PROTECT;
  }
  if (volume.is_junction(target) && !(flags_and_attributes & FILE_FLAG_OPEN_REPARSE_POINT)) {
    if (const DWORD error = volume.follow_junction(target, target)) return error;
  }
  entry = target;
  return 0;
}

HANDLE simulated_volume::open_entry(const win32_path& named, DWORD desired_access,
                                    DWORD creation_disposition, DWORD flags_and_attributes) {
  // A file symbolic link leads on to its target, possibly on another volume,
  // unless the caller asks for the link itself. A chain longer than the
  // platform follows fails instead of looping.
  constexpr int max_followed_links = 31;
  const win32_path* path = &named;
  win32_path followed;
  std::string link_target;  // the text followed's components point into
  node_id target = no_node;
  for (int links = 0;; ++links) {
    if (const DWORD error =
            find_entry(*path, creation_disposition, flags_and_attributes, target)) {
      return fail_handle(error);
    }
    const volume_model& volume = *drive_of(path->letter)->volume;
    if (!volume.is_file_symlink(target) || (flags_and_attributes & FILE_FLAG_OPEN_REPARSE_POINT)) {
      break;
    }
    if (path->trailing_separator) return fail_handle(ERROR_INVALID_NAME);
    if (links == max_followed_links) return fail_handle(ERROR_CANT_RESOLVE_FILENAME);
    link_target = volume.symlink_target(target);
    if (const DWORD error = parse_win32_path(link_target.c_str(), false, followed)) {
      return fail_handle(error);
    }
    path = &followed;
  }
  const volume_model& volume = *drive_of(path->letter)->volume;
  const bool directory = volume.is_directory(target);
  // Opening a directory takes FILE_FLAG_BACKUP_SEMANTICS; a file named with
  // a trailing separator is no valid name.
  if (directory && !(flags_and_attributes & FILE_FLAG_BACKUP_SEMANTICS)) {
    return fail_handle(ERROR_ACCESS_DENIED);
  }
  if (!directory && path->trailing_separator) return fail_handle(ERROR_INVALID_NAME);
  if (const DWORD error = volume.open_error(target)) return fail_handle(error);
  if ((desired_access & write_access) && (volume.attributes(target) & FILE_ATTRIBUTE_READONLY) &&
      !directory) {
    return fail_handle(ERROR_ACCESS_DENIED);
  }
  open_handle handle;
  handle.kind = directory ? handle_kind::directory : handle_kind::file;
  handle.letter = path->letter;
  handle.node = target;
  const HANDLE result = handles_.open(std::move(handle));
  if (creation_disposition == OPEN_ALWAYS) set_last_error(ERROR_ALREADY_EXISTS);
  return result;
}

void simulated_volume::fill_find_data(const volume_model& volume, node_id directory, node_id entry,
                                      WIN32_FIND_DATAA* data) const {
  const node_id subject = entry == dot_entry       ? directory
                          : entry == dot_dot_entry ? volume.parent(directory)
                                                   : entry;
  *data = WIN32_FIND_DATAA{};
  DWORD attributes = volume.attributes(subject);
  data->dwFileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime =
      file_time(volume.time(subject));
  if (!volume.is_directory(subject)) {
    const uint64_t size = volume.size(subject);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    data->dwReserved0 =
        volume.is_directory(subject) ? IO_REPARSE_TAG_MOUNT_POINT : IO_REPARSE_TAG_SYMLINK;
  }
  const std::string_view name = entry == dot_entry       ? std::string_view(".")
                                : entry == dot_dot_entry ? std::string_view("..")
                                                         : volume.name(subject);
  // Names hold at most 255 bytes, so they always fit with their NUL.
  name.copy(data->cFileName, name.size());
  data->cFileName[name.size()] = '\0';
}

HANDLE simulated_volume::find_first_file(const char* pattern, WIN32_FIND_DATAA* data) {
  std::lock_guard lock(mutex_);
  if (data == nullptr) {
    note_misuse("FindFirstFileA without a find record");
    return fail_handle(ERROR_INVALID_PARAMETER);
  }
  check_redirection("FindFirstFileA", pattern);
  win32_path& path = scratch_path_;
  if (const DWORD error = parse_win32_path(pattern, true, path)) return fail_handle(error);
  if (path.volume) return fail_handle(ERROR_FILE_NOT_FOUND);
  drive* d = drive_of(path.letter);
  if (d == nullptr) return fail_handle(ERROR_PATH_NOT_FOUND);
  if (!d->volume) return fail_handle(ERROR_NOT_READY);
  // Nothing to match: the root itself, or a path ending in a separator.
  if (path.components.empty() || path.trailing_separator) return fail_handle(ERROR_FILE_NOT_FOUND);
  const volume_model& volume = *d->volume;

  auto state = std::make_unique<find_state>();
  if (const DWORD error = volume.enter_directories(
          path.components.data(), path.components.size() - 1, true, state->directory)) {
    return fail_handle(error);
  }
  const std::string_view last = path.components.back();
  if (!has_wildcards(last)) {
    const node_id entry = volume.child(state->directory, last);
    if (entry == no_node) return fail_handle(ERROR_FILE_NOT_FOUND);
    state->entries.push_back(entry);
  } else {
    // Subdirectories list themselves and their parent first; the root does
    // not. NTFS lists entries in name order, FAT in the order they were made.
    if (state->directory != root_node) {
      if (matches_pattern(".", last)) state->entries.push_back(dot_entry);
      if (matches_pattern("..", last)) state->entries.push_back(dot_dot_entry);
    }
    const size_t first_child = state->entries.size();
    for (node_id entry : volume.children(state->directory)) {
      if (matches_pattern(volume.name(entry), last)) state->entries.push_back(entry);
    }
    if (!volume.is_ntfs())
      std::sort(state->entries.begin() + static_cast<ptrdiff_t>(first_child), state->entries.end());
  }
  if (state->entries.empty()) return fail_handle(ERROR_FILE_NOT_FOUND);

  fill_find_data(volume, state->directory, state->entries[0], data);
  state->next = 1;
  open_handle handle;
  handle.kind = handle_kind::find;
  handle.letter = path.letter;
  handle.find = std::move(state);
  return handles_.open(std::move(handle));
}

BOOL simulated_volume::find_next_file(HANDLE find, WIN32_FIND_DATAA* data) {
  std::lock_guard lock(mutex_);
  open_handle* handle = handles_.find(find);
  if (handle == nullptr || handle->kind != handle_kind::find) return fail(ERROR_INVALID_HANDLE);
  if (data == nullptr) {
    note_misuse("FindNextFileA without a find record");
    return fail(ERROR_INVALID_PARAMETER);
  }
  const volume_model& volume = volume_of(handle->letter);
  find_state& state = *handle->find;
  if (wow64_ && !redirection_off_here()) {
    check_redirection("FindNextFileA",
                      (std::string(1, handle->letter) + ":" + volume.path_of(state.directory)).c_str());
  }
  // Entries removed since the search began are no longer listed.
  while (state.next < state.entries.size()) {
    const node_id entry = state.entries[state.next++];
    if (entry == dot_entry || entry == dot_dot_entry || volume.alive(entry)) {
      fill_find_data(volume, state.directory, entry, data);
      return TRUE;
    }
  }
  return fail(ERROR_NO_MORE_FILES);
}

BOOL simulated_volume::find_close(HANDLE find) {
  std::lock_guard lock(mutex_);
  open_handle* handle = handles_.find(find);
  if (handle == nullptr || handle->kind != handle_kind::find) {
    note_misuse("FindClose of something that is not an open search");
    return fail(ERROR_INVALID_HANDLE);
  }
  handles_.close(find);
  return TRUE;
}

}  // namespace dravik::sim
