#pragma once

#include "regscan/file_system_seam.h"

namespace regscan {

// The seam the existence checks use now.
const file_system_seam& current_file_system();

}  // namespace regscan
