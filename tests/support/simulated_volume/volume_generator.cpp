#include "volume_generator.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "names.h"

namespace dravik::sim {

namespace {

constexpr uint64_t kib = 1024;
constexpr uint64_t mib = 1024 * kib;
constexpr uint64_t gib = 1024 * mib;

// NTFS keeps the data of a file this small inside its file record: no clusters.
constexpr uint64_t resident_limit = 600;
constexpr uint64_t compression_unit = 16;

// splitmix64 and integer-only draws, so every build makes the same volume.
class random_numbers {
 public:
  explicit random_numbers(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, n); 0 when n is 0.
  uint64_t below(uint64_t n) { return n == 0 ? 0 : next() % n; }
  double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  bool chance(double p) { return unit() < p; }
  // Spread evenly over the powers of two between lo and hi (both >= 1).
  uint64_t log_uniform(uint64_t lo, uint64_t hi) {
    const int low_bit = 63 - __builtin_clzll(lo);
    const int high_bit = 63 - __builtin_clzll(hi);
    const int bit =
        low_bit + static_cast<int>(below(static_cast<uint64_t>(high_bit - low_bit + 1)));
    const uint64_t value = (uint64_t{1} << bit) + below(uint64_t{1} << bit);
    return std::clamp(value, lo, hi);
  }

 private:
  uint64_t state_;
};

uint64_t mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ull;
  return x ^ (x >> 33);
}

// GBK bytes of a few Chinese words: 新建文件夹, 资料, 文档, 照片.
const char* const chinese_words[] = {"\xD0\xC2\xBD\xA8\xCE\xC4\xBC\xFE\xBC\xD0", "\xD7\xCA\xC1\xCF",
                                     "\xCE\xC4\xB5\xB5", "\xD5\xD5\xC6\xAC"};
const char* const folder_words[] = {"Documents", "Projects",      "Photos", "Music", "src",
                                    "data",      "Backup",        "cache",  "Temp",  "Logs",
                                    "Downloads", "Program Files", "Common", "bin"};
const char* const file_words[] = {"report", "IMG_", "data", "Setup", "notes", "track", "index",
                                  "Thumbs", "log",  "page", "Book",  "scan",  "part",  "msg"};
const char* const extensions[] = {".txt", ".dll", ".exe", ".jpg", ".png", ".doc",  ".xls", ".pdf",
                                  ".mp3", ".log", ".dat", ".ini", ".zip", ".html", ".avi"};
const char* const system_extensions[] = {".dll", ".exe", ".sys", ".mui", ".cpl"};

template <typename T, size_t N>
const char* pick(const T (&list)[N], uint64_t hash) {
  return list[hash % N];
}

enum class file_kind : uint8_t { plain, fragmented, compressed, sparse };

struct planned_folder {
  node_id node;
  uint32_t depth;
  bool holds_files;  // the generic folders and System32; not the special ones
};

struct planned_file {
  uint64_t size;
  uint32_t folder;
  DWORD attributes;
  uint32_t runs_at;
  uint32_t run_count;
  file_kind kind;
};

struct piece {
  uint64_t key;
  uint32_t file;
  uint32_t run;
};

class volume_builder {
 public:
  volume_builder(const generator_settings& settings, volume_model& volume)
      : settings_(settings),
        volume_(volume),
        random_(settings.seed),
        cluster_bytes_(volume.bytes_per_cluster()) {}

  void build(generated_volume_summary& summary);

 private:
  void make_folders();
  void plan_files();
  void scale_sizes(uint64_t budget);
  void lay_out_runs();
  void place_runs(uint64_t first_free);
  void add_files(generated_volume_summary& summary);
  std::string file_name(uint32_t index) const;
  uint64_t clusters_of(const planned_file& file) const;
  uint64_t random_time() {
    return default_time_base + random_.below(6 * 365 * 86400ull) * 10000000ull;
  }

  static constexpr uint64_t default_time_base = 130645440000000000ull;  // 2015-01-01

  const generator_settings& settings_;
  volume_model& volume_;
  random_numbers random_;
  const uint64_t cluster_bytes_;
  std::vector<planned_folder> folders_;
  uint32_t system32_ = 0;
  uint32_t drivers_ = 0;
  uint32_t first_generic_ = 0;
  std::vector<planned_file> files_;
  std::vector<file_run> runs_;
  uint64_t reserved_ = 0;
  bool pagefile_ = false;  // files_[0] is pagefile.sys
};

uint64_t volume_builder::clusters_of(const planned_file& file) const {
  if (volume_.is_ntfs() ? file.size <= resident_limit : file.size == 0) return 0;
  return (file.size + cluster_bytes_ - 1) / cluster_bytes_;
}

void volume_builder::make_folders() {
  folders_.push_back({root_node, 0, true});
  const uint64_t t = default_time_base;
  auto add = [&](uint32_t parent, const std::string& name, DWORD attributes, bool holds_files) {
    const node_id id = volume_.add_directory(folders_[parent].node, name, attributes, t);
    folders_.push_back({id, folders_[parent].depth + 1, holds_files});
    return static_cast<uint32_t>(folders_.size() - 1);
  };
  if (settings_.system32) {
    const uint32_t windows = add(0, "Windows", 0, true);
    system32_ = add(windows, "System32", 0, true);
    drivers_ = add(system32_, "drivers", 0, true);
  }
  if (settings_.system_entries) {
    add(0, "System Volume Information", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false);
    add(0, "Documents and Settings",
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT, false);
    if (volume_.is_ntfs())
      add(0, "$Recycle.Bin", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false);
  }
  first_generic_ = static_cast<uint32_t>(folders_.size());
  // A random recursive tree: each new folder hangs below a folder picked
  // evenly among those that may still have children.
  std::vector<uint32_t> parents;
  for (uint32_t i = 0; i < folders_.size(); ++i) {
    if (folders_[i].holds_files && folders_[i].depth < settings_.max_depth) parents.push_back(i);
  }
  const uint32_t fixed = static_cast<uint32_t>(folders_.size() - 1);
  for (uint32_t n = fixed; n < settings_.folders; ++n) {
    if (parents.empty()) break;
    const uint32_t parent = parents[random_.below(parents.size())];
    const uint64_t h = mix(settings_.seed ^ (uint64_t{n} << 20) ^ 0xF01DE5);
    std::string name = h % 20 == 0 ? pick(chinese_words, h >> 8) : pick(folder_words, h >> 8);
    name += " " + std::to_string(n);
    DWORD attributes = 0;
    if (random_.chance(settings_.read_only_share)) attributes |= FILE_ATTRIBUTE_READONLY;
    if (random_.chance(settings_.hidden_share)) attributes |= FILE_ATTRIBUTE_HIDDEN;
    const node_id id =
        volume_.add_directory(folders_[parent].node, name, attributes, random_time());
    folders_.push_back({id, folders_[parent].depth + 1, true});
    if (folders_.back().depth < settings_.max_depth)
      parents.push_back(static_cast<uint32_t>(folders_.size() - 1));
  }
}

void volume_builder::plan_files() {
  const bool ntfs = volume_.is_ntfs();
  files_.reserve(settings_.files + 1);
  if (settings_.system_entries) {
    // The paging file: large, in one piece, never opened by anyone else.
    const uint64_t size =
        std::min<uint64_t>(2 * gib, settings_.total_clusters / 50 * cluster_bytes_);
    if (size > 0) {
      pagefile_ = true;
      files_.push_back({size, 0,
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, 0,
                        0, file_kind::plain});
    }
  }
  const auto generic = static_cast<uint32_t>(folders_.size() - first_generic_);
  const uint32_t hot = std::min<uint32_t>(64, generic);
  for (uint32_t i = 0; i < settings_.files; ++i) {
    planned_file file{};
    if (settings_.system32 && random_.chance(settings_.system32_share)) {
      file.folder = random_.chance(0.1) ? drivers_ : system32_;
    } else if (generic > 0 && random_.chance(0.3)) {
      file.folder = first_generic_ + static_cast<uint32_t>(random_.below(hot));
    } else {
      // Evenly over the root and the generic folders.
      const uint64_t pick_at = random_.below(uint64_t{generic} + 1);
      file.folder = pick_at == 0 ? 0 : first_generic_ + static_cast<uint32_t>(pick_at - 1);
    }
    const double size_class = random_.unit();
    if (size_class < settings_.small_share) {
      // A few empty files: they have no clusters on any file system.
      file.size = random_.chance(0.02) ? 0 : random_.log_uniform(256, 64 * kib - 1);
    } else if (size_class < settings_.small_share + settings_.medium_share) {
      file.size = random_.log_uniform(64 * kib, mib - 1);
    } else if (size_class <
               settings_.small_share + settings_.medium_share + settings_.large_share) {
      file.size = random_.log_uniform(mib, 64 * mib - 1);
    } else {
      file.size = random_.log_uniform(64 * mib, 4 * gib);
    }
    file.attributes = FILE_ATTRIBUTE_ARCHIVE;
    if (random_.chance(settings_.read_only_share)) file.attributes |= FILE_ATTRIBUTE_READONLY;
    if (random_.chance(settings_.hidden_share)) file.attributes |= FILE_ATTRIBUTE_HIDDEN;
    const double kind = random_.unit();
    if (ntfs && kind < settings_.compressed_share) {
      file.kind = file_kind::compressed;
      file.attributes |= FILE_ATTRIBUTE_COMPRESSED;
    } else if (ntfs && kind < settings_.compressed_share + settings_.sparse_share) {
      file.kind = file_kind::sparse;
      file.attributes |= FILE_ATTRIBUTE_SPARSE_FILE;
    } else if (random_.chance(settings_.fragmented_share)) {
      file.kind = file_kind::fragmented;
    }
    files_.push_back(file);
  }
}

void volume_builder::scale_sizes(uint64_t budget) {
  // The small and medium files keep their sizes; the large and huge ones
  // grow or shrink until the files fill the volume to the wanted share.
  uint64_t small = 0, big = 0;
  const size_t first = pagefile_ ? 1 : 0;
  for (size_t i = first; i < files_.size(); ++i) {
    (files_[i].size < mib ? small : big) += clusters_of(files_[i]);
  }
  double big_factor = 1.0, small_factor = 1.0;
  if (small >= budget) {
    small_factor = big_factor = static_cast<double>(budget) / static_cast<double>(small + big);
  } else if (big > 0) {
    big_factor = static_cast<double>(budget - small) / static_cast<double>(big);
  }
  // FAT keeps a file's size in 32 bits.
  const uint64_t largest_size = volume_.is_ntfs() ? ~uint64_t{0} : 4 * gib - 1;
  for (size_t i = first; i < files_.size(); ++i) {
    planned_file& file = files_[i];
    const double factor = file.size < mib ? small_factor : big_factor;
    if (factor != 1.0 && file.size > 0) {
      file.size =
          std::max<uint64_t>(1, static_cast<uint64_t>(static_cast<double>(file.size) * factor));
    }
    file.size = std::min(file.size, largest_size);
  }
  // Rounding to clusters may overshoot: take the rest from the largest files.
  uint64_t used = 0;
  for (size_t i = first; i < files_.size(); ++i) used += clusters_of(files_[i]);
  while (used > budget) {
    auto largest = std::max_element(
        files_.begin() + static_cast<ptrdiff_t>(first), files_.end(),
        [](const planned_file& a, const planned_file& b) { return a.size < b.size; });
    const uint64_t before = clusters_of(*largest);
    const uint64_t cut = std::min(used - budget, before - 1);
    if (cut == 0) throw std::invalid_argument("generator: too many files for the volume");
    largest->size = (before - cut) * cluster_bytes_;
    used -= before - clusters_of(*largest);
  }
}

void volume_builder::lay_out_runs() {
  runs_.reserve(files_.size() + files_.size() / 4);
  for (planned_file& file : files_) {
    file.runs_at = static_cast<uint32_t>(runs_.size());
    const uint64_t clusters = clusters_of(file);
    if (clusters == 0) {
      if (file.kind == file_kind::fragmented) file.kind = file_kind::plain;
      continue;
    }
    switch (file.kind) {
      case file_kind::compressed:
        // Each unit of 16 clusters keeps what its data compressed to; the
        // rest of the unit is virtual.
        for (uint64_t at = 0; at < clusters; at += compression_unit) {
          const uint64_t unit = std::min(compression_unit, clusters - at);
          const uint64_t real = 1 + random_.below(unit);
          runs_.push_back({0, real});
          if (real < unit) runs_.push_back({virtual_lcn, unit - real});
        }
        break;
      case file_kind::sparse: {
        // Real data with up to three holes between.
        const uint64_t holes =
            clusters < 3 ? 0 : 1 + random_.below(std::min<uint64_t>(3, clusters / 3));
        uint64_t left = clusters;
        for (uint64_t h = 0; h < holes && left >= 3; ++h) {
          const uint64_t data = 1 + random_.below(left / 3);
          const uint64_t hole = 1 + random_.below(left / 3);
          runs_.push_back({0, data});
          runs_.push_back({virtual_lcn, hole});
          left -= data + hole;
        }
        if (left > 0) runs_.push_back({0, left});
        break;
      }
      case file_kind::fragmented: {
        const uint64_t wanted =
            clusters < 2 ? 1
                         : random_.log_uniform(std::max<uint32_t>(2, settings_.min_fragments),
                                               std::max<uint32_t>(2, settings_.max_fragments));
        const uint64_t pieces = std::min(wanted, clusters);
        if (pieces < 2) {
          file.kind = file_kind::plain;
          runs_.push_back({0, clusters});
          break;
        }
        // Random cut points, every piece at least one cluster long.
        std::vector<uint64_t> cuts;
        cuts.reserve(static_cast<size_t>(pieces) + 1);
        cuts.push_back(0);
        for (uint64_t p = 1; p < pieces; ++p)
          cuts.push_back(1 + random_.below(clusters - pieces + 1));
        std::sort(cuts.begin() + 1, cuts.end());
        for (uint64_t p = 1; p < pieces; ++p) cuts[p] += p - 1;
        cuts.push_back(clusters);
        for (uint64_t p = 0; p < pieces; ++p) runs_.push_back({0, cuts[p + 1] - cuts[p]});
        break;
      }
      case file_kind::plain:
        runs_.push_back({0, clusters});
        break;
    }
    file.run_count = static_cast<uint32_t>(runs_.size() - file.runs_at);
  }
}

void volume_builder::place_runs(uint64_t first_free) {
  // Files are written folder by folder; the extra pieces of fragmented
  // files land anywhere among them.
  std::vector<uint32_t> order(files_.size());
  {
    std::vector<uint32_t> per_folder(folders_.size() + 1, 0);
    for (const planned_file& file : files_) ++per_folder[file.folder + 1];
    for (size_t f = 1; f < per_folder.size(); ++f) per_folder[f] += per_folder[f - 1];
    for (uint32_t i = 0; i < files_.size(); ++i) order[per_folder[files_[i].folder]++] = i;
  }
  std::vector<piece> pieces;
  uint64_t real_clusters = 0;
  for (uint64_t position = 0; position < order.size(); ++position) {
    const uint32_t index = order[position];
    const planned_file& file = files_[index];
    for (uint32_t r = 0; r < file.run_count; ++r) {
      const file_run& run = runs_[file.runs_at + r];
      if (run.lcn == virtual_lcn) continue;
      real_clusters += run.length;
      const bool scattered = file.kind == file_kind::fragmented && r > 0;
      const uint64_t at = scattered ? random_.below(order.size()) : position;
      pieces.push_back({(at << 24) | (scattered ? random_.below(uint64_t{1} << 23) : r), index, r});
    }
  }
  std::sort(pieces.begin(), pieces.end(), [](const piece& a, const piece& b) {
    if (a.key != b.key) return a.key < b.key;
    return a.file != b.file ? a.file < b.file : a.run < b.run;
  });

  const uint64_t total = settings_.total_clusters;
  if (first_free + real_clusters > total)
    throw std::invalid_argument("generator: files do not fit");
  const uint64_t free_total = total - first_free - real_clusters;
  uint64_t gap_budget = static_cast<uint64_t>(static_cast<double>(free_total) *
                                              std::clamp(settings_.free_scatter, 0.0, 1.0));
  const uint64_t gaps_wanted =
      gap_budget == 0 || pieces.empty()
          ? 0
          : std::max<uint64_t>(1, static_cast<uint64_t>(settings_.free_scatter *
                                                        static_cast<double>(pieces.size()) / 4));
  const uint64_t mean_gap = gaps_wanted == 0 ? 0 : std::max<uint64_t>(1, gap_budget / gaps_wanted);
  uint64_t slack = free_total;  // free clusters not yet handed out as gaps
  uint64_t cursor = first_free;
  uint32_t last_file = UINT32_MAX, last_run = 0;
  for (const piece& p : pieces) {
    uint64_t gap = 0;
    if (gaps_wanted > 0 && random_.below(pieces.size()) < gaps_wanted) {
      gap = std::min(gap_budget, 1 + random_.below(2 * mean_gap));
    }
    // Two pieces of one file that follow each other on the volume and in
    // the file would be one extent: keep a cluster between them.
    if (gap == 0 && p.file == last_file && p.run == last_run + 1 && slack > 0) gap = 1;
    gap = std::min(gap, slack);
    gap_budget -= std::min(gap_budget, gap);
    slack -= gap;
    cursor += gap;
    file_run& run = runs_[files_[p.file].runs_at + p.run];
    run.lcn = static_cast<int64_t>(cursor);
    cursor += run.length;
    last_file = p.file;
    last_run = p.run;
  }
}

std::string volume_builder::file_name(uint32_t index) const {
  const uint64_t h = mix(settings_.seed ^ (uint64_t{index} << 24) ^ 0xF11E);
  const planned_file& file = files_[index];
  if (pagefile_ && index == 0) return "pagefile.sys";
  std::string name;
  if (settings_.system32 && (file.folder == system32_ || file.folder == drivers_)) {
    name = (h & 1 ? "ms" : "Win") + std::to_string(index) + pick(system_extensions, h >> 8);
  } else if (h % 20 == 0) {
    name = std::string(pick(chinese_words, h >> 8)) + std::to_string(index) + ".txt";
  } else {
    name = pick(file_words, h >> 8) + std::to_string(index) + pick(extensions, h >> 16);
    if (h % 7 == 0)
      std::transform(name.begin(), name.end(), name.begin(),
                     [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  }
  return name;
}

void volume_builder::add_files(generated_volume_summary& summary) {
  for (uint32_t i = 0; i < files_.size(); ++i) {
    const planned_file& file = files_[i];
    const node_id id = volume_.add_file(folders_[file.folder].node, file_name(i), file.size,
                                        runs_.data() + file.runs_at, file.run_count,
                                        file.attributes, random_time());
    if (pagefile_ && i == 0) volume_.set_open_error(id, ERROR_SHARING_VIOLATION);
    ++summary.files;
    summary.extents += file.run_count;
    if (file.run_count == 0) ++summary.files_without_clusters;
    if (file.kind == file_kind::fragmented) ++summary.fragmented_files;
    if (file.kind == file_kind::compressed) ++summary.compressed_files;
    if (file.kind == file_kind::sparse) ++summary.sparse_files;
  }
}

void volume_builder::build(generated_volume_summary& summary) {
  // The file system's own area at the start: boot sector and, on NTFS, the
  // master file table with room for a record of 1 KiB per entry.
  if (volume_.is_ntfs()) {
    reserved_ = std::max<uint64_t>(
        16, (uint64_t{settings_.files} + settings_.folders) * kib / cluster_bytes_);
    reserved_ = std::min(reserved_, settings_.total_clusters / 8);
    if (reserved_ > 0) volume_.reserve(0, reserved_);
  }
  const size_t entries = size_t{settings_.files} + settings_.folders + 2;
  volume_.reserve_room(entries, entries * 16, 0);
  make_folders();
  plan_files();
  const auto total = static_cast<double>(settings_.total_clusters);
  const uint64_t pagefile = pagefile_ ? clusters_of(files_[0]) : 0;
  const double wanted = total * (1.0 - std::clamp(settings_.free_share, 0.0, 1.0));
  const uint64_t fixed = reserved_ + pagefile;
  const uint64_t budget =
      wanted > static_cast<double>(fixed) ? static_cast<uint64_t>(wanted) - fixed : 0;
  scale_sizes(budget);
  lay_out_runs();
  place_runs(reserved_);
  volume_.reserve_room(volume_.node_count() + files_.size(), 0, runs_.size());
  add_files(summary);
  summary.folders = static_cast<uint32_t>(folders_.size() - 1);
  summary.reserved_clusters = reserved_;
  summary.used_clusters = volume_.bitmap().used();
  summary.free_clusters = volume_.bitmap().size() - summary.used_clusters;
  summary.free_runs = volume_.bitmap().count_free_runs();
}

}  // namespace

std::unique_ptr<volume_model> generate_volume(const generator_settings& settings,
                                              generated_volume_summary* summary) {
  auto share = [](double value) { return value >= 0.0 && value <= 1.0; };
  if (settings.total_clusters == 0) throw std::invalid_argument("generator: an empty volume");
  if (settings.min_fragments > settings.max_fragments) {
    throw std::invalid_argument("generator: min_fragments above max_fragments");
  }
  if (!share(settings.small_share) || !share(settings.medium_share) ||
      !share(settings.large_share) ||
      settings.small_share + settings.medium_share + settings.large_share > 1.0 ||
      !share(settings.fragmented_share) || !share(settings.compressed_share) ||
      !share(settings.sparse_share) || !share(settings.free_share) ||
      !share(settings.free_scatter) || !share(settings.system32_share) ||
      !share(settings.read_only_share) || !share(settings.hidden_share)) {
    throw std::invalid_argument("generator: a share outside 0 to 1");
  }
  volume_geometry geometry;
  geometry.file_system = settings.file_system;
  geometry.bytes_per_sector = settings.bytes_per_sector;
  geometry.sectors_per_cluster = settings.sectors_per_cluster;
  geometry.total_clusters = settings.total_clusters;
  geometry.label = "GEN" + std::to_string(settings.seed % 1000);
  geometry.serial_number = static_cast<DWORD>(mix(settings.seed));
  geometry.track_contents = settings.track_contents;
  auto volume = std::make_unique<volume_model>(geometry);
  generated_volume_summary local;
  volume_builder(settings, *volume).build(summary != nullptr ? *summary : local);
  return volume;
}

}  // namespace dravik::sim
