#pragma once

#include "regscan/found_item.h"

namespace regscan {

// The found-item hook the owner installs: stores the item in the next cell
// of the ring, writes that cell's code and sends a progress record (type 0,
// no step, the item's key path). Worker thread; a null item is ignored.
void on_registry_item_found(const found_item* item);

}  // namespace regscan
