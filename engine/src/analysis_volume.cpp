#include "analysis_volume.h"

#include "engine_state.h"

namespace dravik {

void analyse_volume(engine_state& engine, const analysis_turn& turn) {
  // TODO(analysis walk): clear the slot's cells, read its bitmap and free
  // runs, empty and refill its file lists while walking the tree, and write
  // the volume's page. Until then the volume is passed over as one whose
  // bitmap could not be read.
  static_cast<void>(engine);
  static_cast<void>(turn);
}

}  // namespace dravik
