#include "startup/init_toolkit.h"

#include "startup/program_texts.h"
#include "startup/system_libraries.h"
#include "vemo/image_dlg.h"
#include "vemo/program_instance.h"

namespace tessarel {

void init_toolkit(HINSTANCE instance) {
  if (vemo::program_instance) return;
  vemo::program_instance = instance;
  vemo::set_home_page_address(home_page_url);

  // One class group per call, as older common-control libraries expect.
  static constexpr DWORD groups[] = {
      ICC_ANIMATE_CLASS, ICC_BAR_CLASSES,      ICC_COOL_CLASSES, ICC_DATE_CLASSES,
      ICC_HOTKEY_CLASS,  ICC_PROGRESS_CLASS,   ICC_TAB_CLASSES,  ICC_TREEVIEW_CLASSES,
      ICC_UPDOWN_CLASS,  ICC_USEREX_CLASSES,   ICC_WIN95_CLASSES};
  for (const DWORD group : groups) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), group};
    init_common_controls(controls);
  }
}

}  // namespace tessarel
