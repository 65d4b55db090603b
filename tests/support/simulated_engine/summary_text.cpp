// The text form of the volume summaries: what format_volume_summaries writes
// and parse_volume_summaries reads back.
#include <algorithm>
#include <charconv>
#include <sstream>

#include "simulated_engine/volume_summary.h"

namespace dravik::sim {

namespace {

constexpr std::string_view problem_marker = " problem: ";

std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    const size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

bool read_count(std::string_view word, std::string_view key, uint64_t& value) {
  if (word.size() <= key.size() + 1 || word.substr(0, key.size()) != key ||
      word[key.size()] != '=') {
    return false;
  }
  const std::string_view digits = word.substr(key.size() + 1);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size();
}

bool is_letter(std::string_view word) {
  return word.size() == 1 && word[0] >= 'A' && word[0] <= 'Z';
}

std::optional<volume_summary> parse_volume_line(std::string_view line) {
  const std::vector<std::string_view> words = words_of(line);
  if (words.size() != 8 || !is_letter(words[0])) return std::nullopt;
  volume_summary volume;
  volume.letter = words[0][0];
  volume.file_system = std::string(words[1]);
  if (!read_count(words[2], "files", volume.files) ||
      !read_count(words[3], "extents", volume.extents) ||
      !read_count(words[4], "fragmented_files", volume.fragmented_files) ||
      !read_count(words[5], "unmovable_fragmented_files", volume.unmovable_fragmented_files) ||
      !read_count(words[6], "free_bytes", volume.free_bytes)) {
    return std::nullopt;
  }
  if (words[7] != "invariants=ok" && words[7] != "invariants=broken") return std::nullopt;
  volume.invariants_hold = words[7] == "invariants=ok";
  return volume;
}

}  // namespace

std::string format_volume_summaries(const std::vector<volume_summary>& volumes) {
  std::ostringstream text;
  text << "# simulated volumes after the engine's unload\n";
  for (const volume_summary& v : volumes) {
    text << v.letter << ' ' << v.file_system << " files=" << v.files << " extents=" << v.extents
         << " fragmented_files=" << v.fragmented_files
         << " unmovable_fragmented_files=" << v.unmovable_fragmented_files
         << " free_bytes=" << v.free_bytes
         << " invariants=" << (v.invariants_hold ? "ok" : "broken") << '\n';
    for (std::string problem : v.problems) {
      // One line each, whatever the check wrote.
      for (char& c : problem) {
        if (c == '\n' || c == '\r') c = ' ';
      }
      text << v.letter << problem_marker << problem << '\n';
    }
  }
  return text.str();
}

std::optional<std::vector<volume_summary>> parse_volume_summaries(std::string_view text) {
  std::vector<volume_summary> volumes;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    if (line.size() > 1 && line.substr(1, problem_marker.size()) == problem_marker) {
      if (volumes.empty() || volumes.back().letter != line[0]) return std::nullopt;
      volumes.back().problems.emplace_back(line.substr(1 + problem_marker.size()));
      continue;
    }
    std::optional<volume_summary> volume = parse_volume_line(line);
    if (!volume) return std::nullopt;
    volumes.push_back(std::move(*volume));
  }
  return volumes;
}

}  // namespace dravik::sim
