#include "details/block_lines.h"

#include "dravik/cell_colours.h"
#include "engine/file_details.h"
#include "regscan/issue_queries.h"
#include "vemo/text_conversion.h"

namespace tessarel {

namespace {
bool is_volume_cell(int block) { return block >= 0 && block < dravik::cells_per_volume; }
}  // namespace

void collect_cell_files(std::vector<std::wstring>& lines, const CellFileList& files) {
  lines.clear();
  lines.reserve(files.size());
  for (const char* path : files) {
    // The engine never stores a null path; reading one would crash the program.
    if (path != nullptr) lines.push_back(vemo::wide_text(path));
  }
}

void collect_block_lines(const detail_source& source, const engine_binding& binding,
                         std::vector<std::wstring>& lines) {
  lines.clear();
  switch (source.kind) {
    case detail_kind::volume_files: {
      // The engine keeps 1000 lists per volume and does not check the index.
      if (!is_volume_cell(source.block)) return;
      const CellFileList* files =
          binding.entry_points().get_volume_sector_files_list(source.letter, source.block);
      if (files != nullptr) collect_cell_files(lines, *files);
      return;
    }
    case detail_kind::registry_issues:
      if (source.block >= 0) {
        regscan::get_group_problems(static_cast<unsigned>(source.block), &lines);
      }
      return;
    case detail_kind::none:
      return;
  }
}

bool collect_item_lines(const detail_line& line, const engine_binding& binding,
                        std::vector<std::wstring>& lines) {
  lines.clear();
  switch (line.source.kind) {
    case detail_kind::volume_files:
      return show_file_details(binding, line.text, lines, line.source.saved_code);
    case detail_kind::registry_issues:
      if (line.source.block < 0 || line.position < 0) return false;
      return regscan::get_issue_details(static_cast<unsigned>(line.position),
                                        static_cast<unsigned>(line.source.block), &lines);
    case detail_kind::none:
      return false;
  }
  return false;
}

}  // namespace tessarel
