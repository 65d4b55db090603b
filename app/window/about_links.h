#pragma once
// The about box's two links: the product's home page and its support
// address. User interface thread.

#include "vemo/about_dlg.h"

namespace tessarel {

// The home page link at (24, 157) and the mail link at (24, 180), each text
// followed by its address.
void init_about_links(vemo::about_dlg& about);

}  // namespace tessarel
