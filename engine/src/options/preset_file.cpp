#include "options/preset_file.h"

#include "text/ansi_text.h"
#include "files/replace_file.h"
#include "files/stdio_file.h"

#include <algorithm>

namespace dravik {

namespace {

enum class preset_section { none, folder, file, type };

// Splits at "\n" and drops the "\r" of a CR LF; a final line end starts no
// further line. The file is read as binary so that both line ends work.
std::vector<std::string> split_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

preset_contents parse_presets(const std::string& bytes) {
  preset_contents contents;
  preset_section section = preset_section::none;
  for (std::string line : split_lines(bytes)) {
    // The lists hand their entries to the walks as C strings: a line holding
    // a NUL would reach them as its text before the NUL (an empty one
    // "contained" in every directory name) while the dialog showed it whole.
    // Cutting it here gives one text to all three.
    const std::size_t nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
    const std::size_t bracket = find_ansi_char(line, ']');
    if (bracket != std::string::npos) {
      line.resize(bracket + 1);
      if (line == "[folder]") {
        section = preset_section::folder;
        continue;
      }
      if (line == "[file]") {
        section = preset_section::file;
        continue;
      }
      if (line == "[type]") {
        section = preset_section::type;
        continue;
      }
    }
    switch (section) {
      case preset_section::none:
        break;
      case preset_section::folder:
        contents.folder_text += line + ";";
        add_folder_exclusion(contents.folders, line);
        break;
      case preset_section::file:
        contents.file_text += line + ";";
        add_file_exclusion(contents.files, line, file_exclusion_kind::file);
        break;
      case preset_section::type:
        contents.type_text += line + ";";
        add_file_exclusion(contents.files, line, file_exclusion_kind::type);
        break;
    }
  }
  return contents;
}

std::vector<std::string> split_entries(const std::string& text) {
  // Neither " " nor ";" can be the second byte of a double-byte character,
  // so plain byte searches are safe here.
  std::string rest = text;
  rest.erase(std::remove(rest.begin(), rest.end(), ' '), rest.end());
  std::vector<std::string> entries;
  while (!rest.empty()) {
    const std::size_t separator = rest.find(';');
    if (separator == std::string::npos) {
      entries.push_back(rest);
      break;
    }
    entries.push_back(rest.substr(0, separator));
    rest.erase(0, separator + 1);
  }
  return entries;
}

std::string format_presets(const std::vector<std::string>& folders,
                           const std::vector<std::string>& files,
                           const std::vector<std::string>& types) {
  std::string bytes = "[folder]";
  for (const std::string& entry : folders) bytes += "\r\n" + entry;
  bytes += "\r\n[file]";
  for (const std::string& entry : files) bytes += "\r\n" + entry;
  bytes += "\r\n[type]";
  for (const std::string& entry : types) bytes += "\r\n" + entry;
  return bytes;
}

bool read_preset_file(const std::string& path, std::string& bytes) {
  const stdio_file file = open_stdio_file(path, "rb");
  if (!file) return false;
  bytes.clear();
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  return true;
}

bool write_preset_file(const std::string& path, const std::string& bytes) {
  return replace_file(path, bytes);
}

}  // namespace dravik
