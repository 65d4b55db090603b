#pragma once
// Everything the engine keeps from load to unload, and the way to reach it.
//
// The members are built in the order they are declared when the library is
// loaded and destroyed in the reverse order when it is unloaded; the
// application object comes last, so its InitInstance sees everything else
// built and its ExitInstance runs before anything is torn down.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "advanced/engine_advance.h"
#include "analysis/analysis_volume.h"
#include "cells/cell_file_lists.h"
#include "cells/cell_updates.h"
#include "core/zq_app.h"
#include "defrag/defrag_volume.h"
#include "defrag/move_work.h"
#include "defrag/optimize_set.h"
#include "dravik/cell_colours.h"
#include "dravik/volume_info.h"
#include "dravik/working_status.h"
#include "options/engine_options.h"
#include "reports/report_strings.h"
#include "state/engine_globals.h"
#include "state/job_control.h"
#include "state/option_values.h"
#include "state/status_feed.h"
#include "state/volume_tables.h"
#include "state/walk_state.h"
#include "volume/file_extent_query.h"
#include "volume/file_extents.h"
#include "volume/volume_work.h"

namespace dravik {

struct engine_state;

struct engine_load_options {
  // The host executable whose folder is the application folder. Empty: the
  // executable of the running process. Tests name one in a folder of their
  // own so that the engine's data files stay there.
  std::string host_executable_path;
};

class Advance;
class Filter;

// What the analysis worker does for each mapped letter in place of
// analyse_volume, when a test has installed one (install_analysis_step).
using analysis_step = std::function<void(engine_state&, const analysis_turn&)>;

struct engine_state {
  explicit engine_state(engine_load_options load);
  ~engine_state();
  engine_state(const engine_state&) = delete;
  engine_state& operator=(const engine_state&) = delete;

  const engine_load_options load_options;
  job_control job;
  status_feed status;
  volume_tables volumes;
  engine_globals globals;
  // The flags and the exclusion lists.
  option_values options;
  // The workers' scratch; worker thread only (and the loading thread at
  // load, for the bitmap and the geometry).
  volume_work work;
  extent_buffer extents;
  cell_cursor cursor;
  move_work mover;
  walk_state walk;
  // The texts of the volume or registry report being written.
  report_strings report_strings;
  // What the options dialog and the flag exports work on.
  engine_option_state option_state;
  // What the advanced dialog works on.
  engine_advance_state advance_state;
  // The engine's dialogs, never null; they keep their values between
  // showings. User interface thread only.
  std::unique_ptr<Filter> filter_dialog;
  std::unique_ptr<Advance> advance_dialog;
  // Set while the dialog's export shows it, so that a second call from
  // inside its loop is refused. User interface thread only.
  bool filter_dialog_open = false;
  bool advance_dialog_open = false;
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
  // A test's step in place of analyse_volume; empty: analyse_volume. Written
  // only while no run is active; the analysis worker reads it.
  analysis_step installed_step;
  // Tests' actions at two moments no other hook reaches; empty: none. Written
  // only while no run is active. after_stop_taken: the analysis worker of a
  // defragmentation job has taken the stop flag and is about to start the
  // defragmentation worker. selection_hook: DLL_SetCurrentVolume has found
  // no run active and is about to store the working volume.
  std::function<void(engine_state&)> after_stop_taken;
  std::function<void()> selection_hook;
  CZQApp app;
};

// The loaded engine, or null. Set and cleared only by load_engine and
// unload_engine (engine_lifetime.h).
engine_state* current_engine() noexcept;

// The engine's records as the analysis and the defragmentation of a volume
// take them.
analysis_volume_records analysis_records_of(engine_state& engine) noexcept;
defrag_volume_records defrag_records_of(engine_state& engine) noexcept;

}  // namespace dravik
