#include "details/block_detail_list.h"

#include <utility>

#include "vemo/path_file_name.h"

namespace tessarel {

void block_detail_list::set_lines(std::vector<std::wstring> lines, const detail_source& source) {
  lines_ = std::move(lines);
  source_ = source;
  const HWND box = list().handle();
  const LRESULT count = SendMessageW(box, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) SendMessageW(box, LB_DELETESTRING, 0, 0);
  for (const std::wstring& line : lines_) {
    const std::wstring name = vemo::path_file_name(line);
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

std::optional<detail_line> block_detail_list::selected_line() {
  // A selection change can also end with no line selected (LB_ERR), and the
  // list box is not ours alone: check the index against the lines kept.
  const LRESULT index = SendMessageW(list().handle(), LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= lines_.size()) return std::nullopt;
  return detail_line{lines_[static_cast<std::size_t>(index)], static_cast<int>(index), source_};
}

}  // namespace tessarel
