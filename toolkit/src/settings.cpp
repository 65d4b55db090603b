#include "vemo/settings.h"

#include <share.h>
#include <stdio.h>

#include <memory>

#include "program_folder.h"
#include "tessarel/unique_handle.h"
#include "vemo/text_conversion.h"

namespace vemo {
namespace {

using unique_file = tessarel::unique_stdio_file;

// Text mode, so CR LF arrives as LF; others may read and write the file
// meanwhile.
unique_file open_shared_text(const std::wstring& path) {
  return unique_file(_wfsopen(path.c_str(), L"rt", _SH_DENYNO));
}

// The lines of a text file as read with getline: a line break at the very
// end adds no line, a last line without one is still a line.
std::vector<std::string> read_lines(FILE* file) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  char buffer[4096];
  for (;;) {
    const size_t count = fread(buffer, 1, sizeof(buffer), file);
    for (size_t i = 0; i < count; ++i) {
      if (buffer[i] == '\n') {
        lines.push_back(std::move(line));
        line.clear();
        pending = false;
      } else {
        line.push_back(buffer[i]);
        pending = true;
      }
    }
    if (count < sizeof(buffer)) break;
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

std::unique_ptr<mapcfg>& settings_object() {
  static std::unique_ptr<mapcfg> object;
  return object;
}

}  // namespace

cfg_error::cfg_error(const std::string& key)
    : std::runtime_error(narrow_text(L"找不到配置项：") + key) {}

cfgure::cfgure(const std::wstring& file_name)
    : folder_(folder_of(executable_path())),
      path_(folder_ + L"\\" + file_name),
      font_(CreateFontW(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0,
                        L"宋体")),
      brush_(CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0))) {}

cfgure::~cfgure() = default;

void cfgure::load() { open_shared_text(path_); }

void cfgure::reserved() {}

mapcfg::mapcfg(const std::wstring& file_name) : cfgure(file_name) {}

void mapcfg::load() {
  const unique_file file = open_shared_text(path());
  if (!file) return;
  for (const std::string& narrow_line : read_lines(file.get())) {
    // The key is the first word by the stream's white-space rules; the value
    // is everything after it, separating and trailing blanks included.
    std::wistringstream line(wide_text(narrow_line));
    std::wstring key, value;
    if (line >> key) std::getline(line, value);
    entries_.emplace(narrow_text(key), value);
  }
}

bool mapcfg::get(const std::string& key, std::wstring& value) const {
  // lower_bound, unlike find, gives the first of equal keys.
  const auto it = entries_.lower_bound(key);
  if (it == entries_.end() || it->first != key) throw cfg_error(key);
  std::wistringstream in(it->second);
  std::wstring word;
  if (in >> word) value = word;
  return true;
}

void open_settings(const std::wstring& file_name) {
  auto& object = settings_object();
  if (object) return;
  object = std::make_unique<mapcfg>(file_name);
  object->load();
}

mapcfg* settings() { return settings_object().get(); }

void close_settings() { settings_object().reset(); }

void make_program_path(const cfgure& settings, std::wstring& file_name) {
  file_name = settings.folder() + L"\\" + file_name;
}

}  // namespace vemo
