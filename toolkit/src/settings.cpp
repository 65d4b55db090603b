#include "vemo/settings.h"

#include <io.h>
#include <share.h>
#include <stdio.h>

#include <memory>

#include "program_folder.h"
#include "tessarel/unique_handle.h"
#include "vemo/text_conversion.h"

namespace vemo {
namespace {

using unique_file = tessarel::unique_stdio_file;

// Binary, so that a stray 0x1A does not end the file as text mode would;
// CR LF is folded below. Others may read and write the file meanwhile.
unique_file open_shared(const std::wstring& path) {
  return unique_file(_wfsopen(path.c_str(), L"rb", _SH_DENYNO));
}

// The lines of a file as a text-mode getline gives them: split at LF, a CR
// right before the LF dropped, a line break at the very end adds no line, a
// last line without one is still a line. A line longer than
// settings_line_limit bytes throws cfg_line_error; a file longer than
// settings_size_limit bytes throws cfg_size_error, before anything is read
// when its size says so, else once that much is read (it may grow meanwhile).
std::vector<std::string> read_lines(FILE* file, const std::wstring& path) {
  const long long size = _filelengthi64(_fileno(file));
  if (size > 0 && static_cast<unsigned long long>(size) > settings_size_limit)
    throw cfg_size_error(path);
  std::vector<std::string> lines;
  std::size_t total = 0;
  std::string line;
  bool pending = false;
  const auto check_length = [&](std::size_t length) {
    if (length > settings_line_limit) throw cfg_line_error(path, lines.size() + 1);
  };
  char buffer[4096];
  for (;;) {
    const size_t count = fread(buffer, 1, sizeof(buffer), file);
    total += count;
    if (total > settings_size_limit) throw cfg_size_error(path);
    for (size_t i = 0; i < count; ++i) {
      if (buffer[i] == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        check_length(line.size());
        lines.push_back(std::move(line));
        line.clear();
        pending = false;
      } else {
        line.push_back(buffer[i]);
        pending = true;
        // One byte of room for a CR that an LF may still follow.
        check_length(line.size() - 1);
      }
    }
    if (count < sizeof(buffer)) break;
  }
  if (pending) {
    check_length(line.size());
    lines.push_back(std::move(line));
  }
  return lines;
}

std::unique_ptr<mapcfg>& settings_object() {
  static std::unique_ptr<mapcfg> object;
  return object;
}

}  // namespace

cfg_error::cfg_error(const std::string& key)
    : std::runtime_error(narrow_text(L"找不到配置项：") + key) {}

cfg_line_error::cfg_line_error(const std::wstring& path, std::size_t line)
    : std::runtime_error(narrow_text(L"配置文件 " + path + L" 第 " + std::to_wstring(line) +
                                     L" 行过长。")),
      line_(line) {}

cfg_size_error::cfg_size_error(const std::wstring& path)
    : std::runtime_error(narrow_text(L"配置文件 " + path + L" 过大，超过 " +
                                     std::to_wstring(settings_size_limit) + L" 字节。")) {}

cfgure::cfgure(const std::wstring& file_name)
    : folder_(folder_of(executable_path())),
      path_(folder_ + L"\\" + file_name),
      font_(CreateFontW(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0,
                        L"宋体")),
      brush_(CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0))) {}

cfgure::~cfgure() = default;

void cfgure::load() { open_shared(path_); }

void cfgure::reserved() {}

mapcfg::mapcfg(const std::wstring& file_name) : cfgure(file_name) {}

void mapcfg::load() {
  const unique_file file = open_shared(path());
  if (!file) return;
  for (const std::string& narrow_line : read_lines(file.get(), path())) {
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
  // Kept only once it has loaded: a load that throws leaves none, and the
  // next call tries again.
  auto loaded = std::make_unique<mapcfg>(file_name);
  loaded->load();
  object = std::move(loaded);
}

mapcfg* settings() { return settings_object().get(); }

void close_settings() { settings_object().reset(); }

void make_program_path(const cfgure& settings, std::wstring& file_name) {
  file_name = settings.folder() + L"\\" + file_name;
}

}  // namespace vemo
