#pragma once
// The program's settings file "zq.ini" in the program folder: ANSI text, one
// entry per line, the key the line's first word and the value the rest of the
// line. There are no sections, comments or quoting; every line makes an entry
// (an empty line one with an empty key), and a key may stand on many lines,
// all kept in file order. User interface thread only.

#include <windows.h>

#include <cstddef>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "vemo/gdi_handles.h"

namespace vemo {

// A key the settings do not hold. The message is ANSI code page text:
// "找不到配置项：" immediately followed by the key.
class cfg_error : public std::runtime_error {
 public:
  explicit cfg_error(const std::string& key);
};

// The longest line the settings file may hold, in bytes without its line
// break.
constexpr std::size_t settings_line_limit = 64 * 1024;

// A line of the settings file longer than settings_line_limit. The message
// (ANSI code page) names the file and the line number, counted from 1.
class cfg_line_error : public std::runtime_error {
 public:
  cfg_line_error(const std::wstring& path, std::size_t line);
  std::size_t line() const { return line_; }

 private:
  std::size_t line_;
};

// The largest settings file, in bytes. Every line, an empty one too, costs
// an entry of some 70 to 100 bytes, so a file at the limit made of line
// breaks alone still fits a 32-bit process many times over.
constexpr std::size_t settings_size_limit = 1024 * 1024;

// A settings file larger than settings_size_limit. The message (ANSI code
// page) names the file.
class cfg_size_error : public std::runtime_error {
 public:
  explicit cfg_size_error(const std::wstring& path);
};

class cfgure {
 public:
  // The file is file_name in the program folder (the running executable's).
  explicit cfgure(const std::wstring& file_name);
  virtual ~cfgure();

  cfgure(const cfgure&) = delete;
  cfgure& operator=(const cfgure&) = delete;

  // Opens the file and closes it again.
  virtual void load();
  virtual void reserved();

  // Full path of the settings file.
  const std::wstring& path() const { return path_; }
  // The running executable's folder, without a trailing backslash.
  const std::wstring& folder() const { return folder_; }
  HFONT font() const { return font_.get(); }
  HBRUSH brush() const { return brush_.get(); }

 private:
  std::wstring folder_;
  std::wstring path_;
  gdi_object<HFONT> font_;
  gdi_object<HBRUSH> brush_;
};

class mapcfg : public cfgure {
 public:
  explicit mapcfg(const std::wstring& file_name);

  // Reads every line of the file into the entries (CR LF and LF both end a
  // line). A file that cannot be opened leaves them empty, without a report;
  // a line over settings_line_limit throws cfg_line_error, a file over
  // settings_size_limit cfg_size_error (both before any entry is kept).
  void load() override;

  // The first word of the key's first value. A value without a word leaves
  // value as it was. Throws cfg_error for a missing key; otherwise true.
  bool get(const std::string& key, std::wstring& value) const;

  // One element per value of the key, in file order, each read with the
  // element type's extraction operator from the value; an element is added
  // even when nothing could be read into it. Throws cfg_error, with values
  // left empty, for a missing key; otherwise true.
  template <class Element>
  bool get_all(const std::string& key, std::vector<Element>& values) const {
    const auto range = entries_.equal_range(key);
    values.clear();
    if (range.first == range.second) throw cfg_error(key);
    for (auto it = range.first; it != range.second; ++it) {
      std::wistringstream in(it->second);
      Element element{};
      in >> element;
      values.push_back(element);
    }
    return true;
  }

  // Key (ANSI, compared bytewise and case-sensitively) to value; equal keys
  // in file order.
  const std::multimap<std::string, std::wstring>& entries() const { return entries_; }

 private:
  std::multimap<std::string, std::wstring> entries_;
};

// Creates and loads the process's settings object for file_name, once; later
// calls change nothing, whatever the name. A load that throws
// (cfg_line_error, cfg_size_error) leaves no object, and a later call tries
// again.
void open_settings(const std::wstring& file_name);
// The process's settings object; null before open_settings and after
// close_settings.
mapcfg* settings();
// Deletes the settings object (at shut-down).
void close_settings();

// Replaces file_name with the program folder + "\" + file_name.
void make_program_path(const cfgure& settings, std::wstring& file_name);

}  // namespace vemo
