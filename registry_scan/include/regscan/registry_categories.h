#pragma once
// The category table of the real registry: the seven phases and, per
// category, a deleter that takes the issue and accepts only what that
// category reports (a value deleter also requires its own category's key
// path), then judges the item again before it deletes it.

#include "regscan/category_table.h"

namespace regscan {

category_table registry_categories();

}  // namespace regscan
