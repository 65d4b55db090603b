#include "regscan/item_found.h"

#include "regscan/issue_store.h"
#include "regscan/scan_hooks.h"

namespace regscan {

void on_registry_item_found(const found_item* item) {
  if (item == nullptr) return;
  add_found_item(*item);
  store_group_state();
  scan_progress record;
  record.type = progress_scan;
  record.step = 0;
  record.text = item->key_path;
  send_progress(record);
}

}  // namespace regscan
