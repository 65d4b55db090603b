// Drives, building, inspection and the handle-level calls of simulated_volume.
#include "simulated_volume.h"

#include <algorithm>
#include <stdexcept>

#include "last_error.h"
#include "names.h"

namespace dravik::sim {

namespace {

[[noreturn]] void test_mistake(const std::string& what) { throw std::invalid_argument(what); }

int letter_index(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

constexpr size_t misuse_log_limit = 100;

}  // namespace

simulated_volume::simulated_volume() = default;
simulated_volume::~simulated_volume() = default;

simulated_volume::drive* simulated_volume::drive_of(char letter) {
  const int index = letter_index(letter);
  return index < 0 || !drives_[static_cast<size_t>(index)].present
             ? nullptr
             : &drives_[static_cast<size_t>(index)];
}

const simulated_volume::drive* simulated_volume::drive_of(char letter) const {
  return const_cast<simulated_volume*>(this)->drive_of(letter);
}

volume_model& simulated_volume::volume_of(char letter) {
  drive* d = drive_of(letter);
  if (d == nullptr || !d->volume) test_mistake(std::string("no volume at ") + letter + ":");
  return *d->volume;
}

const volume_model& simulated_volume::volume_of(char letter) const {
  return const_cast<simulated_volume*>(this)->volume_of(letter);
}

void simulated_volume::add_drive(char letter, UINT drive_type) {
  std::lock_guard lock(mutex_);
  const int index = letter_index(letter);
  if (index < 0) test_mistake("not a drive letter");
  drive& d = drives_[static_cast<size_t>(index)];
  if (d.present) test_mistake(std::string("drive ") + letter + ": exists");
  d.present = true;
  d.type = drive_type;
}

void simulated_volume::add_volume(char letter, const volume_geometry& geometry, UINT drive_type) {
  add_volume(letter, std::make_unique<volume_model>(geometry), drive_type);
}

void simulated_volume::add_volume(char letter, std::unique_ptr<volume_model> volume,
                                  UINT drive_type) {
  add_drive(letter, drive_type);
  std::lock_guard lock(mutex_);
  drive_of(letter)->volume = std::move(volume);
}

void simulated_volume::reserve_clusters(char letter, uint64_t lcn, uint64_t count) {
  std::lock_guard lock(mutex_);
  volume_of(letter).reserve(lcn, count);
}

volume_model& simulated_volume::model_for_path(const std::string& text, win32_path& parsed) const {
  if (parse_win32_path(text.c_str(), false, parsed) != 0 || parsed.volume) {
    test_mistake("not a path on a volume: " + text);
  }
  return const_cast<simulated_volume*>(this)->volume_of(parsed.letter);
}

node_id simulated_volume::build_parents(volume_model& volume, const win32_path& parsed) {
  node_id at = root_node;
  for (size_t i = 0; i + 1 < parsed.components.size(); ++i) {
    node_id next = volume.child(at, parsed.components[i]);
    if (next == no_node) {
      next = volume.add_directory(at, parsed.components[i], 0, default_file_time);
    } else if (!volume.is_directory(next)) {
      test_mistake(std::string(parsed.components[i]) + " is not a directory");
    }
    at = next;
  }
  return at;
}

void simulated_volume::add_directory(std::string_view path, DWORD attributes, uint64_t time) {
  std::lock_guard lock(mutex_);
  const std::string text(path);
  win32_path parsed;
  volume_model& volume = model_for_path(text, parsed);
  if (parsed.components.empty()) test_mistake("the root exists");
  const node_id parent = build_parents(volume, parsed);
  volume.add_directory(parent, parsed.components.back(), attributes, time);
}

void simulated_volume::add_file(std::string_view path, uint64_t size,
                                const std::vector<file_run>& runs, DWORD attributes,
                                uint64_t time) {
  std::lock_guard lock(mutex_);
  const std::string text(path);
  win32_path parsed;
  volume_model& volume = model_for_path(text, parsed);
  if (parsed.components.empty()) test_mistake("a file needs a name");
  const node_id parent = build_parents(volume, parsed);
  volume.add_file(parent, parsed.components.back(), size, runs.data(), runs.size(), attributes,
                  time);
}

node_id simulated_volume::existing_node(std::string_view path, char* letter) const {
  const std::string text(path);
  win32_path parsed;
  const volume_model& volume = model_for_path(text, parsed);
  node_id at = root_node;
  for (std::string_view component : parsed.components) {
    at = volume.child(at, component);
    if (at == no_node) test_mistake("no such entry: " + text);
  }
  if (letter != nullptr) *letter = parsed.letter;
  return at;
}

void simulated_volume::remove(std::string_view path) {
  std::lock_guard lock(mutex_);
  char letter = 0;
  const node_id node = existing_node(path, &letter);
  volume_of(letter).remove(node);
}

void simulated_volume::set_junction_target(std::string_view junction, std::string_view target) {
  std::lock_guard lock(mutex_);
  char letter = 0, target_letter = 0;
  const node_id from = existing_node(junction, &letter);
  const node_id to = existing_node(target, &target_letter);
  if (letter != target_letter) test_mistake("a junction leads within its volume here");
  volume_of(letter).set_junction_target(from, to);
}

void simulated_volume::set_open_error(std::string_view path, DWORD error) {
  std::lock_guard lock(mutex_);
  char letter = 0;
  const node_id node = existing_node(path, &letter);
  volume_of(letter).set_open_error(node, error);
}

void simulated_volume::set_volume_open_error(char letter, DWORD error) {
  std::lock_guard lock(mutex_);
  volume_of(letter);
  drive_of(letter)->open_error = error;
}

void simulated_volume::fail_bitmap_reads(char letter, DWORD error, int times) {
  std::lock_guard lock(mutex_);
  volume_of(letter);
  drive* d = drive_of(letter);
  d->bitmap_error = error;
  d->bitmap_failures = times;
}

void simulated_volume::set_move_hook(move_hook hook) {
  std::lock_guard lock(mutex_);
  move_hook_ = std::move(hook);
}

uint64_t simulated_volume::take_free_clusters(char letter, uint64_t lcn, uint64_t count) {
  std::lock_guard lock(mutex_);
  return volume_of(letter).take_free_clusters(lcn, count);
}

std::vector<file_run> simulated_volume::runs_of(std::string_view path) const {
  std::lock_guard lock(mutex_);
  char letter = 0;
  const node_id node = existing_node(path, &letter);
  const volume_model& volume = volume_of(letter);
  std::vector<file_run> runs;
  int64_t start = 0;
  for (uint32_t i = 0; i < volume.extent_count(node); ++i) {
    const extent& e = volume.extents(node)[i];
    runs.push_back({e.lcn, static_cast<uint64_t>(e.next_vcn - start)});
    start = e.next_vcn;
  }
  return runs;
}

bool simulated_volume::cluster_used(char letter, uint64_t lcn) const {
  std::lock_guard lock(mutex_);
  const volume_model& volume = volume_of(letter);
  if (lcn >= volume.bitmap().size()) test_mistake("cluster beyond the volume");
  return volume.bitmap().test(lcn);
}

uint64_t simulated_volume::free_clusters(char letter) const {
  std::lock_guard lock(mutex_);
  const cluster_bitmap& bitmap = volume_of(letter).bitmap();
  return bitmap.size() - bitmap.used();
}

std::vector<std::string> simulated_volume::check_invariants() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> problems;
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (!drives_[i].volume) continue;
    std::vector<std::string> found;
    drives_[i].volume->check(found);
    for (std::string& line : found) {
      problems.push_back(std::string(1, static_cast<char>('A' + i)) + ": " + line);
    }
  }
  return problems;
}

bool simulated_volume::visit_volumes(const volume_visitor& visit,
                                     std::chrono::milliseconds wait) const {
  // A polled try_lock: a lock whose owner is gone would block for ever.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::unique_lock lock(mutex_, std::try_to_lock);
  while (!lock.owns_lock()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(1);
    lock.try_lock();
  }
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i].volume) visit(static_cast<char>('A' + i), *drives_[i].volume);
  }
  return true;
}

size_t simulated_volume::open_handle_count() const {
  std::lock_guard lock(mutex_);
  return handles_.open_count();
}

std::string simulated_volume::describe(const open_handle& handle) const {
  const std::string drive = std::string(1, handle.letter) + ":";
  const volume_model* volume =
      drive_of(handle.letter) ? drive_of(handle.letter)->volume.get() : nullptr;
  const std::string path =
      volume != nullptr && handle.node != no_node ? drive + volume->path_of(handle.node) : drive;
  switch (handle.kind) {
    case handle_kind::volume:
      return "volume \\\\.\\" + drive;
    case handle_kind::file:
      return (volume != nullptr && volume->alive(handle.node) &&
                      volume->is_file_symlink(handle.node)
                  ? "symbolic link "
                  : "file ") +
             path;
    case handle_kind::directory:
      return "directory " + path;
    case handle_kind::find:
      return "search in " +
             (volume != nullptr ? drive + volume->path_of(handle.find->directory) : drive);
  }
  return "handle";
}

std::vector<std::string> simulated_volume::open_handles() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> lines;
  handles_.for_each_open([&](const open_handle& handle) { lines.push_back(describe(handle)); });
  return lines;
}

void simulated_volume::note_misuse(std::string what) {
  if (misuse_.size() < misuse_log_limit) misuse_.push_back(std::move(what));
}

std::vector<std::string> simulated_volume::misuse() const {
  std::lock_guard lock(mutex_);
  return misuse_;
}

uint64_t simulated_volume::move_requests() const {
  std::lock_guard lock(mutex_);
  return move_requests_;
}

uint64_t simulated_volume::moves_done() const {
  std::lock_guard lock(mutex_);
  return moves_done_;
}

BOOL simulated_volume::get_file_size_ex(HANDLE file, LARGE_INTEGER* size) {
  std::lock_guard lock(mutex_);
  open_handle* handle = handles_.find(file);
  if (handle == nullptr || handle->kind == handle_kind::find) return fail(ERROR_INVALID_HANDLE);
  if (size == nullptr) {
    note_misuse("GetFileSizeEx without a result pointer");
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (handle->kind == handle_kind::volume) return fail(ERROR_INVALID_FUNCTION);
  const volume_model& volume = volume_of(handle->letter);
  if (!volume.alive(handle->node)) return fail(ERROR_ACCESS_DENIED);
  size->QuadPart =
      handle->kind == handle_kind::directory ? 0 : static_cast<LONGLONG>(volume.size(handle->node));
  return TRUE;
}

BOOL simulated_volume::close_handle(HANDLE handle) {
  std::lock_guard lock(mutex_);
  open_handle* entry = handles_.find(handle);
  if (entry == nullptr) {
    note_misuse("CloseHandle of a handle that is not open");
    return fail(ERROR_INVALID_HANDLE);
  }
  if (entry->kind == handle_kind::find) {
    // A search handle is no kernel handle: CloseHandle refuses it and the
    // search stays open.
    note_misuse("CloseHandle on a search handle (FindClose closes it)");
    return fail(ERROR_INVALID_HANDLE);
  }
  handles_.close(handle);
  return TRUE;
}

DWORD simulated_volume::get_last_error() { return last_error(); }

}  // namespace dravik::sim
