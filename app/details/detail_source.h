#pragma once
// Where the lines of the detail list came from. The list keeps this with its
// lines, so a selection is answered from the line's own source and never from
// the view shown at the time: after a switch between the volume and the
// registry view the old lines may still be listed for a moment.

#include <string>

namespace tessarel {

enum class detail_kind {
  none,             // nothing to look up (an emptied list)
  volume_files,     // full paths of the files in a volume's map cell
  registry_issues,  // problem texts of the issues in a registry cell
};

struct detail_source {
  detail_kind kind = detail_kind::none;
  wchar_t letter = 0;   // volume_files: the volume's drive letter
  int block = -1;       // the clicked map block: the engine's cell or the registry cell
  int saved_code = -1;  // volume_files: the block's colour code before it was highlighted
};

// One selected line of the detail list: its full text, its position in the
// list and the source of the list's lines.
struct detail_line {
  std::wstring text;
  int position = 0;
  detail_source source;
};

}  // namespace tessarel
