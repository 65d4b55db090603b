#pragma once
// Everything the engine keeps from load to unload, and the way to reach it.
//
// The members are built in the order they are declared when the library is
// loaded and destroyed in the reverse order when it is unloaded; the
// application object comes last, so its InitInstance sees everything else
// built and its ExitInstance runs before anything is torn down.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "cells/cell_file_lists.h"
#include "advanced/engine_advance.h"
#include "dravik/cell_colours.h"
#include "dravik/volume_info.h"
#include "dravik/working_status.h"
#include "core/engine_context.h"
#include "state/engine_globals.h"
#include "options/engine_options.h"
#include "state/option_values.h"
#include "volume/file_extent_query.h"
#include "defrag/optimize_set.h"
#include "core/zq_app.h"

namespace dravik {

struct engine_load_options {
  // The host executable whose folder is the application folder. Empty: the
  // executable of the running process. Tests name one in a folder of their
  // own so that the engine's data files stay there.
  std::string host_executable_path;
};

class Advance;
class Filter;

struct engine_state {
  explicit engine_state(engine_load_options load);
  ~engine_state();
  engine_state(const engine_state&) = delete;
  engine_state& operator=(const engine_state&) = delete;

  const engine_load_options load_options;
  engine_context context;
  volume_tables volumes;
  engine_globals globals;
  // The flags and the exclusion lists.
  option_values options;
  // What the options dialog and the flag exports work on.
  engine_option_state option_state;
  // What the advanced dialog works on.
  engine_advance_state advance_state;
  // The engine's dialogs, never null; they keep their values between
  // showings. User interface thread only.
  std::unique_ptr<Filter> filter_dialog;
  std::unique_ptr<Advance> advance_dialog;
  std::array<slot_file_lists, slot_count> file_lists;
  // The records the exports return, rewritten by each call of their export;
  // user interface thread.
  CellColorTable colour_table = {};
  WorkingStatus working_status = {};
  VolumeInfo volume_info = {};
  file_extent_query file_query;
  // The optimisation pass's files, recorded by the movers of an optimised
  // run and emptied after each volume. Defragmentation worker only.
  optimize_map optimize_set;
  CZQApp app;
};

// The loaded engine, or null. Set and cleared only by load_engine and
// unload_engine (engine_lifetime.h).
engine_state* current_engine() noexcept;

}  // namespace dravik
