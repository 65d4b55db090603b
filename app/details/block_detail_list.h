#pragma once
// The list of what lies in the clicked map block: it shows the last path
// component of each line and keeps the full lines with their source. User
// interface thread only.

#include <optional>
#include <string>
#include <vector>

#include "details/detail_source.h"
#include "vemo/list_box_ex.h"

namespace tessarel {

class block_detail_list : public vemo::list_box_ex {
 public:
  block_detail_list() = default;
  ~block_detail_list() override = default;

  // Keeps lines and their source and lists the text after each line's last
  // backslash (the whole line without one). Empty lines empty the list. Needs
  // the window.
  void set_lines(std::vector<std::wstring> lines, const detail_source& source = {});

  // The full line selected in the list box with its position and source;
  // nothing when no line is selected.
  std::optional<detail_line> selected_line();

  const std::vector<std::wstring>& lines() const noexcept { return lines_; }
  const detail_source& source() const noexcept { return source_; }

 private:
  std::vector<std::wstring> lines_;
  detail_source source_;
};

}  // namespace tessarel
